#pragma once

#include <QDialog>
#include <QString>

class Messenger;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class ReferenceDatabase;

// The window "Tápanyag kijuttatásásnak megosztása": the rules by which a crop's N, P and K
// dose is split between autumn and spring, per site category and plasticity band. Every
// change goes to the table at once; there is nothing to save at closing. The grid shows
// the rules in the order the split lookup reads them, and the list follows the table
// whoever writes it (this window, the crop editor behind "+").
class SplitEditor final : public QDialog
{
    Q_OBJECT

public:
    SplitEditor(Messenger &messenger, ReferenceDatabase &reference, QWidget *parent = nullptr);

    // Whether "+" may open the crop species editor.
    void setAddCropEnabled(bool enabled);
    // The Novid of the chosen crop; empty until one is chosen.
    QString chosenCropId() const;

    // "Új sor": the panel for a new rule, emptied, over the grid.
    void openNewRule();
    // "Rögzít": adds the rule when every box is empty or a whole number in its range;
    // otherwise the first failing box gets the focus and nothing is written.
    void storeNewRule();
    // "Sor törlése": deletes the marked rule after the question.
    void deleteMarkedRule();
    // "Fejlesztői beállítás": the chosen crop's rules from the default copy, after the question.
    void restoreDefaults();

signals:
    // "+": the user wants to add a crop species.
    void addCropRequested();

private:
    void buildControls();
    void buildRulePanel();
    void reloadCrops();
    void showRules();
    void updateButtons();
    void showDatabaseError(const QString &error);

    Messenger &m_messenger;
    ReferenceDatabase &m_reference;

    QComboBox *m_cropCombo = nullptr;
    QPushButton *m_addCropButton = nullptr;
    QTableWidget *m_rulesGrid = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QPushButton *m_newRuleButton = nullptr;
    QPushButton *m_deleteRuleButton = nullptr;

    QGroupBox *m_rulePanel = nullptr;
    QComboBox *m_siteCategoryCombo = nullptr;
    QLineEdit *m_autumnNEdit = nullptr;
    QLineEdit *m_autumnPEdit = nullptr;
    QLineEdit *m_autumnKEdit = nullptr;
    QLineEdit *m_kaEdit = nullptr;
    QLineEdit *m_maxNEdit = nullptr;
    QPushButton *m_cancelRuleButton = nullptr;
    QPushButton *m_storeRuleButton = nullptr;
};
