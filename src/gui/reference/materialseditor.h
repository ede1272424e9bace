#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <QVariantMap>

class Messenger;
class QLineEdit;
class QPushButton;
class QTableWidget;
class ReferenceDatabase;

// The window "Tápanyagok rögzítése, módosítása": the listed fertiliser materials and the
// active-ingredient content of the one marked, in per cent. The boxes hold what is typed
// until "Rögzítés"; choosing another material or closing the window with something typed
// and not stored asks whether to store it first. "+" adds a material through the dialog
// "Új tápanyag hozzáadása", "-" marks the chosen one deleted.
class MaterialsEditor final : public QDialog
{
    Q_OBJECT

public:
    MaterialsEditor(Messenger &messenger, ReferenceDatabase &reference, QWidget *parent = nullptr);

    // The Anyagid of the material the boxes show; 0 for none.
    qint64 shownId() const { return m_shownId; }
    // The twelve content boxes and the further ingredient's name, as typed.
    QStringList boxTexts() const;
    bool hasUnsavedChanges() const { return m_shownId != 0 && boxTexts() != m_shownTexts; }

    // "Rögzítés": stores the boxes, then asks whether to go on with another material; "Nem"
    // closes the window. A box that is not a number is refused and nothing is stored.
    void storeAndAsk();
    // "-": marks the shown material deleted after the question.
    void deleteShownMaterial();
    // "+": the dialog for a new material, which is then listed and shown.
    void addMaterial();
    // Reads the list again and marks the material `anyagid` (a new one), as choosing it does.
    void listNewMaterial(qint64 anyagid);

    // Closing with unstored edits asks first; "Mégsem" keeps the window open.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void reloadList();
    int rowOf(qint64 anyagid) const;
    void showMaterial(int row);
    void chooseRow(int row);
    // Puts the mark back on the shown material, after the press that moved it is over.
    void markShownLater();
    // Stores the boxes into the shown material; false (after saying why) when refused.
    bool store();
    // The question about unstored edits; true when the caller may go on.
    bool confirmLeave();
    void updateButtons();

    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    QList<QVariantMap> m_materials; // in the order of the grid
    qint64 m_shownId = 0;
    QStringList m_shownTexts; // the box texts as last shown or stored
    bool m_ignoreMarks = false; // the grid is being filled or its mark put back

    QTableWidget *m_materialGrid = nullptr;
    QPushButton *m_addMaterialButton = nullptr;
    QPushButton *m_deleteMaterialButton = nullptr;
    QList<QLineEdit *> m_contentEdits; // in the order of Materials::contentFields()
    QLineEdit *m_otherNameEdit = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_storeButton = nullptr;
};
