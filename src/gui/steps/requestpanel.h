#pragma once

#include "core/plan/fieldimport.h"

#include <QGroupBox>

#include <memory>

class TextTableModel;
class FarmTable;
class Messenger;
class Plan;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

// The data request "Adatkérés" of step 2: lists the active fields or parcels of the farm
// database and copies the chosen one with its soil samples into the plan ("Lekérés"). It
// lies over the top left corner of the step-2 panel while it is shown. The panel owns the
// farm table it lists; the table stays open until the farm directory changes.
class RequestPanel final : public QGroupBox
{
    Q_OBJECT

public:
    RequestPanel(Plan &plan, Messenger &messenger, QWidget *parent = nullptr);
    ~RequestPanel() override;

    // The farm directory; a change closes the table listed so far.
    void setFarmDirectory(const QString &directory);
    QString farmDirectory() const { return m_farmDirectory; }

    // "Adatlekérés": shows the directory, goes back to the fields and lists them when the
    // directory holds them (otherwise the list stays empty), then shows the panel on top.
    void open();

    FarmRecordKind mode() const { return m_mode; }
    // True when a farm table is open (it may still be empty).
    bool hasRecords() const { return m_table != nullptr; }

    // "Lekérés": imports the selected record; reports instead when there is nothing to take.
    void fetchSelected();

signals:
    // "Beálítás": the user wants to choose the farm directory.
    void dataLocationRequested();
    // A field or parcel was copied into the plan.
    void fieldImported();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    // Opens the table of `kind` when the directory holds it; false (and nothing changed)
    // otherwise.
    bool switchTo(FarmRecordKind kind);
    // Lists the records of the open table (none without one) under the columns of `kind`.
    void listRecords(FarmRecordKind kind);
    void closeTable();
    void showMode();

    Plan &m_plan;
    Messenger &m_messenger;
    QString m_farmDirectory;
    FarmRecordKind m_mode = FarmRecordKind::Fields;
    std::unique_ptr<FarmTable> m_table;

    QLineEdit *m_sourceEdit = nullptr;
    QRadioButton *m_fieldsModeButton = nullptr;
    QRadioButton *m_parcelsModeButton = nullptr;
    QTableView *m_recordList = nullptr;
    TextTableModel *m_recordModel = nullptr;
    QPushButton *m_settingsButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_fetchButton = nullptr;
};
