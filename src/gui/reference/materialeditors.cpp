#include "gui/reference/materialeditors.h"

#include "gui/reference/materialseditor.h"
#include "gui/reference/spliteditor.h"

#include <QAction>
#include <QWidget>

MaterialEditors::MaterialEditors(
    Messenger &messenger, ReferenceDatabase &reference, QWidget *window)
    : QObject(window)
    , m_messenger(messenger)
    , m_reference(reference)
    , m_window(window)
{ }

void MaterialEditors::openSplitEditor()
{
    SplitEditor editor(m_messenger, m_reference, m_window->window());
    editor.setAddCropEnabled(m_cropEditorAction && m_cropEditorAction->isEnabled());
    connect(&editor, &SplitEditor::addCropRequested, this, [this] {
        if (m_cropEditorAction)
            m_cropEditorAction->trigger();
    });
    editor.exec();
}

void MaterialEditors::openMaterialsEditor()
{
    MaterialsEditor editor(m_messenger, m_reference, m_window->window());
    editor.exec();
}
