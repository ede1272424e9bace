#pragma once

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

// With NUTRISOR_SCREENSHOTS set to a directory: saves `widget` there as
// "<prefix><test name><suffix>.png", so a test run can be looked at.
inline void saveScreenshot(QWidget *widget, const QString &prefix, const QString &suffix = {})
{
    const QString shots = qEnvironmentVariable("NUTRISOR_SCREENSHOTS");
    if (shots.isEmpty() || !widget)
        return;
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    widget->grab().save(shots + QLatin1Char('/') + prefix + QString::fromUtf8(info->name())
                        + suffix + QStringLiteral(".png"));
}

// The child of `parent` with the given object name; a missing one fails the test.
template<typename T>
T *namedChild(const QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}
