// make_paradox_seeds DIR: writes the seed corpus of the Paradox fuzzer into DIR. Each seed is
// a 32-bit little-endian table length, the table, then its memo file. "ok-" seeds are
// tables pxlib wrote; "bad-" seeds are such tables cut short or with a damaged header,
// block or memo pointer.
#include "support/paradoxwriter.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using Paradox::FieldType;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray seed(const QByteArray &table, const QByteArray &memo = QByteArray())
{
    QByteArray bytes(4, '\0');
    const quint32 size = quint32(table.size());
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((size >> (8 * i)) & 0xff);
    return bytes + table + memo;
}

QByteArray patched(QByteArray bytes, int offset, const QByteArray &with)
{
    bytes.replace(offset, with.size(), with);
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("Használat: make_paradox_seeds MAPPA\n", stderr);
        return 2;
    }
    QTemporaryDir work;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!work.isValid() || !QDir().mkpath(out.path()))
        return 1;

    ParadoxWriter::Table everyType;
    everyType.codePage = 852;
    everyType.fields = {{QStringLiteral("Nev"), FieldType::Alpha, 20},
                        {QStringLiteral("Szam"), FieldType::Number},
                        {QStringLiteral("Rovid"), FieldType::Short},
                        {QStringLiteral("Hosszu"), FieldType::Long},
                        {QStringLiteral("Sorszam"), FieldType::AutoIncrement},
                        {QStringLiteral("Torolt"), FieldType::Logical},
                        {QStringLiteral("Datum"), FieldType::Date},
                        {QStringLiteral("Ertek"), FieldType::Bcd, 0, 2},
                        {QStringLiteral("Jav"), FieldType::FormattedMemo, 20}};
    const QString longMemo = QString(QStringLiteral("Őszi műtrágyázás. ")).repeated(200);
    everyType.rows = {{QStringLiteral("Tűzőgép"), 6.07, 12, 70000, 1, true,
                       QDate(2012, 3, 5), 12.5, QStringLiteral("rövid")},
                      {QVariant(), QVariant(), QVariant(), QVariant(), 2, false, QVariant(),
                       QVariant(), longMemo},
                      {QStringLiteral("Árvíztűrő"), -1.5, -3, -70000, 3, QVariant(),
                       QDate(1999, 12, 31), -0.25,
                       QStringLiteral("Egy bekezdés, amely a rekordba már nem fér bele.")}};
    QString error;
    const QString everyTypePath = work.filePath(QStringLiteral("Minden.db"));
    if (!ParadoxWriter::write(everyTypePath, everyType, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QByteArray everyTable = readFile(everyTypePath);
    const QByteArray everyMemo = readFile(work.filePath(QStringLiteral("Minden.MB")));

    if (!ParadoxWriter::writeSampleFarm(QStringLiteral(NUTRISOR_SAMPLE_FARM_CSV),
                                        work.filePath(QStringLiteral("farm")), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const QByteArray fields = readFile(work.filePath(QStringLiteral("farm/Tablak.db")));
    const QByteArray samples = readFile(work.filePath(QStringLiteral("farm/Talajmintak.db")));

    ParadoxWriter::Table empty;
    empty.fields = {{QStringLiteral("Nev"), FieldType::Alpha, 10}};
    const QString emptyPath = work.filePath(QStringLiteral("Ures.db"));
    if (!ParadoxWriter::write(emptyPath, empty, &error))
        return 1;

    // The first block of the every-type table starts after its 2 KiB header; the memo
    // pointer of the second record sits in the last ten bytes of its Jav field.
    const int block = 0x800;
    const int recordSize = 20 + 8 + 2 + 4 + 4 + 1 + 4 + 17 + 20;
    const int secondMemoPointer = block + 6 + recordSize + recordSize - 10;
    const QList<std::pair<QString, QByteArray>> seeds = {
        {QStringLiteral("ok-every-type-852"), seed(everyTable, everyMemo)},
        {QStringLiteral("ok-fields-1250"), seed(fields)},
        {QStringLiteral("ok-samples-852"), seed(samples)},
        {QStringLiteral("ok-empty"), seed(readFile(emptyPath))},
        {QStringLiteral("bad-empty"), seed(QByteArray())},
        {QStringLiteral("bad-truncated"), seed(samples.left(samples.size() - 1))},
        {QStringLiteral("bad-record-size"), seed(patched(fields, 0, QByteArray("\x10\x00", 2)))},
        {QStringLiteral("bad-record-count"), seed(patched(samples, 6, QByteArray("\xff\x00", 2)))},
        {QStringLiteral("bad-block-loop"), seed(patched(fields, block, QByteArray("\x01\x00", 2)))},
        {QStringLiteral("bad-field-type"), seed(patched(fields, 0x78, QByteArray("\x07", 1)))},
        {QStringLiteral("bad-memo-missing"), seed(everyTable)},
        {QStringLiteral("bad-memo-pointer"),
         seed(patched(everyTable, secondMemoPointer, QByteArray("\x00\x00\x01\x00", 4)),
              everyMemo)},
        {QStringLiteral("bad-memo-length"),
         seed(patched(everyTable, secondMemoPointer + 4, QByteArray("\x00\x00\x01\x00", 4)),
              everyMemo)},
    };
    for (const auto &[name, bytes] : seeds) {
        QFile file(out.filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
