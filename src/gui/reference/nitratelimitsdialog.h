#pragma once

#include <QDialog>
#include <QString>

class Messenger;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class ReferenceDatabase;

// The window "Nitrátérzékeny terület N-korlátai": the largest yearly N dose of the chosen
// crop by site category and N supply level, a plain grid in which the doses are edited in
// place. Every change goes to the table at once; "Fejlesztői beállítás" puts the built-in
// limits of every crop back after a question.
class NitrateLimitsDialog final : public QDialog
{
    Q_OBJECT

public:
    NitrateLimitsDialog(
        Messenger &messenger, ReferenceDatabase &reference, QWidget *parent = nullptr);

    // Made, shown modally over `parent` and destroyed when it closes.
    static void open(Messenger &messenger, ReferenceDatabase &reference, QWidget *parent);

    QString chosenCropId() const;
    // "Hozzáad": a limit for the site category and level chosen under the grid.
    void addLimit();
    // "Sor törlése": the marked row, after the question.
    void deleteMarkedRow();
    void restoreDefaults();

private:
    void buildControls();
    void showLimits();
    void storeEditedLimit(int row);
    void showError(const QString &error);

    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    QComboBox *m_cropCombo = nullptr;
    QTableWidget *m_limitsGrid = nullptr;
    QComboBox *m_siteCategoryCombo = nullptr;
    QComboBox *m_levelCombo = nullptr;
    QLineEdit *m_maxNEdit = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};
