#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

// Reads the common uncompressed BMPs (8-bit with a palette, 24 and 32 bits)
// a band of rows at a time, averaging each band straight into a picture of
// the size asked for. A 6000 x 4000 photo never has to be held whole: the
// memory is one band and the result. Every other BMP is left to Qt's reader.
class BmpBands {
public:
    enum class Outcome { Read, NotHandled, Failed };
    struct Result {
        Outcome outcome = Outcome::NotHandled;
        QImage image;
        QString reason; // in Russian, when Failed
    };

    // The file's header must say full; the picture comes out at size, which
    // is no larger than full in either direction. The device is read from
    // its start.
    static Result read(QIODevice &file, QSize full, QSize size);

    static constexpr int BandRows = 64;
};
