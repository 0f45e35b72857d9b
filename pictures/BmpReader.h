#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <array>

class QIODevice;
class RowAverage;

// Reads every kind of BMP that paint programs and other writers make:
// headers of 12 to 124 bytes, 1 to 32 bits a point, palettes of any length,
// bit masks (also with alpha), RLE8 and RLE4, rows stored bottom-up or
// top-down. Each row is averaged into the picture asked for as soon as it
// is read, so the memory is one row and the result, whatever the size.
class BmpReader {
public:
    // Reads the header; the device is read from its start.
    explicit BmpReader(QIODevice &file);

    // Why the file cannot be shown, in Russian; empty while it can.
    const QString &problem() const { return m_problem; }
    QSize size() const { return m_size; }

    // The picture averaged into size, which is no larger than size() in
    // either direction; null, with problem() set, on failure. A row is held
    // whole: the caller bounds size() first.
    QImage read(QSize size);

private:
    bool readPlain(RowAverage &average);
    bool readRunLengths(RowAverage &average);
    void decodeRow(const uchar *bytes, uchar *row);
    QRgb fromMasks(quint32 value);

    QIODevice &m_file;
    QString m_problem;
    QSize m_size;
    bool m_topDown = false;
    int m_bits = 0;
    enum class Packing { Plain, Rle8, Rle4 } m_packing = Packing::Plain;
    qint64 m_pixelsAt = 0;
    std::array<QRgb, 256> m_palette {};
    // Red, green, blue and alpha: each channel's mask, the place of its
    // lowest bit, and its values widened to 8 bits.
    struct Channel {
        quint32 mask = 0;
        int shift = 0;
        int bits = 0;
        std::array<uchar, 256> widened {};
    };
    std::array<Channel, 4> m_channels {};
};
