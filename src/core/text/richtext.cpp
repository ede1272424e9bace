#include "core/text/richtext.h"

#include "core/text/codepages.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

namespace Text {

namespace {

struct Format
{
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const Format &) const = default;
};

struct GroupState
{
    Format format;
    bool skipped = false; // a destination whose text is not part of the memo
    int unicodeFallback = 1;
};

// Paragraphs of runs, each run in one format.
class HtmlBuilder
{
public:
    void append(QChar character, const Format &format)
    {
        if (m_paragraph.isEmpty() || !(m_format == format)) {
            closeRun();
            m_format = format;
            m_open = true;
            if (format.bold)
                m_paragraph += QStringLiteral("<b>");
            if (format.italic)
                m_paragraph += QStringLiteral("<i>");
            if (format.underline)
                m_paragraph += QStringLiteral("<u>");
        }
        m_hasText = true;
        m_paragraph += QString(character).toHtmlEscaped();
    }

    void lineBreak()
    {
        closeRun();
        m_paragraph += QStringLiteral("<br />");
        m_hasText = true;
    }

    void endParagraph()
    {
        closeRun();
        m_paragraphs.append(m_paragraph);
        m_paragraph.clear();
        m_hasText = false;
    }

    QString html()
    {
        if (m_hasText)
            endParagraph();
        // a memo's closing paragraph mark leaves no empty paragraph behind
        while (!m_paragraphs.isEmpty() && m_paragraphs.last().isEmpty())
            m_paragraphs.removeLast();
        QString html;
        for (const QString &paragraph : std::as_const(m_paragraphs))
            html += QStringLiteral("<p>") + paragraph + QStringLiteral("</p>");
        return html;
    }

private:
    void closeRun()
    {
        if (!m_open)
            return;
        if (m_format.underline)
            m_paragraph += QStringLiteral("</u>");
        if (m_format.italic)
            m_paragraph += QStringLiteral("</i>");
        if (m_format.bold)
            m_paragraph += QStringLiteral("</b>");
        m_open = false;
        m_format = Format();
    }

    QStringList m_paragraphs;
    QString m_paragraph;
    Format m_format;
    bool m_open = false;
    bool m_hasText = false;
};

// The code page of the RTF's \'hh escapes: its \ansicpg, else Central European when a font
// uses that character set (\fcharset238), else Western.
int rtfCodePage(const QString &rtf)
{
    static const QRegularExpression ansiCodePage(QStringLiteral("\\\\ansicpg(\\d+)"));
    const QRegularExpressionMatch match = ansiCodePage.match(rtf);
    if (match.hasMatch())
        return match.captured(1).toInt();
    return rtf.contains(QLatin1String("\\fcharset238")) ? 1250 : 1252;
}

bool isSkippedDestination(const QString &word)
{
    static const QStringList destinations = {
        QStringLiteral("fonttbl"),   QStringLiteral("colortbl"),   QStringLiteral("stylesheet"),
        QStringLiteral("info"),      QStringLiteral("pict"),       QStringLiteral("header"),
        QStringLiteral("footer"),    QStringLiteral("listtable"),  QStringLiteral("rsidtbl"),
        QStringLiteral("generator"), QStringLiteral("themedata"),  QStringLiteral("datastore"),
        QStringLiteral("object"),    QStringLiteral("latentstyles"),
        QStringLiteral("listoverridetable"), QStringLiteral("colorschememapping")};
    return destinations.contains(word);
}

QString rtfToHtml(const QString &rtf)
{
    const int codePage = rtfCodePage(rtf);
    HtmlBuilder html;
    QList<GroupState> stack{GroupState()};
    int pendingFallback = 0; // characters still to skip after a \u
    const auto put = [&](QChar character) {
        if (pendingFallback > 0) {
            --pendingFallback;
            return;
        }
        if (!stack.last().skipped)
            html.append(character, stack.last().format);
    };

    const qsizetype length = rtf.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = rtf.at(i);
        if (c == QLatin1Char('{')) {
            stack.append(stack.last());
            pendingFallback = 0;
            continue;
        }
        if (c == QLatin1Char('}')) {
            if (stack.size() > 1)
                stack.removeLast();
            pendingFallback = 0;
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            continue;
        if (c != QLatin1Char('\\')) {
            put(c);
            continue;
        }
        if (++i >= length)
            break;
        const QChar symbol = rtf.at(i);
        if (!symbol.isLetter()) {
            switch (symbol.unicode()) {
            case '\'': {
                bool ok = false;
                const int byte = rtf.mid(i + 1, 2).toInt(&ok, 16);
                i += 2;
                if (ok) {
                    const QString decoded = decodeCodePage(QByteArray(1, char(byte)), codePage);
                    if (!decoded.isEmpty())
                        put(decoded.at(0));
                }
                break;
            }
            case '*':
                stack.last().skipped = true;
                break;
            case '~':
                put(QChar(0x00A0));
                break;
            case '_':
                put(QLatin1Char('-'));
                break;
            case '-':
                break; // an optional hyphen
            case '\r':
            case '\n':
                if (!stack.last().skipped)
                    html.endParagraph();
                break;
            default: // \\, \{ and \}
                put(symbol);
            }
            continue;
        }
        qsizetype end = i;
        while (end < length && rtf.at(end).isLetter())
            ++end;
        const QString word = rtf.mid(i, end - i);
        qsizetype digits = end;
        if (digits < length && rtf.at(digits) == QLatin1Char('-'))
            ++digits;
        while (digits < length && rtf.at(digits).isDigit())
            ++digits;
        bool hasParameter = false;
        const int parameter = rtf.mid(end, digits - end).toInt(&hasParameter);
        i = digits;
        if (i < length && rtf.at(i) == QLatin1Char(' '))
            ; // the delimiting blank belongs to the control word
        else
            --i;

        GroupState &state = stack.last();
        const bool on = !hasParameter || parameter != 0;
        if (isSkippedDestination(word)) {
            state.skipped = true;
        } else if (word == QLatin1String("par")) {
            if (!state.skipped)
                html.endParagraph();
        } else if (word == QLatin1String("line")) {
            if (!state.skipped)
                html.lineBreak();
        } else if (word == QLatin1String("tab")) {
            put(QLatin1Char('\t'));
        } else if (word == QLatin1String("b")) {
            state.format.bold = on;
        } else if (word == QLatin1String("i")) {
            state.format.italic = on;
        } else if (word == QLatin1String("ul")) {
            state.format.underline = on;
        } else if (word == QLatin1String("ulnone")) {
            state.format.underline = false;
        } else if (word == QLatin1String("plain")) {
            state.format = Format();
        } else if (word == QLatin1String("uc")) {
            state.unicodeFallback = qMax(0, parameter);
        } else if (word == QLatin1String("u") && hasParameter) {
            put(QChar(char16_t(parameter < 0 ? parameter + 65536 : parameter)));
            pendingFallback = state.unicodeFallback;
        } else if (word == QLatin1String("emdash")) {
            put(QChar(0x2014));
        } else if (word == QLatin1String("endash")) {
            put(QChar(0x2013));
        } else if (word == QLatin1String("bullet")) {
            put(QChar(0x2022));
        }
    }
    return html.html();
}

QString plainToHtml(const QString &memo)
{
    HtmlBuilder html;
    QString text = memo;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        for (const QChar c : line)
            html.append(c, Format());
        html.endParagraph();
    }
    return html.html();
}

} // namespace

bool isRtf(const QString &memo)
{
    return memo.trimmed().startsWith(QLatin1String("{\\rtf"));
}

QString memoToRichText(const QString &memo)
{
    return isRtf(memo) ? rtfToHtml(memo) : plainToHtml(memo);
}

} // namespace Text
