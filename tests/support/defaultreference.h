#pragma once

#include "core/data/reference/referencedatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// Opens `database` on a new reference database made from the built-in defaults in
// `directory`, as a first start makes it.
inline void openDefaultReference(const QTemporaryDir &directory, ReferenceDatabase &database)
{
    ASSERT_TRUE(directory.isValid());
    const QString path = directory.filePath(QStringLiteral("referencia.sqlite"));
    QString error;
    ASSERT_TRUE(ReferenceDatabase::createFromDefaults(path, &error)) << qPrintable(error);
    ASSERT_TRUE(database.open(path, &error)) << qPrintable(error);
}
