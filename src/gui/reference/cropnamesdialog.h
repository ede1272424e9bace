#pragma once

#include <QDialog>

class Messenger;
class QLineEdit;
class QListWidget;
class QPushButton;
class ReferenceDatabase;

// "Új növény rögzítése": the crop species of Nov. A crop is added under a fresh id, renamed
// (its id and so every reference to it stays), or deleted with its specific-need and split
// rows. "Törlés" and "Módosítás" act on the crop marked in the list and wait until one is
// marked. A successful add closes the dialog; everything else leaves it open.
class CropNamesDialog final : public QDialog
{
    Q_OBJECT

public:
    CropNamesDialog(Messenger &messenger, ReferenceDatabase &reference,
                    QWidget *parent = nullptr);

    // "Rögzítés": adds a crop with the name as typed; closes the dialog when it is added.
    void addCrop();
    // "Módosítás": renames the marked crop after a question.
    void renameCrop();
    // "Törlés": deletes the marked crop with its rows after a question.
    void deleteCrop();

    // The id of the crop the last add created; empty when none was added.
    QString addedCropId() const { return m_addedCropId; }

private:
    void buildControls();
    void reloadCrops();
    QString markedCropId() const;
    void showMarking();

    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    QString m_addedCropId;

    QListWidget *m_cropList = nullptr;
    QPushButton *m_deleteCropButton = nullptr;
    QPushButton *m_renameCropButton = nullptr;
    QLineEdit *m_cropNameEdit = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_addCropButton = nullptr;
};
