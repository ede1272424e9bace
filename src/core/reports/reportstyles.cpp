#include "core/reports/reportstyles.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

ReportStyles::ReportStyles(const QString &head, const QFont &font)
    : m_head(head)
    , m_font(font)
{ }

const ReportStyles::Look &ReportStyles::look(const QString &markup)
{
    auto it = m_looks.find(markup);
    if (it != m_looks.end())
        return *it;
    QTextDocument document;
    document.setDefaultFont(m_font);
    document.setHtml(m_head + markup + QStringLiteral("</body></html>"));
    Look look;
    const QTextCursor cursor = document.find(QStringLiteral("x"));
    if (!cursor.isNull()) {
        // the font as the document resolved it (a heading's size is relative to the
        // document's font), so that a bare text layout draws it the same
        look.chars = cursor.charFormat();
        const QFont font = look.chars.font();
        look.chars.clearProperty(QTextFormat::FontSizeAdjustment);
        look.chars.setFont(font);
        look.block = cursor.blockFormat();
        if (const QTextTable *table = cursor.currentTable()) {
            look.table = table->format();
            look.cell = table->cellAt(cursor).format().toTableCellFormat();
        }
    }
    return *m_looks.insert(markup, look);
}

int ReportStyles::formatIndex(const QTextCharFormat &format)
{
    const qsizetype at = m_formats.indexOf(format);
    if (at >= 0)
        return int(at);
    m_formats.append(format);
    return int(m_formats.size() - 1);
}

QString ReportStyles::closingTags(const QString &openingTags)
{
    QString closing;
    qsizetype at = 0;
    while ((at = openingTags.indexOf(u'<', at)) >= 0) {
        qsizetype end = at + 1;
        while (end < openingTags.size() && openingTags.at(end).isLetterOrNumber())
            ++end;
        closing.prepend(QStringLiteral("</") + openingTags.mid(at + 1, end - at - 1) + u'>');
        at = end;
    }
    return closing;
}
