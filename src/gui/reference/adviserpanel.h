#pragma once

#include "core/data/reference/adviserrecord.h"
#include "gui/ui/movablebox.h"

class Messenger;
class QCheckBox;
class QLineEdit;
class QPushButton;
class ReferenceDatabase;

// The panel "Szaktanácsadó adatai" on the main window's surface: the adviser's details that
// every plan report and the cover sheet print. The edits hold what the user types until
// "Rögzítés" stores it in the reference database; "Mégsem" closes the panel and drops what
// was typed, so the next opening shows the stored details again. The panel prints nothing
// itself: "Fedlap nyomtatása" asks for the cover sheet of the stored details.
class AdviserPanel final : public MovableBox
{
    Q_OBJECT

public:
    AdviserPanel(Messenger &messenger, ReferenceDatabase &reference, QWidget *parent = nullptr);

    // Fills the controls with the stored details, shows the panel and brings it to the front;
    // an open panel only comes to the front, keeping what is typed. When the details cannot
    // be read the panel says so and stays closed (false).
    bool open();
    // "Rögzítés": stores the controls' values and closes the panel; on failure it says why
    // and stays open with the values as typed.
    bool store();
    // "Mégsem": closes the panel without storing.
    void cancel();
    // Closes the panel for another box: values typed but not stored are offered for storing
    // first. False when the user chose to stay ("Mégsem") or storing failed.
    bool leave();
    // "Fedlap nyomtatása": asks for the cover sheet. Values typed but not stored are offered
    // for storing first, as the cover sheet prints the stored details.
    void printCoverSheet();

    // The details as the controls hold them.
    AdviserRecord record() const;
    bool hasUnsavedChanges() const { return record() != m_stored; }

signals:
    // The panel was closed, by "Rögzítés", "Mégsem" or leave().
    void closed();
    // The cover sheet of the stored details is to be printed.
    void coverSheetRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void showRecord(const AdviserRecord &record);
    bool storeRecord();

    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    AdviserRecord m_stored; // as read or last stored

    QLineEdit *m_adviserNameEdit = nullptr;
    QLineEdit *m_adviserPostCodeEdit = nullptr;
    QLineEdit *m_adviserTownEdit = nullptr;
    QLineEdit *m_adviserAddressEdit = nullptr;
    QLineEdit *m_adviserPhoneEdit = nullptr;
    QLineEdit *m_adviserFaxEdit = nullptr;
    QLineEdit *m_adviserEmailEdit = nullptr;
    QLineEdit *m_adviserIdentifierEdit = nullptr;
    QLineEdit *m_adviserOrganisationEdit = nullptr;
    QCheckBox *m_showAdviserBox = nullptr;
    QPushButton *m_storeAdviserButton = nullptr;
    QPushButton *m_cancelAdviserButton = nullptr;
    QPushButton *m_coverSheetButton = nullptr;
};
