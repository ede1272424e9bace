#include "gui/reference/cropeditors.h"

#include "gui/reference/cropspeciesdialog.h"
#include "gui/reference/specificneeddialog.h"

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
    CropSpeciesDialog dialog(m_messenger, m_reference, over ? over : m_window->window());
    dialog.exec();
}

void CropEditors::openSpecificNeeds()
{
    SpecificNeedDialog dialog(m_messenger, m_reference, m_window->window());
    connect(&dialog, &SpecificNeedDialog::addCropRequested, this,
            [this, &dialog] { openCropSpecies(&dialog); });
    dialog.exec();
}
