#pragma once

#include <QString>

class QTextDocument;

// Writes a report as plain text that still reads as the printed page: each paragraph on
// its own line (line breaks kept), list items with their marks, horizontal rules as a row
// of dashes, and tables as rows of columns padded to the widest cell, two blanks apart,
// numbers and other right-aligned cells flush right and header rows underlined.
class PlainTextWriter
{
public:
    // Lines end in "\n"; trailing blanks are cut.
    static QString toPlainText(const QTextDocument &document);
};
