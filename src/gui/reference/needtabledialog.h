#pragma once

#include "core/data/reference/needtable.h"

#include <QDialog>

class Messenger;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class ReferenceDatabase;

// "Növények fajlagos tápanyagigénye (kg/t)": the specific need of one crop and one element
// (N, P or K) per site category and supply level, in kg per tonne of yield. The grid is a
// copy: cells are edited in place, rows added ("Új sor") and removed ("Sor törlés"), and only
// "Rögzítés" writes it back, after every cell has been checked. Edits not written are offered
// for storing before another crop or element is shown and before the dialog closes. The
// commands wait until the user has chosen a crop; the dialog opens with none chosen.
class NeedTableDialog final : public QDialog
{
    Q_OBJECT

public:
    NeedTableDialog(Messenger &messenger, ReferenceDatabase &reference,
                    QWidget *parent = nullptr);

    // Shows the rows of the chosen crop and element, dropping what the grid held.
    void query();
    // "Rögzítés": checks the grid and replaces the stored rows with it; false when a cell
    // is bad or the database refused, and then nothing is written.
    bool store();
    // "Fejlesztői beállítás": the built-in rows of the chosen crop, every element, after a
    // question.
    void restoreDefaults();
    // "Új sor": the panel for a site category the grid lacks.
    void openNewRowPanel();
    // "Hozzáad" of the panel: the typed row joins the grid.
    void addNewRow();
    // "Sor törlés": the marked grid row leaves the grid.
    void deleteRow();

    // The grid as the user left it, and whether it differs from what is stored.
    QList<NeedTable::Row> gridRows() const;
    bool hasUnsavedChanges() const;
    QString shownCropId() const { return m_shownCrop; }

    void reject() override;

signals:
    // "+": the user wants to add a crop.
    void addCropRequested();

private:
    void buildControls();
    void buildNewRowPanel();
    void reloadCrops();
    void chooseCrop(int index);
    void chooseElement(int index);
    // Unsaved edits are stored or dropped as the user answers; false to stay.
    bool leaveEdits();
    void showRows(const QList<NeedTable::Row> &rows);
    void updateCommands();
    QString elementCode() const;

    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    QString m_shownCrop; // the crop the grid belongs to, empty before a crop is chosen
    int m_shownElement = 0;
    QList<NeedTable::Row> m_storedRows; // as read for the shown crop and element

    QComboBox *m_cropBox = nullptr;
    QPushButton *m_addCropButton = nullptr;
    QComboBox *m_elementBox = nullptr;
    QTableWidget *m_needGrid = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_restoreDefaultsButton = nullptr;
    QPushButton *m_newRowButton = nullptr;
    QPushButton *m_deleteRowButton = nullptr;
    QPushButton *m_storeButton = nullptr;

    QGroupBox *m_newRowPanel = nullptr;
    QComboBox *m_siteCategoryBox = nullptr;
    QLabel *m_newRowCaption = nullptr;
    QTableWidget *m_newRowGrid = nullptr;
    QPushButton *m_cancelNewRowButton = nullptr;
    QPushButton *m_addRowButton = nullptr;
};
