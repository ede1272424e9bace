#include "core/reports/reportmarkup.h"

#include <QHash>
#include <QRegularExpression>

namespace {

constexpr QChar lineSeparator(0x2028);

struct Tag
{
    QString name; // lower case
    bool closing = false;
    QString text; // as written, attributes included
    QHash<QString, QString> attributes;
};

const QRegularExpression &attributePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        "([A-Za-z_:][-A-Za-z0-9_:.]*)(?:\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s\"'>]+)))?"));
    return pattern;
}

Tag readTag(QStringView text)
{
    Tag tag;
    tag.text = text.toString();
    QStringView inner = text.sliced(1, text.size() - 2).trimmed();
    if (inner.endsWith(u'/'))
        inner.chop(1);
    if (inner.startsWith(u'/')) {
        tag.closing = true;
        inner = inner.sliced(1);
    }
    qsizetype end = 0;
    while (end < inner.size() && !inner.at(end).isSpace())
        ++end;
    tag.name = inner.first(end).toString().toLower();
    for (auto it = attributePattern().globalMatch(inner.sliced(end)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString value = match.captured(2);
        if (value.isNull())
            value = match.captured(3);
        if (value.isNull())
            value = match.captured(4);
        tag.attributes.insert(match.captured(1).toLower(), value);
    }
    return tag;
}

// Named entities the designs and filled values use; any other stops the fast reading.
std::optional<QString> decodeEntity(QStringView name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X')
            ? name.sliced(2).toUInt(&ok, 16)
            : name.sliced(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF)
            return std::nullopt;
        const char32_t character = code;
        return QString::fromUcs4(&character, 1);
    }
    static const QHash<QString, QString> named {
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
        {QStringLiteral("nbsp"), QString(QChar::Nbsp)},
    };
    const auto it = named.constFind(name.toString());
    if (it == named.constEnd())
        return std::nullopt;
    return *it;
}

// Collapses blanks as HTML does and decodes entities; nullopt for an unknown entity.
std::optional<QString> readText(QStringView text)
{
    QString result;
    result.reserve(text.size());
    bool blank = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u' ' || c == u'\n' || c == u'\t' || c == u'\r' || c == u'\f') {
            blank = true;
            continue;
        }
        if (blank) {
            result += u' ';
            blank = false;
        }
        if (c != u'&') {
            result += c;
            continue;
        }
        const qsizetype end = text.indexOf(u';', i);
        if (end < 0 || end - i > 10)
            return std::nullopt;
        const std::optional<QString> entity = decodeEntity(text.sliced(i + 1, end - i - 1));
        if (!entity)
            return std::nullopt;
        result += *entity;
        i = end;
    }
    if (blank)
        result += u' ';
    return result;
}

// Text of one paragraph as it is being read: blanks at its start, around line breaks and at
// its end go, as the HTML reader drops them.
class RunBuilder
{
public:
    void addText(const QString &text, const QString &inlineTags)
    {
        QString piece = text;
        if (atLineStart() && piece.startsWith(u' '))
            piece.remove(0, 1);
        if (piece.isEmpty())
            return;
        if (!m_runs.isEmpty() && m_runs.last().text.endsWith(u' ') && piece.startsWith(u' '))
            piece.remove(0, 1);
        if (!m_runs.isEmpty() && m_runs.last().inlineTags == inlineTags)
            m_runs.last().text += piece;
        else if (!piece.isEmpty())
            m_runs.append({piece, inlineTags});
    }
    void addLineBreak(const QString &inlineTags)
    {
        trimEnd();
        m_runs.append({QString(lineSeparator), inlineTags});
    }
    ReportMarkup::Runs take()
    {
        trimEnd();
        return std::exchange(m_runs, {});
    }

private:
    bool atLineStart() const
    {
        return m_runs.isEmpty() || m_runs.last().text.endsWith(lineSeparator);
    }
    void trimEnd()
    {
        while (!m_runs.isEmpty() && m_runs.last().text.endsWith(u' ')) {
            m_runs.last().text.chop(1);
            if (m_runs.last().text.isEmpty())
                m_runs.removeLast();
        }
    }
    ReportMarkup::Runs m_runs;
};

bool isHeadingOrParagraph(const QString &name)
{
    return name == u"p"
        || (name.size() == 2 && name.at(0) == u'h' && name.at(1) >= u'1' && name.at(1) <= u'6');
}

bool isInline(const QString &name)
{
    static const QStringList names {QStringLiteral("b"), QStringLiteral("i"), QStringLiteral("u"),
        QStringLiteral("s"), QStringLiteral("strong"), QStringLiteral("em"), QStringLiteral("sub"),
        QStringLiteral("sup"), QStringLiteral("span"), QStringLiteral("small"),
        QStringLiteral("big"), QStringLiteral("font")};
    return names.contains(name);
}

// The cell's own tag without the spans, which only place it in the grid.
QString cellTag(const Tag &tag)
{
    static const QRegularExpression spans(
        QStringLiteral("\\s(rowspan|colspan)\\s*=\\s*(\"[^\"]*\"|'[^']*'|[^\\s>]+)"),
        QRegularExpression::CaseInsensitiveOption);
    QString text = tag.text;
    return text.remove(spans);
}

int spanOf(const Tag &tag, const QString &name)
{
    bool ok = false;
    const int span = tag.attributes.value(name).trimmed().toInt(&ok);
    return ok && span > 1 ? std::min(span, 1000) : 1;
}

class Reader
{
public:
    std::optional<ReportMarkup> read(const QString &html);

private:
    bool startTag(const Tag &tag);
    bool endTag(const Tag &tag);
    bool text(QStringView raw);
    void endBlock();
    bool endCell();
    QString inlineTags() const { return m_inline.join(QString()); }

    ReportMarkup m_markup;
    enum class Place { Body, Block, Table, Row, Cell } m_place = Place::Body;
    QString m_blockTag;
    QStringList m_inline;
    QStringList m_inlineNames;
    RunBuilder m_runs;
    ReportMarkup::Table m_table;
    ReportMarkup::Cell m_cell;
    bool m_inHead = false; // inside <thead>
    int m_row = -1;
    QList<QList<bool>> m_taken; // grid places held by cells of rows above
};

std::optional<ReportMarkup> Reader::read(const QString &html)
{
    // a bare fragment is all body, as for the HTML reader
    static const QRegularExpression headTag(
        QStringLiteral("<(html|head)\\b"), QRegularExpression::CaseInsensitiveOption);
    const qsizetype body = ReportMarkup::bodyStart(html);
    if (body < 0 && headTag.match(html).hasMatch())
        return std::nullopt;
    const qsizetype start = std::max<qsizetype>(body, 0);
    if (ReportMarkup::hasRawText(html, start))
        return std::nullopt;
    m_markup.head = html.first(start);

    qsizetype at = start;
    while (at < html.size()) {
        const qsizetype open = html.indexOf(u'<', at);
        if (!text(QStringView(html).sliced(at, (open < 0 ? html.size() : open) - at)))
            return std::nullopt;
        if (open < 0)
            break;
        const qsizetype close = html.indexOf(u'>', open);
        if (close < 0)
            return std::nullopt;
        const Tag tag = readTag(QStringView(html).sliced(open, close - open + 1));
        if (tag.name == u"body" || tag.name == u"html") {
            if (!tag.closing)
                return std::nullopt;
        } else if (!(tag.closing ? endTag(tag) : startTag(tag))) {
            return std::nullopt;
        }
        at = close + 1;
    }
    if (m_place == Place::Table || m_place == Place::Row || m_place == Place::Cell)
        return std::nullopt;
    endBlock();
    return std::move(m_markup);
}

bool Reader::text(QStringView raw)
{
    const std::optional<QString> text = readText(raw);
    if (!text)
        return false;
    if (text->isEmpty() || *text == u" ") {
        // blanks between blocks and cells are layout of the markup, not text; inside a
        // paragraph they part words
        if (m_place == Place::Block || m_place == Place::Cell)
            m_runs.addText(*text, inlineTags());
        return true;
    }
    switch (m_place) {
    case Place::Body:
        m_place = Place::Block;
        m_blockTag.clear();
        [[fallthrough]];
    case Place::Block:
    case Place::Cell:
        m_runs.addText(*text, inlineTags());
        return true;
    case Place::Table:
    case Place::Row:
        return false;
    }
    return false;
}

bool Reader::startTag(const Tag &tag)
{
    const QString &name = tag.name;
    if (name == u"br") {
        if (m_place == Place::Body) {
            m_place = Place::Block;
            m_blockTag.clear();
        }
        if (m_place != Place::Block && m_place != Place::Cell)
            return false;
        m_runs.addLineBreak(inlineTags());
        return true;
    }
    if (isInline(name)) {
        if (m_place == Place::Body) {
            m_place = Place::Block;
            m_blockTag.clear();
        }
        if (m_place != Place::Block && m_place != Place::Cell)
            return false;
        m_inline.append(tag.text);
        m_inlineNames.append(name);
        return true;
    }
    if (isHeadingOrParagraph(name)) {
        if (m_place == Place::Block)
            endBlock();
        if (m_place != Place::Body)
            return false;
        m_place = Place::Block;
        m_blockTag = tag.text;
        return true;
    }
    if (name == u"table") {
        if (m_place == Place::Block)
            endBlock();
        if (m_place != Place::Body)
            return false;
        m_place = Place::Table;
        m_table = ReportMarkup::Table();
        m_table.tag = tag.text;
        m_row = -1;
        m_taken.clear();
        m_inHead = false;
        return true;
    }
    if (name == u"thead" || name == u"tbody") {
        if (m_place == Place::Cell && !endCell())
            return false;
        if (m_place != Place::Table && m_place != Place::Row)
            return false;
        m_place = Place::Table;
        m_inHead = name == u"thead";
        return true;
    }
    if (name == u"tr") {
        if (m_place == Place::Cell && !endCell())
            return false;
        if (m_place != Place::Table && m_place != Place::Row)
            return false;
        m_place = Place::Row;
        ++m_row;
        if (m_inHead) {
            // the header rows are the first rows
            if (m_table.headerRows != m_row)
                return false;
            ++m_table.headerRows;
        }
        return true;
    }
    if (name == u"td" || name == u"th") {
        if (m_place == Place::Cell && !endCell())
            return false;
        if (m_place != Place::Row)
            return false;
        m_place = Place::Cell;
        m_cell = ReportMarkup::Cell();
        m_cell.tag = cellTag(tag);
        m_cell.row = m_row;
        m_cell.rowSpan = spanOf(tag, QStringLiteral("rowspan"));
        m_cell.columnSpan = spanOf(tag, QStringLiteral("colspan"));
        m_cell.width = tag.attributes.value(QStringLiteral("width"));
        return true;
    }
    return false; // any other element: lists, images, links, boxes
}

bool Reader::endTag(const Tag &tag)
{
    const QString &name = tag.name;
    if (name == u"br")
        return startTag(tag);
    if (isInline(name)) {
        const qsizetype at = m_inlineNames.lastIndexOf(name);
        if (at < 0)
            return true;
        m_inline.resize(at);
        m_inlineNames.resize(at);
        return true;
    }
    if (isHeadingOrParagraph(name)) {
        if (m_place == Place::Block)
            endBlock();
        return m_place == Place::Body;
    }
    if (name == u"td" || name == u"th")
        return m_place != Place::Cell || endCell();
    if (name == u"tr") {
        if (m_place == Place::Cell && !endCell())
            return false;
        if (m_place == Place::Row)
            m_place = Place::Table;
        return m_place == Place::Table;
    }
    if (name == u"thead" || name == u"tbody") {
        if (m_place == Place::Cell && !endCell())
            return false;
        if (m_place == Place::Row)
            m_place = Place::Table;
        m_inHead = false;
        return m_place == Place::Table;
    }
    if (name == u"table") {
        if (m_place == Place::Cell && !endCell())
            return false;
        if (m_place != Place::Table && m_place != Place::Row)
            return false;
        // cells spanning past the last row end with it
        m_table.rows = m_row + 1;
        if (m_table.rows == 0 || m_table.columns == 0)
            return false;
        m_markup.items.append(std::move(m_table));
        m_place = Place::Body;
        return true;
    }
    return false;
}

void Reader::endBlock()
{
    if (m_place != Place::Block)
        return;
    m_markup.items.append(ReportMarkup::Block {m_blockTag, m_runs.take()});
    m_inline.clear();
    m_inlineNames.clear();
    m_place = Place::Body;
}

bool Reader::endCell()
{
    m_cell.runs = m_runs.take();
    m_inline.clear();
    m_inlineNames.clear();
    // the first free place of the row, past the cells spanning down from above
    const int row = m_cell.row;
    if (m_taken.size() <= row + m_cell.rowSpan - 1)
        m_taken.resize(row + m_cell.rowSpan);
    int column = 0;
    while (column < m_taken[row].size() && m_taken[row][column])
        ++column;
    m_cell.column = column;
    for (int r = row; r < row + m_cell.rowSpan; ++r) {
        if (m_taken[r].size() < column + m_cell.columnSpan)
            m_taken[r].resize(column + m_cell.columnSpan);
        for (int c = column; c < column + m_cell.columnSpan; ++c)
            m_taken[r][c] = true;
    }
    m_table.columns = std::max(m_table.columns, column + m_cell.columnSpan);
    m_table.cells.append(std::move(m_cell));
    m_place = Place::Row;
    return true;
}

} // namespace

std::optional<ReportMarkup> ReportMarkup::read(const QString &html)
{
    return Reader().read(html);
}

qsizetype ReportMarkup::bodyStart(const QString &html)
{
    static const QRegularExpression bodyTag(
        QStringLiteral("<body(\\s[^>]*)?>"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch body = bodyTag.match(html);
    return body.hasMatch() ? body.capturedEnd() : -1;
}

bool ReportMarkup::hasRawText(const QString &html, qsizetype from)
{
    static const QRegularExpression rawText(
        QStringLiteral("<!--|<(pre|script|style|xmp|textarea|plaintext)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return rawText.match(html, from).hasMatch();
}
