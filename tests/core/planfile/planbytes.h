#pragma once

#include <QByteArray>

#include <bit>
#include <cstring>

// Plan file bytes put together field by field, little-endian, without the writer, so that
// the reader and the writer are each checked against an image built by other means.
class PlanBytes
{
public:
    PlanBytes &int32(qint32 value)
    {
        const auto bits = quint32(value);
        for (int i = 0; i < 4; ++i)
            m_bytes.append(char((bits >> (8 * i)) & 0xff));
        return *this;
    }
    PlanBytes &float64(double value)
    {
        const auto bits = std::bit_cast<quint64>(value);
        for (int i = 0; i < 8; ++i)
            m_bytes.append(char((bits >> (8 * i)) & 0xff));
        return *this;
    }
    PlanBytes &byte(int value)
    {
        m_bytes.append(char(quint8(value)));
        return *this;
    }
    // cp1250 bytes given as a C string, NUL-padded to the field's size.
    PlanBytes &text(const char *cp1250, int size)
    {
        QByteArray field(cp1250, qsizetype(std::strlen(cp1250)));
        field.resize(size, '\0');
        m_bytes.append(field);
        return *this;
    }
    PlanBytes &zeros(int count)
    {
        m_bytes.append(QByteArray(count, '\0'));
        return *this;
    }
    PlanBytes &raw(const QByteArray &bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }

    const QByteArray &bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};

// The header values a test sets; the rest of the header is as in a plain plan.
struct HeaderValues
{
    qint32 version = 15;
    qint32 area = 0;
    double plannedYield = 0;
    int programAverage = 0;
    int showDescriptions = 0;
    int elements[11] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    const char *lotNumber = "";
    const char *parcelNumber = "";
    const char *farmingYear = "";
    QByteArray cropId = QByteArray("000000");
    int residueCrop = 3;
    int legumeEffect = 0;
    double forecropYield = 0;
    double manureAmount = 0;
    int manureTiming = 2;
    int yieldLoss = 0;
    double residualN = 0;
    double residualP = 0;
    double residualK = 0;
};

// The 168 header bytes in the file's order.
inline QByteArray headerBytes(const HeaderValues &h)
{
    PlanBytes b;
    b.int32(h.version).int32(h.area).float64(h.plannedYield);
    b.byte(h.programAverage).byte(h.showDescriptions);
    for (int e : h.elements)
        b.byte(e);
    b.text(h.lotNumber, 30).text(h.parcelNumber, 30).text(h.farmingYear, 20);
    b.raw(h.cropId.left(6).leftJustified(6, '\0'));
    b.byte(h.residueCrop).byte(h.legumeEffect).zeros(3);
    b.float64(h.forecropYield).float64(h.manureAmount);
    b.byte(h.manureTiming).byte(h.yieldLoss).zeros(6);
    b.float64(h.residualN).float64(h.residualP).float64(h.residualK);
    return b.bytes();
}

// One soil-sample column: ten values, then the mark.
inline QByteArray columnBytes(const double (&values)[10], const char *mark)
{
    PlanBytes b;
    for (double v : values)
        b.float64(v);
    b.text(mark, 32);
    return b.bytes();
}

struct ScheduleValues
{
    qint32 materialId = 0;
    double amount = 0;
    qint32 year = 0, month = 0, day = 0;
    const char *name = "";
    double contents[11] = {};
    const char *otherName = "";
    double otherContent = 0;
    const char *unit = "";
};

inline QByteArray scheduleBytes(const ScheduleValues &s)
{
    PlanBytes b;
    b.int32(s.materialId).zeros(4).float64(s.amount);
    b.int32(s.year).int32(s.month).int32(s.day);
    b.text(s.name, 36);
    for (double v : s.contents)
        b.float64(v);
    b.text(s.otherName, 32).float64(s.otherContent).zeros(8).text(s.unit, 16);
    return b.bytes();
}

inline QByteArray leafLinkBytes(const char *mark, qint32 id)
{
    return PlanBytes().text(mark, 52).int32(id).bytes();
}
