#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <span>

// The lines of a story file to bytes and back, a chunk at a time: neither
// the whole file's bytes nor a joined copy of its text is ever held, and
// every line is decoded straight into its string, which never grows by
// copying.
//
// Bytes: each line ends in CR LF, the last one too. Windows-1251 when every
// character fits and the bytes could not be taken for UTF-8's mark,
// otherwise UTF-8 with a byte-order mark. A line break inside a line would
// shift every later line, so it is written as a space. Reading takes
// UTF-8 when the bytes start with its mark, Windows-1251 otherwise; a line
// ends at CR LF, a lone CR or a lone LF.
class LineCodec {
public:
    static constexpr qsizetype DefaultChunk = 64 * 1024;

    // Takes the next bytes; false stops the writing.
    using Sink = std::function<bool(QByteArrayView)>;
    // Fills the buffer with up to its size of the next bytes: the count
    // read, 0 at the end, -1 on a failure.
    using Source = std::function<qint64(char *, qint64)>;

    static bool write(
        std::span<const QString> lines, const Sink &sink, qsizetype chunk = DefaultChunk);

    enum class Status { Read, Failed, TooBig };
    struct Decoded {
        QStringList lines; // exactly count, missing ones empty
        Status status = Status::Read;
    };
    // The first count lines, in one pass over the bytes; lines after the
    // count are never read. When the count lines need more than maxBytes,
    // TooBig. sizeHint, the number of bytes the source is expected to give,
    // lets each line be decoded into a string that never has to grow.
    static Decoded read(const Source &source, int count, qint64 maxBytes, qint64 sizeHint,
        qsizetype chunk = DefaultChunk);
};
