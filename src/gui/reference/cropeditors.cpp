#include "gui/reference/cropeditors.h"

#include "gui/reference/cropnamesdialog.h"
#include "gui/reference/needtabledialog.h"

#include <QWidget>

CropEditors::CropEditors(Messenger &messenger, ReferenceDatabase &reference, QWidget *window)
    : QObject(window)
    , m_messenger(messenger)
    , m_reference(reference)
    , m_window(window)
{
}

void CropEditors::openCropSpecies(QWidget *over)
{
    CropNamesDialog dialog(m_messenger, m_reference, over ? over : m_window->window());
    dialog.exec();
}

void CropEditors::openSpecificNeeds()
{
    NeedTableDialog dialog(m_messenger, m_reference, m_window->window());
    connect(&dialog, &NeedTableDialog::addCropRequested, this,
            [this, &dialog] { openCropSpecies(&dialog); });
    dialog.exec();
}
