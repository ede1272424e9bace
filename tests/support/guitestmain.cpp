// Shared main of every GUI test program: a QApplication, for widgets, their event loop and
// fonts.
#include "support/testmain.h"

#include <QApplication>

int main(int argc, char **argv)
{
    return runTests<QApplication>(argc, argv);
}
