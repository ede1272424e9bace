#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <variant>

// A filled report's body read as the plain flow the report designs are made of: headings and
// paragraphs, and tables of cells holding one paragraph of text each. Every piece keeps the
// markup it was opened with (tag and attributes), so that its look can be asked of Qt's own
// HTML reader with the page's style sheet. Anything else (lists, images, nested tables, boxes,
// comments, unknown entities) is not read: the report is then laid out by QTextDocument.
struct ReportMarkup
{
    // A piece of text and the inline tags around it, outermost first ("<b><sub>"). A line
    // break (<br>) is U+2028 in the text.
    struct Run
    {
        QString text;
        QString inlineTags;
    };
    using Runs = QList<Run>;

    // A heading, a paragraph, or text standing in the body (empty tag).
    struct Block
    {
        QString tag;
        Runs runs;
    };

    struct Cell
    {
        QString tag; // "<td ...>" or "<th ...>", without colspan and rowspan
        int row = 0;
        int column = 0;
        int rowSpan = 1;
        int columnSpan = 1;
        QString width; // the width attribute as written
        Runs runs;
    };

    struct Table
    {
        QString tag;
        int rows = 0;
        int columns = 0;
        int headerRows = 0; // the rows of <thead>
        QList<Cell> cells; // row by row
    };

    using Item = std::variant<Block, Table>;

    // The markup up to and including the <body> tag: the head with the style sheet (empty
    // for a bare fragment).
    QString head;
    QList<Item> items;

    static std::optional<ReportMarkup> read(const QString &html);

    // Where the body of `html` starts, right after its <body> tag; -1 without one.
    static qsizetype bodyStart(const QString &html);
    // Whether the markup from `from` on holds comments, scripts, styles or preformatted
    // text, whose insides are not markup to be read or cut as such.
    static bool hasRawText(const QString &html, qsizetype from);
};
