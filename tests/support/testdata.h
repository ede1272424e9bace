#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

// The bytes of a file under tests/data, e.g. "planfile/known-plan.tap"; a missing file fails
// the test.
inline QByteArray testData(const QString &relativePath)
{
    QFile file(QStringLiteral(NUTRISOR_TEST_DATA_DIR "/") + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << qPrintable(file.fileName());
        return {};
    }
    return file.readAll();
}
