#pragma once

#include "core/purchase/purchaselist.h"
#include "gui/ui/movablebox.h"

#include <functional>

class FileChooser;
class Messenger;
class QListWidget;
class QPushButton;
class QTableView;
class ReportDocument;
class TextTableModel;

// The box "Vásárlás tervezés" of the main window: what to buy for the plans the user
// chooses, one total per material, with the plans that could and could not be read. Each
// plan file is read on its own, so the plan open in the window stays exactly as it was.
// The box hides and empties when the focus moves to another control of the window; its own
// dialogs (the print preview and what it opens) do not count.
class PurchaseBox final : public MovableBox
{
    Q_OBJECT

public:
    static QString fileFilter()
    {
        return QStringLiteral("Tápanyag-gazdálkodási terv (*.tap)|*.tap");
    }

    PurchaseBox(Messenger &messenger, FileChooser &fileChooser, const QString &startDirectory,
        QWidget *parent = nullptr);

    void setFileChooser(FileChooser &fileChooser) { m_fileChooser = &fileChooser; }
    // Tests look at the printout here instead of the print preview.
    void setReportViewer(std::function<void(const ReportDocument &)> viewer)
    {
        m_reportViewer = std::move(viewer);
    }

    // "Tervkészítés" → "Vásárlás tervezés": asks for the plan files, sums them and shows the
    // box; cancelling the dialog shows nothing.
    void planPurchases();
    // "Nyomtatás": the Osszesites report in the print preview.
    void printList();
    // "Bezárás": hides the box and empties the result.
    void closeBox();

    const PurchaseList &purchaseList() const { return m_list; }

private:
    void showList();
    void hideWhenFocusLeaves(QWidget *old, QWidget *now);

    Messenger &m_messenger;
    FileChooser *m_fileChooser;
    QString m_startDirectory;
    PurchaseList m_list;
    std::function<void(const ReportDocument &)> m_reportViewer;
    TextTableModel *m_model = nullptr;
    QTableView *m_grid = nullptr;
    QListWidget *m_readList = nullptr;
    QListWidget *m_failedList = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_printButton = nullptr;
};
