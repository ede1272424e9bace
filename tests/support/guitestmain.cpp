// Shared main of every GUI test program: a QApplication, for widgets, their event loop and
// fonts, set up as the program sets itself up (Hungarian Qt dialogs, Tahoma).
#include "gui/app/startup.h"
#include "support/testmain.h"

#include <QApplication>

int main(int argc, char **argv)
{
    return runTests<QApplication>(argc, argv, &prepareApplication);
}
