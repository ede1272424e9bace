#pragma once

#include <QObject>

class Messenger;
class QWidget;
class ReferenceDatabase;

// Opens the crop editors: the crop species ("Növényfajok") and their specific need
// ("Növények tápanyagigénye"). The menu entries and the buttons of step 3 and of the need
// editor all come here. Each editor is made when it is opened, shown modally over `window`
// and destroyed when it closes; the lists that show its tables follow the database's
// change notices by themselves.
class CropEditors final : public QObject
{
    Q_OBJECT

public:
    CropEditors(Messenger &messenger, ReferenceDatabase &reference, QWidget *window);

    // `over`: the window the editor opens over, the main window when none is given.
    void openCropSpecies(QWidget *over = nullptr);
    void openSpecificNeeds();

private:
    Messenger &m_messenger;
    ReferenceDatabase &m_reference;
    QWidget *m_window;
};
