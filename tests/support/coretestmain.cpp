// Shared main of every core test program: a QGuiApplication, for the event loop and the
// fonts and text layout the reports use; no widgets.
#include "support/testmain.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    return runTests<QGuiApplication>(argc, argv);
}
