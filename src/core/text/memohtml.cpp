#include "core/text/memohtml.h"

#include "core/text/richtext.h"

#include <QHash>
#include <QStringList>
#include <QTextDocument>

namespace Text {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isKept(const QString &element)
{
    static const QStringList kept = {QStringLiteral("p"), QStringLiteral("br"), QStringLiteral("b"),
        QStringLiteral("strong"), QStringLiteral("i"), QStringLiteral("em"), QStringLiteral("u"),
        QStringLiteral("ul"), QStringLiteral("ol"), QStringLiteral("li"), QStringLiteral("table"),
        QStringLiteral("thead"), QStringLiteral("tbody"), QStringLiteral("tr"),
        QStringLiteral("td"), QStringLiteral("th")};
    return kept.contains(element);
}

// Elements whose content is code or a page of its own, never text of the memo.
bool isDroppedWithContent(const QString &element)
{
    static const QStringList dropped = {QStringLiteral("script"), QStringLiteral("style"),
        QStringLiteral("title"), QStringLiteral("textarea"), QStringLiteral("iframe"),
        QStringLiteral("noscript"), QStringLiteral("noembed"), QStringLiteral("noframes"),
        QStringLiteral("xmp"), QStringLiteral("template")};
    return dropped.contains(element);
}

// A paragraph or cell opened inside one of its own kind closes that one first.
bool closesItsKind(const QString &element)
{
    return element == QLatin1String("p") || element == QLatin1String("li")
        || element == QLatin1String("tr") || element == QLatin1String("td")
        || element == QLatin1String("th");
}

const QHash<QString, char32_t> &namedEntities()
{
    static const QHash<QString, char32_t> entities = [] {
        QHash<QString, char32_t> table {{QStringLiteral("amp"), u'&'}, {QStringLiteral("lt"), u'<'},
            {QStringLiteral("gt"), u'>'}, {QStringLiteral("quot"), u'"'},
            {QStringLiteral("apos"), u'\''}, {QStringLiteral("Odblac"), 0x150},
            {QStringLiteral("odblac"), 0x151}, {QStringLiteral("Udblac"), 0x170},
            {QStringLiteral("udblac"), 0x171}, {QStringLiteral("ndash"), 0x2013},
            {QStringLiteral("mdash"), 0x2014}, {QStringLiteral("lsquo"), 0x2018},
            {QStringLiteral("rsquo"), 0x2019}, {QStringLiteral("sbquo"), 0x201A},
            {QStringLiteral("ldquo"), 0x201C}, {QStringLiteral("rdquo"), 0x201D},
            {QStringLiteral("bdquo"), 0x201E}, {QStringLiteral("bull"), 0x2022},
            {QStringLiteral("hellip"), 0x2026}, {QStringLiteral("euro"), 0x20AC},
            {QStringLiteral("trade"), 0x2122}};
        // the Latin-1 letters and signs, from the no-break space on
        const QStringList latin1 = QStringLiteral(
            "nbsp iexcl cent pound curren yen brvbar sect uml copy ordf laquo not shy reg macr "
            "deg plusmn sup2 sup3 acute micro para middot cedil sup1 ordm raquo frac14 frac12 "
            "frac34 iquest Agrave Aacute Acirc Atilde Auml Aring AElig Ccedil Egrave Eacute "
            "Ecirc Euml Igrave Iacute Icirc Iuml ETH Ntilde Ograve Oacute Ocirc Otilde Ouml "
            "times Oslash Ugrave Uacute Ucirc Uuml Yacute THORN szlig agrave aacute acirc "
            "atilde auml aring aelig ccedil egrave eacute ecirc euml igrave iacute icirc iuml "
            "eth ntilde ograve oacute ocirc otilde ouml divide oslash ugrave uacute ucirc uuml "
            "yacute thorn yuml")
                                       .split(u' ');
        for (qsizetype i = 0; i < latin1.size(); ++i)
            table.insert(latin1[i], char32_t(0xA0 + i));
        return table;
    }();
    return entities;
}

// The character of the entity at `position` ("&amp;", "&#337;", "&#x151;"), the position
// moved past it; a lone "&" stands for itself.
QString decodeEntity(const QString &html, qsizetype &position)
{
    const qsizetype end = html.indexOf(u';', position + 1);
    if (end < 0 || end - position > 32) {
        ++position;
        return QStringLiteral("&");
    }
    const QString name = html.mid(position + 1, end - position - 1);
    char32_t code = 0;
    bool known = false;
    if (name.startsWith(u'#')) {
        const bool hex = name.size() > 1 && (name.at(1) == u'x' || name.at(1) == u'X');
        const QString digits = name.mid(hex ? 2 : 1);
        bool ok = !digits.isEmpty() && digits.size() <= 8;
        for (const QChar c : digits)
            ok = ok
                && ((c >= u'0' && c <= u'9')
                    || (hex && ((c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))));
        const uint value = ok ? digits.toUInt(&ok, hex ? 16 : 10) : 0;
        known = ok;
        // no character, a surrogate or past the last one reads as the replacement character
        code = value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)
            ? char32_t(0xFFFD)
            : char32_t(value);
    } else if (const auto it = namedEntities().constFind(name); it != namedEntities().cend()) {
        known = true;
        code = it.value();
    }
    if (!known) {
        ++position;
        return QStringLiteral("&");
    }
    position = end + 1;
    return QString::fromUcs4(&code, 1);
}

void appendEscaped(QString &out, QStringView text)
{
    out += text.toString().toHtmlEscaped();
}

// A colspan or rowspan kept: digits only, 1 to 100.
bool isSpanValue(const QString &value)
{
    bool ok = value.size() <= 3;
    for (const QChar c : value)
        ok = ok && c >= u'0' && c <= u'9';
    const int span = ok ? value.toInt(&ok) : 0;
    return ok && span >= 1 && span <= 100;
}

struct Tag
{
    QString name;
    bool closing = false;
    bool selfClosing = false;
    QString attributes; // the kept ones, written out
    bool complete = false;
};

// The tag starting at `position` (at its "<"), read up to and past its ">".
Tag readTag(const QString &html, qsizetype &position)
{
    Tag tag;
    const qsizetype size = html.size();
    qsizetype i = position + 1;
    if (html.at(i) == u'/') {
        tag.closing = true;
        ++i;
    }
    const qsizetype nameStart = i;
    while (i < size && !isSpace(html.at(i)) && html.at(i) != u'/' && html.at(i) != u'>')
        ++i;
    tag.name = html.mid(nameStart, i - nameStart).toLower();
    const bool spans = tag.name == QLatin1String("td") || tag.name == QLatin1String("th");
    while (i < size) {
        const QChar c = html.at(i);
        if (c == u'>') {
            tag.complete = true;
            ++i;
            break;
        }
        if (isSpace(c) || c == u'/') {
            tag.selfClosing = c == u'/';
            ++i;
            continue;
        }
        tag.selfClosing = false;
        const qsizetype attributeStart = i;
        while (i < size && !isSpace(html.at(i)) && html.at(i) != u'/' && html.at(i) != u'>'
            && html.at(i) != u'=')
            ++i;
        const QString attribute
            = html.mid(attributeStart, qMax<qsizetype>(1, i - attributeStart)).toLower();
        if (i == attributeStart)
            ++i; // a stray "=" names nothing
        while (i < size && isSpace(html.at(i)))
            ++i;
        QString value;
        if (i < size && html.at(i) == u'=') {
            ++i;
            while (i < size && isSpace(html.at(i)))
                ++i;
            if (i < size && (html.at(i) == u'"' || html.at(i) == u'\'')) {
                const qsizetype close = html.indexOf(html.at(i), i + 1);
                if (close < 0) {
                    i = size;
                    break;
                }
                value = html.mid(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < size && !isSpace(html.at(i)) && html.at(i) != u'>')
                    ++i;
                value = html.mid(valueStart, i - valueStart);
            }
        }
        if (spans && !tag.closing
            && (attribute == QLatin1String("colspan") || attribute == QLatin1String("rowspan"))
            && isSpanValue(value.trimmed())) {
            tag.attributes += QStringLiteral(" %1=\"%2\"").arg(attribute, value.trimmed());
        }
    }
    position = i;
    return tag;
}

// Past the end of an element whose content is dropped: its closing tag, or the end.
qsizetype skipContent(const QString &html, qsizetype position, const QString &element)
{
    const QString closing = QStringLiteral("</") + element;
    for (qsizetype at = html.indexOf(closing, position, Qt::CaseInsensitive); at >= 0;
         at = html.indexOf(closing, at + 1, Qt::CaseInsensitive)) {
        const qsizetype after = at + closing.size();
        if (after >= html.size() || isSpace(html.at(after)) || html.at(after) == u'>'
            || html.at(after) == u'/') {
            const qsizetype end = html.indexOf(u'>', after);
            return end < 0 ? html.size() : end + 1;
        }
    }
    return html.size();
}

} // namespace

// Elements nested deeper than this are dropped, their text kept: no memo needs them, and
// each closing tag looks through the open ones.
constexpr qsizetype maxNesting = 100;

QString sanitizeMemoHtml(const QString &html)
{
    QString out;
    QStringList open; // the kept elements open, innermost last
    const qsizetype size = html.size();
    qsizetype position = 0;
    while (position < size) {
        const QChar c = html.at(position);
        if (c == u'&') {
            appendEscaped(out, decodeEntity(html, position));
            continue;
        }
        const QChar next = position + 1 < size ? html.at(position + 1) : QChar();
        const QChar afterSlash = position + 2 < size ? html.at(position + 2) : QChar();
        if (c != u'<'
            || !(isAsciiLetter(next) || next == u'!' || next == u'?'
                || (next == u'/' && isAsciiLetter(afterSlash)))) {
            appendEscaped(out, QStringView(html).mid(position, 1));
            ++position;
            continue;
        }
        if (next == u'!' || next == u'?') { // a comment, a doctype, a processing instruction
            const bool comment = html.mid(position, 4) == QLatin1String("<!--");
            const qsizetype end = comment ? html.indexOf(QLatin1String("-->"), position + 4)
                                          : html.indexOf(u'>', position);
            position = end < 0 ? size : end + (comment ? 3 : 1);
            continue;
        }
        const Tag tag = readTag(html, position);
        if (!tag.complete)
            break; // a tag cut off by the end of the text is no tag
        if (!tag.closing && isDroppedWithContent(tag.name)) {
            if (!tag.selfClosing)
                position = skipContent(html, position, tag.name);
            continue;
        }
        if (!isKept(tag.name))
            continue;
        if (tag.name == QLatin1String("br")) {
            out += QStringLiteral("<br />");
        } else if (!tag.closing && open.size() < maxNesting) {
            if (closesItsKind(tag.name) && !open.isEmpty() && open.last() == tag.name)
                out += QStringLiteral("</%1>").arg(open.takeLast());
            out += QStringLiteral("<%1%2>").arg(tag.name, tag.attributes);
            open.append(tag.name);
        } else if (const qsizetype at = tag.closing ? open.lastIndexOf(tag.name) : -1; at >= 0) {
            while (open.size() > at)
                out += QStringLiteral("</%1>").arg(open.takeLast());
        }
    }
    while (!open.isEmpty())
        out += QStringLiteral("</%1>").arg(open.takeLast());
    return out;
}

QString storedMemo(const QString &memo)
{
    if (isRtf(memo) || !Qt::mightBeRichText(memo))
        return memo;
    const QString safe = sanitizeMemoHtml(memo);
    if (safe.isEmpty() || Qt::mightBeRichText(safe))
        return safe;
    return QStringLiteral("<p>") + safe + QStringLiteral("</p>");
}

} // namespace Text
