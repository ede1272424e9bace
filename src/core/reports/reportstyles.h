#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextFormat>

// What a report's style sheet makes of each piece of its markup, asked of Qt's own HTML
// reader: a page with the report's head and the piece around one "x" is read, and the
// formats of that x are kept, each piece once.
class ReportStyles
{
public:
    struct Look
    {
        QTextCharFormat chars; // its font as the document resolved it
        QTextBlockFormat block;
        QTextTableCellFormat cell;
        QTextTableFormat table;
    };

    // head: the report up to its <body> tag; font: the document's default font.
    ReportStyles(const QString &head, const QFont &font);

    // `markup`: a body holding one "x"; the look of that x.
    const Look &look(const QString &markup);
    // A small number for each distinct character format.
    int formatIndex(const QTextCharFormat &format);

    // "</sub></b>" for "<b><sub>".
    static QString closingTags(const QString &openingTags);

private:
    QString m_head;
    QFont m_font;
    QHash<QString, Look> m_looks;
    QList<QTextCharFormat> m_formats;
};
