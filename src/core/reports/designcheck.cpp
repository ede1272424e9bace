#include "core/reports/designcheck.h"

#include "core/files/fileaccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The blanks the template engine trims from a tag's contents (those of the C locale).
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

QString trimmedTag(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin).toString();
}

// "=<% %>=": the new opening and closing delimiters, read as the engine reads them; false
// for a tag the engine refuses.
bool readDelimiters(const QString &tag, QString *open, QString *close)
{
    if (tag.size() < 5 || !tag.endsWith(u'='))
        return false;
    const QString inner = trimmedTag(QStringView(tag).mid(1, tag.size() - 2));
    const qsizetype space = inner.indexOf(u' ');
    if (space < 0)
        return false;
    qsizetype next = space + 1;
    while (next < inner.size() && inner.at(next) == u' ')
        ++next;
    const QString first = inner.left(space);
    const QString second = inner.mid(next);
    const auto valid = [](const QString &delimiter) {
        for (const QChar c : delimiter) {
            if (c == u'=' || isBlank(c))
                return false;
        }
        return !delimiter.isEmpty();
    };
    if (!valid(first) || !valid(second))
        return false;
    *open = first;
    *close = second;
    return true;
}

qint64 saturated(qint64 value, qint64 limit)
{
    return value > limit ? limit + 1 : value;
}

QString depthReason()
{
    return QStringLiteral("a szakaszok és a beillesztett részek %1 szintnél mélyebben "
                          "ágyazódnak egymásba.")
        .arg(DesignCheck::maxDepth);
}

} // namespace

DesignCheck::DesignCheck(std::function<QString(const QString &)> locate)
    : m_locate(std::move(locate))
{ }

QString DesignCheck::faultText(const QString &path, const QString &reason)
{
    return QStringLiteral("A(z) %1 nyomtatási terv hibás: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}

bool DesignCheck::load(const QString &path, const QString &project)
{
    m_chain = {project};
    return readFile(path, 0) >= 0;
}

QString DesignCheck::design() const
{
    return m_files.empty() ? QString() : m_files.front().text;
}

QHash<QString, QString> DesignCheck::pieces() const
{
    QHash<QString, QString> pieces;
    for (auto it = m_pieceFiles.cbegin(); it != m_pieceFiles.cend(); ++it)
        pieces.insert(it.key(), m_files[it.value()].text);
    return pieces;
}

int DesignCheck::refuse(const QString &path, const QString &reason)
{
    m_error = faultText(path, reason);
    return -1;
}

// The file's entry, read, scanned and with every piece it includes read too; -1 after a
// refusal. `base` is the nesting the file's text starts at.
int DesignCheck::readFile(const QString &path, int base)
{
    const qint64 size = QFileInfo(path).size();
    if (size > maxSize)
        return refuse(path, QStringLiteral("a fájl nagyobb 4 MiB-nál."));
    if (m_totalSize + size > maxSize)
        return refuse(
            path, QStringLiteral("a terv a beillesztett részeivel együtt nagyobb 4 MiB-nál."));
    QFile file;
    QString reason;
    if (!Files::openForReading(file, path, &reason)) {
        m_error = QStringLiteral("A(z) %1 nyomtatási terv nem olvasható: %2")
                      .arg(QDir::toNativeSeparators(path), reason);
        return -1;
    }
    const QByteArray bytes = file.read(maxSize + 1); // a file that grew meanwhile stays bounded
    if (bytes.size() > maxSize || m_totalSize + bytes.size() > maxSize)
        return refuse(
            path, QStringLiteral("a terv a beillesztett részeivel együtt nagyobb 4 MiB-nál."));
    m_totalSize += bytes.size();

    const QString canonical = QFileInfo(path).canonicalFilePath();
    const int index = int(m_files.size());
    m_fileIndex.insert(canonical.isEmpty() ? path : canonical, index);
    File &entry = m_files.emplace_back();
    entry.path = path;
    entry.text = QString::fromUtf8(bytes);
    if (!scan(entry))
        return -1;

    static const QRegularExpression pieceName(QStringLiteral("^[\\w-]+$"));
    int depth = entry.depth;
    for (const Token &token : std::as_const(entry.tokens)) {
        if (token.kind != Token::Kind::Include)
            continue;
        const int start = base + token.depth + 1; // where the piece's text starts
        if (start > maxDepth)
            return refuse(path, depthReason());
        int piece = m_pieceFiles.value(token.name, -1);
        if (piece < 0) {
            const QString piecePath
                = pieceName.match(token.name).hasMatch() ? m_locate(token.name) : QString();
            if (piecePath.isEmpty()) {
                return refuse(
                    path, QStringLiteral("a(z) „%1” rész nem található.").arg(token.name));
            }
            const QString pieceCanonical = QFileInfo(piecePath).canonicalFilePath();
            piece = m_fileIndex.value(pieceCanonical.isEmpty() ? piecePath : pieceCanonical, -1);
            if (piece >= 0 && m_files[piece].reading) {
                return refuse(path,
                    QStringLiteral("a részek körbe hivatkoznak egymásra: %1.")
                        .arg((m_chain + QStringList {token.name}).join(QStringLiteral(" → "))));
            }
            if (piece < 0) {
                m_chain.append(token.name);
                piece = readFile(piecePath, start);
                m_chain.removeLast();
                if (piece < 0)
                    return -1;
            }
            m_pieceFiles.insert(token.name, piece);
        }
        if (start + m_files[piece].depth > maxDepth)
            return refuse(path, depthReason());
        depth = qMax(depth, token.depth + 1 + m_files[piece].depth);
    }
    entry.depth = depth;
    entry.reading = false;
    return index;
}

// The file's tags as the template engine reads them: text, sections and includes, each
// with the sections open around it. False, with the reason, for a tag the engine would not
// read or sections that do not pair up.
bool DesignCheck::scan(File &file)
{
    const QString &text = file.text;
    const qsizetype size = text.size();
    QString open = QStringLiteral("{{");
    QString close = QStringLiteral("}}");
    QStringList sections;
    qint64 pending = 0;
    const auto add = [&](Token::Kind kind, const QString &name) {
        if (pending > 0)
            file.tokens.append({Token::Kind::Text, QString(), pending, int(sections.size())});
        pending = 0;
        file.tokens.append({kind, name, 0, int(sections.size())});
    };

    qsizetype position = 0;
    while (position < size) {
        const qsizetype start = text.indexOf(open, position);
        if (start < 0) {
            pending += size - position;
            break;
        }
        pending += start - position;
        qsizetype contents = start + open.size();
        // only with the braces does a third one make a tag whose value is put in as markup
        const bool triple = open == QLatin1String("{{") && close == QLatin1String("}}")
            && contents < size && text.at(contents) == u'{';
        const QString end = triple ? QStringLiteral("}}}") : close;
        if (triple)
            ++contents;
        const qsizetype stop = text.indexOf(end, contents);
        if (stop < 0) {
            refuse(file.path,
                QStringLiteral("a(z) %1. sorban kezdődő címke nincs lezárva.")
                    .arg(QStringView(text).left(start).count(u'\n') + 1));
            return false;
        }
        const QString tag = trimmedTag(QStringView(text).mid(contents, stop - contents));
        position = stop + end.size();
        ++pending; // the tag's own output, if any

        if (tag.startsWith(u'=')) {
            if (!readDelimiters(tag, &open, &close)) {
                refuse(file.path,
                    QStringLiteral("a(z) „%1” határolójel-váltás hibás.")
                        .arg(text.mid(start, position - start)));
                return false;
            }
            continue;
        }
        if (triple || tag.isEmpty())
            continue;
        const QString name = trimmedTag(QStringView(tag).mid(1));
        switch (tag.at(0).unicode()) {
        case '#':
        case '^':
            add(tag.at(0) == u'#' ? Token::Kind::Open : Token::Kind::OpenInverted, name);
            sections.append(name);
            if (sections.size() > maxDepth) {
                refuse(file.path, depthReason());
                return false;
            }
            file.depth = qMax(file.depth, int(sections.size()));
            break;
        case '/':
            if (sections.isEmpty()) {
                refuse(file.path,
                    QStringLiteral("a(z) „%1” szakasz lezárásának nincs nyitó párja.").arg(name));
                return false;
            }
            if (sections.last() != name) {
                refuse(file.path,
                    QStringLiteral("a nyitott „%1” szakasz helyett „%2” van lezárva.")
                        .arg(sections.last(), name));
                return false;
            }
            sections.removeLast();
            add(Token::Kind::Close, name);
            break;
        case '>':
            add(Token::Kind::Include, name);
            break;
        default:
            break; // a value, a comment
        }
    }
    if (!sections.isEmpty()) {
        refuse(file.path, QStringLiteral("a(z) „%1” szakasz nincs lezárva.").arg(sections.last()));
        return false;
    }
    if (pending > 0)
        file.tokens.append({Token::Kind::Text, QString(), pending, 0});
    return true;
}

bool DesignCheck::checkWork(const std::function<qint64(const QString &)> &repeats, qint64 limit)
{
    for (File &file : m_files)
        file.work = -1;
    return !m_files.empty() && work(m_files.front(), repeats, limit) <= limit;
}

// The steps of filling the file once, at most limit + 1; a file past the limit is refused.
qint64 DesignCheck::work(
    File &file, const std::function<qint64(const QString &)> &repeats, qint64 limit)
{
    if (file.work >= 0)
        return file.work;
    QList<qint64> sums {0}; // the work inside each open section
    QList<qint64> times; // how often each open section repeats
    for (const Token &token : std::as_const(file.tokens)) {
        switch (token.kind) {
        case Token::Kind::Text:
            sums.last() = saturated(sums.last() + token.weight, limit);
            break;
        case Token::Kind::Open:
        case Token::Kind::OpenInverted:
            sums.append(0);
            times.append(
                token.kind == Token::Kind::Open ? qMax<qint64>(1, repeats(token.name)) : 1);
            break;
        case Token::Kind::Close: {
            const qint64 inner = sums.takeLast();
            const qint64 count = times.takeLast();
            const qint64 section = inner > 0 && count > limit / inner ? limit + 1 : inner * count;
            sums.last() = saturated(sums.last() + section, limit);
            break;
        }
        case Token::Kind::Include: {
            // the piece is parsed anew each time it is filled in
            File &piece = m_files[m_pieceFiles.value(token.name)];
            const qint64 pieceWork = work(piece, repeats, limit);
            if (pieceWork > limit)
                return pieceWork;
            sums.last() = saturated(sums.last() + pieceWork + piece.text.size(), limit);
            break;
        }
        }
        if (sums.last() > limit)
            break;
    }
    file.work = sums.last() > limit ? limit + 1 : sums.first();
    if (file.work > limit) {
        refuse(file.path,
            QStringLiteral("az egymásba ágyazott ismétlődő szakaszok túl sokszor "
                           "ismétlődnének."));
    }
    return file.work;
}
