#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

class QIODevice;

// The image of config.ini: a 364-byte block holding the farm database directory and the
// layout of the main window and of seven boxes. The 36 reserved bytes are carried through
// unchanged. A field that a short or missing file did not supply reads as "not stored", so
// the caller can keep its built-in layout for it.
class ConfigBlock
{
public:
    static constexpr int size = 364;

    // The boxes whose place is stored, in the order of the file.
    enum Box { StepList, Step1, Step2, Step3, Step4, Result, Step5, boxCount };

    ConfigBlock();

    // Reads up to 364 bytes; a shorter source fills only its length.
    void read(QIODevice &device);
    void setBytes(const QByteArray &bytes);
    const QByteArray &bytes() const { return m_bytes; }

    // Writes the whole block; false when the device did not take all of it.
    bool write(QIODevice &device) const;

    // File-level read (no message in any case) and write (false on failure).
    void readFile(const QString &path);
    bool writeFile(const QString &path) const;

    QString farmDatabaseDirectory() const;
    void setFarmDatabaseDirectory(const QString &directory);

    // Height, Width, Top and Left of the main window; no value unless the file supplied all
    // four and they describe a window of some size whose edges are coordinates.
    std::optional<QRect> mainWindowGeometry() const;
    void setMainWindowGeometry(const QRect &geometry);

    // Top-left of a box; no value unless the file supplied it.
    std::optional<QPoint> boxPosition(Box box) const;
    void setBoxPosition(Box box, const QPoint &topLeft);

    QByteArray reserved() const { return m_bytes.mid(256, 36); }

private:
    qint32 int32At(int offset) const;
    void setInt32At(int offset, qint32 value);
    bool supplied(int offset, int length) const { return m_suppliedBytes >= offset + length; }

    QByteArray m_bytes;
    int m_suppliedBytes = 0; // how much of the block the last read filled
};
