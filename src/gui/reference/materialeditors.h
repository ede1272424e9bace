#pragma once

#include <QObject>
#include <QPointer>

class Messenger;
class QAction;
class QWidget;
class ReferenceDatabase;

// Opens the split editor ("Kijuttatás megosztása") and the materials editor ("Termésnövelő
// anyagok") for the menu and for step 5's "+". Each editor is made when it is opened, shown
// modally over the window and destroyed when it closes. The lists that show the edited
// tables follow the reference database's change notice, so nothing needs refreshing here.
class MaterialEditors final : public QObject
{
    Q_OBJECT

public:
    MaterialEditors(Messenger &messenger, ReferenceDatabase &reference, QWidget *window);

    // The menu entry of the crop species editor, which the split editor's "+" triggers; the
    // "+" is offered only while the entry is enabled.
    void setCropEditorAction(QAction *action) { m_cropEditorAction = action; }

    void openSplitEditor();
    void openMaterialsEditor();

private:
    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    QWidget *m_window;
    QPointer<QAction> m_cropEditorAction;
};
