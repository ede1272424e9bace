#pragma once

#include "core/leaf/leafregister.h"

#include <QGroupBox>
#include <QList>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The entry panel "  Levélanalízis eredmény rögzítés  ": the boxes of one leaf-sample result,
// the species list with the chosen species' best sampling period, "mégsem" and "rögzítés".
class LeafEntryPanel final : public QGroupBox
{
    Q_OBJECT

public:
    explicit LeafEntryPanel(QWidget *parent = nullptr);

    void setSpecies(const QList<LeafSpecies> &species);
    // Fills the boxes; an entry without species leaves the list unchosen.
    void showEntry(const LeafEntry &entry);
    LeafEntry entry() const;
    // Whether the boxes differ from what showEntry() put there.
    bool isChanged() const;

signals:
    void storeRequested();
    void cancelRequested();

private:
    void showOptimalPeriod();

    QList<LeafSpecies> m_species;
    QLineEdit *m_nameEdit = nullptr;
    QLineEdit *m_laboratoryEdit = nullptr;
    QLineEdit *m_sampleMarkEdit = nullptr;
    QDateEdit *m_dateEdit = nullptr;
    QLineEdit *m_blockEdit = nullptr;
    QLineEdit *m_fieldSerialEdit = nullptr;
    QLineEdit *m_farmingYearEdit = nullptr;
    QLineEdit *m_areaEdit = nullptr;
    QComboBox *m_speciesCombo = nullptr;
    QLabel *m_optimalPeriodLabel = nullptr;
    QCheckBox *m_atHarvestBox = nullptr;
    QList<QLineEdit *> m_contentEdits; // N, P, K, Ca, Mg
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_storeButton = nullptr;
    LeafEntry m_shown;
};
