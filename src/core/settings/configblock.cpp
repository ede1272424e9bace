#include "core/settings/configblock.h"

#include "core/files/fileaccess.h"
#include "core/text/cp1250.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <limits>

namespace {
constexpr int directoryOffset = 0;
constexpr int directorySize = 256;
constexpr int heightOffset = 292;
constexpr int widthOffset = 296;
constexpr int topOffset = 300;
constexpr int leftOffset = 304;
constexpr int firstBoxOffset = 308;
} // namespace

ConfigBlock::ConfigBlock()
    : m_bytes(size, '\0')
{
}

void ConfigBlock::read(QIODevice &device)
{
    const QByteArray data = device.read(size);
    m_bytes = QByteArray(size, '\0');
    m_bytes.replace(0, data.size(), data);
    m_suppliedBytes = int(data.size());
}

void ConfigBlock::setBytes(const QByteArray &bytes)
{
    const QByteArray data = bytes.left(size);
    m_bytes = QByteArray(size, '\0');
    m_bytes.replace(0, data.size(), data);
    m_suppliedBytes = int(data.size());
}

bool ConfigBlock::write(QIODevice &device) const
{
    return device.write(m_bytes) == size;
}

void ConfigBlock::readFile(const QString &path)
{
    QFile file;
    if (Files::openForReading(file, path))
        read(file);
}

bool ConfigBlock::writeFile(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!write(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString ConfigBlock::farmDatabaseDirectory() const
{
    return Text::readFixedField(m_bytes.constData() + directoryOffset, directorySize);
}

void ConfigBlock::setFarmDatabaseDirectory(const QString &directory)
{
    Text::writeFixedField(m_bytes.data() + directoryOffset, directorySize, directory);
    m_suppliedBytes = std::max(m_suppliedBytes, directorySize);
}

qint32 ConfigBlock::int32At(int offset) const
{
    return qFromLittleEndian<qint32>(m_bytes.constData() + offset);
}

void ConfigBlock::setInt32At(int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, m_bytes.data() + offset);
    m_suppliedBytes = std::max(m_suppliedBytes, offset + 4);
}

std::optional<QRect> ConfigBlock::mainWindowGeometry() const
{
    if (!supplied(heightOffset, 16))
        return std::nullopt;
    const int height = int32At(heightOffset);
    const int width = int32At(widthOffset);
    const int top = int32At(topOffset);
    const int left = int32At(leftOffset);
    // A window of no size cannot be meant, nor one reaching beyond the last coordinate;
    // keep the built-in size then.
    if (height <= 0 || width <= 0 || qint64(left) + width > std::numeric_limits<int>::max()
        || qint64(top) + height > std::numeric_limits<int>::max())
        return std::nullopt;
    return QRect(left, top, width, height);
}

void ConfigBlock::setMainWindowGeometry(const QRect &geometry)
{
    setInt32At(heightOffset, geometry.height());
    setInt32At(widthOffset, geometry.width());
    setInt32At(topOffset, geometry.top());
    setInt32At(leftOffset, geometry.left());
}

std::optional<QPoint> ConfigBlock::boxPosition(Box box) const
{
    const int offset = firstBoxOffset + 8 * int(box);
    if (box < 0 || box >= boxCount || !supplied(offset, 8))
        return std::nullopt;
    return QPoint(int32At(offset + 4), int32At(offset)); // stored Top, then Left
}

void ConfigBlock::setBoxPosition(Box box, const QPoint &topLeft)
{
    if (box < 0 || box >= boxCount)
        return;
    const int offset = firstBoxOffset + 8 * int(box);
    setInt32At(offset, topLeft.y());
    setInt32At(offset + 4, topLeft.x());
}
