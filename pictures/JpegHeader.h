#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QSize>
#include <QString>

#include <vector>

class QIODevice;

// What a JPEG's header says before any of its pixels are decoded: its size
// and, from how it is stored, the memory that decoding it takes.
class JpegHeader {
public:
    // Reads the header; the device is read from its start.
    explicit JpegHeader(QIODevice &file);

    // Why the file cannot be shown, in Russian; empty while it can.
    const QString &problem() const { return m_problem; }
    // As stored, before the turn its EXIF orientation asks for.
    QSize size() const { return m_size; }
    // That turn, read here because Qt's reader misses an orientation stored
    // in 32 bits, as some cameras write it.
    QImageIOHandler::Transformations transformation() const { return m_transformation; }
    // The picture decoded as stored, turned upright.
    QImage upright(QImage stored) const;

    // The most memory Qt's reader takes to decode it reduced to scaled.
    qint64 decodingBytes(QSize scaled) const;

private:
    // Reads up to the first scan; gives the problem.
    QString read(QIODevice &file);

    struct Component {
        int across = 1;
        int down = 1;
    };
    QSize m_size;
    QImageIOHandler::Transformations m_transformation;
    std::vector<Component> m_components;
    // A progressive JPEG, or one whose colours come in separate scans, is
    // held whole, as its coefficients, until its last scan is read.
    bool m_heldWhole = false;
    // Last: what sets it fills the others.
    QString m_problem;
};
