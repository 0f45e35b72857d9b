#include "pictures/CursorHotSpot.h"

#include <QtEndian>

std::optional<QPoint> cursorHotSpot(QByteArrayView bytes)
{
    const auto word = [bytes](int at) { return qFromLittleEndian<quint16>(bytes.data() + at); };
    // A 6-byte header (0, type 2, image count), then 16 bytes for each image.
    if (bytes.size() < 6 + 16 || word(0) != 0 || word(2) != 2 || word(4) == 0)
        return std::nullopt;
    const int width = quint8(bytes[6]) ? quint8(bytes[6]) : 256;
    const int height = quint8(bytes[7]) ? quint8(bytes[7]) : 256;
    const QPoint hotSpot(word(10), word(12));
    if (hotSpot.x() >= width || hotSpot.y() >= height)
        return std::nullopt;
    return hotSpot;
}
