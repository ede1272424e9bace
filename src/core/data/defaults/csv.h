#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The text tables the default reference data ship in: UTF-8, one row a line, cells separated
// by semicolons, a header row of field names. A cell may be written in double quotes to hold
// a semicolon, a line break or (doubled) a quote; no cell of the shipped files needs more.
namespace Csv {

struct Table
{
    QStringList header;
    QList<QStringList> rows;
    QList<int> lineNumbers; // the line (from 1) each row starts on, for messages
};

// Reads the whole text. Blank lines are skipped; every row must have as many cells as the
// header. No value, and a text naming the line, when the text breaks these rules.
std::optional<Table> parse(const QString &text, QString *error = nullptr);

} // namespace Csv
