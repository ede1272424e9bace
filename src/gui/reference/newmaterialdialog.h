#pragma once

#include <QDialog>

class Messenger;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ReferenceDatabase;

// The dialog "Új tápanyag hozzáadása": a new material by its name and whether it is solid
// (kg) or liquid (l). "Rögzítés" writes the material with a fresh id and no content, or says
// why it cannot (no name, a name already listed) and stays open.
class NewMaterialDialog final : public QDialog
{
    Q_OBJECT

public:
    NewMaterialDialog(
        Messenger &messenger, ReferenceDatabase &reference, QWidget *parent = nullptr);

    // "Rögzítés": writes the material and closes; false when refused.
    bool store();
    // The Anyagid of the material written; 0 while none is.
    qint64 createdId() const { return m_createdId; }

private:
    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    qint64 m_createdId = 0;

    QLineEdit *m_nameEdit = nullptr;
    QRadioButton *m_solidButton = nullptr;
    QRadioButton *m_liquidButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_storeButton = nullptr;
};
