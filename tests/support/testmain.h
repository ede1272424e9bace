#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

// Runs the tests of a program inside an `Application` (offscreen unless the environment
// names another platform), after `prepare` when one is given.
template<typename Application>
int runTests(int argc, char **argv, void (*prepare)(Application &) = nullptr)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    if (prepare)
        prepare(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
