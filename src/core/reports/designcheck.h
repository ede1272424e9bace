#pragma once

#include <QHash>
#include <QList>
#include <QStringList>
#include <QString>

#include <deque>
#include <functional>

// A report design and the pieces it includes ("{{> name}}", transitively), read and looked
// over before the template engine parses them. The engine's parser and renderer descend
// once per section and per include, so a design that includes itself, nests too deep or
// repeats nested sections without end would bring the program down; here it is refused
// with a message naming the file at fault. Each piece is read once, however often it is
// included; the tags are read as the engine reads them, delimiter changes included.
class DesignCheck
{
public:
    // The deepest nesting of sections and includes taken together.
    static constexpr int maxDepth = 32;
    // The largest design file, and the largest design with all its pieces, in bytes.
    static constexpr qint64 maxSize = 4 * 1024 * 1024;

    // locate: the file a piece is read from, by its name; empty when there is none.
    explicit DesignCheck(std::function<QString(const QString &)> locate);

    // Reads the design of `project` from `path` and every piece it includes. False, with
    // error() set, at the first fault found.
    bool load(const QString &path, const QString &project);

    // The design's text, and the pieces' texts by the names they are included under.
    QString design() const;
    QHash<QString, QString> pieces() const;

    // Whether filling the loaded design stays within `limit` steps (about one per character
    // and tag put out) when a section named `name` repeats at most repeats(name) times.
    // False, with error() set, when it would not.
    bool checkWork(const std::function<qint64(const QString &)> &repeats, qint64 limit);

    QString error() const { return m_error; }

    // "A(z) <file> nyomtatási terv hibás: <reason>".
    static QString faultText(const QString &path, const QString &reason);

private:
    struct Token
    {
        enum class Kind { Text, Open, OpenInverted, Close, Include };
        Kind kind = Kind::Text;
        QString name;
        qint64 weight = 0; // characters of text
        int depth = 0; // sections open around the tag
    };

    struct File
    {
        QString path;
        QString text;
        QList<Token> tokens;
        int depth = 0; // deepest nesting of sections and includes within the file
        bool reading = true;
        qint64 work = -1;
    };

    int readFile(const QString &path, int base);
    bool scan(File &file);
    qint64 work(File &file, const std::function<qint64(const QString &)> &repeats, qint64 limit);
    int refuse(const QString &path, const QString &reason);

    std::function<QString(const QString &)> m_locate;
    std::deque<File> m_files; // the design first; a deque keeps each entry in place
    QHash<QString, int> m_fileIndex; // by the file's path
    QHash<QString, int> m_pieceFiles; // by the name a piece is included under
    QStringList m_chain; // the names being read, for a cycle's message
    qint64 m_totalSize = 0;
    QString m_error;
};
