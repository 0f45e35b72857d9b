#include "story/LineCodec.h"

#include "story/Cp1251.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include <sys/mman.h>

namespace {

constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF", 3);

// Windows-1251 bytes that begin like UTF-8's byte-order mark would be read
// back as UTF-8.
const QString LooksLikeBom = Cp1251::decode(Utf8Bom);

// Collects bytes into one chunk and hands each full chunk to the sink.
class ChunkWriter {
public:
    ChunkWriter(const LineCodec::Sink &sink, qsizetype chunk)
        : m_sink(sink)
        , m_size(std::max<qsizetype>(chunk, 8))
        , m_buffer(new char[m_size])
    {
    }

    char *out() { return m_buffer.get() + m_used; }
    qsizetype space() const { return m_size - m_used; }
    qsizetype capacity() const { return m_size; }
    void wrote(qsizetype n) { m_used += n; }

    bool flush()
    {
        if (m_used == 0)
            return true;
        const qsizetype used = std::exchange(m_used, 0);
        return m_sink(QByteArrayView(m_buffer.get(), used));
    }
    // Makes room for at least n bytes.
    bool room(qsizetype n) { return space() >= n || flush(); }

private:
    const LineCodec::Sink &m_sink;
    qsizetype m_size;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_used = 0;
};

void lineBreaksToSpaces(char *bytes, qsizetype n)
{
    char *const end = bytes + n;
    for (const char lineBreak : { '\r', '\n' }) {
        for (auto *at = static_cast<char *>(std::memchr(bytes, lineBreak, n)); at;
             at = static_cast<char *>(std::memchr(at + 1, lineBreak, end - at - 1)))
            *at = ' ';
    }
}

bool writeCp1251(std::span<const QString> lines, ChunkWriter &writer)
{
    for (const QString &line : lines) {
        for (qsizetype at = 0; at < line.size();) {
            if (!writer.room(1))
                return false;
            const qsizetype n = std::min(line.size() - at, writer.space());
            Cp1251::encodeInto(QStringView(line).sliced(at, n), writer.out());
            lineBreaksToSpaces(writer.out(), n);
            writer.wrote(n);
            at += n;
        }
        for (const char end : { '\r', '\n' }) {
            if (!writer.room(1))
                return false;
            *writer.out() = end;
            writer.wrote(1);
        }
    }
    return writer.flush();
}

bool writeUtf8(std::span<const QString> lines, ChunkWriter &writer)
{
    // Each piece is encoded as the whole text would be (a half of a pair
    // alone becomes '?'), so no pair may be cut between two pieces.
    const auto put = [&](QByteArrayView bytes, bool text) {
        if (!writer.room(bytes.size()))
            return false;
        std::memcpy(writer.out(), bytes.data(), bytes.size());
        if (text)
            lineBreaksToSpaces(writer.out(), bytes.size());
        writer.wrote(bytes.size());
        return true;
    };
    if (!put(Utf8Bom, false))
        return false;
    const qsizetype most = std::max<qsizetype>(2, writer.capacity() / 3);
    for (const QString &line : lines) {
        QStringView rest = line;
        while (!rest.isEmpty()) {
            qsizetype n = std::min(rest.size(), most);
            if (n < rest.size() && rest[n - 1].isHighSurrogate() && rest[n].isLowSurrogate())
                --n;
            if (!put(rest.first(n).toUtf8(), true))
                return false;
            rest = rest.sliced(n);
        }
        if (!put("\r\n", false))
            return false;
    }
    return writer.flush();
}

// A text of megabytes is written into fresh memory page by page; backed by
// large pages it takes the system some hundred times fewer faults to
// provide.
void adviseLarge(void *data, qint64 bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr quintptr Large = 2 * 1024 * 1024;
    if (bytes < 2 * qint64(Large))
        return;
    const quintptr start = (quintptr(data) + Large - 1) & ~(Large - 1);
    const quintptr end = (quintptr(data) + quintptr(bytes)) & ~(Large - 1);
    if (end > start)
        madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(bytes);
#endif
}

// One line as its bytes come by. Its string is made as large as the rest of
// the file could need and cut to its size at the end: the pages never
// written cost nothing, and cutting gives the rest back without a copy.
class LineBuilder {
public:
    explicit LineBuilder(bool utf8)
        : m_utf8(utf8)
        , m_fromUtf8(QStringDecoder::Utf8,
              QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless)
    {
    }

    // Adds bytes of the line; whole says they are all the rest of it.
    void append(QByteArrayView part, qint64 restOfFile, bool whole)
    {
        if (part.isEmpty())
            return;
        const qint64 needed = m_filled + part.size();
        const qint64 capacity = m_utf8 ? m_bytes.size() : m_text.size();
        if (needed > capacity) {
            // A line that ends where it starts gets just its size; a file
            // grown since its size was taken still reads whole.
            const qint64 size
                = whole ? needed : std::max(needed, std::max(m_filled + restOfFile, 2 * capacity));
            if (capacity == 0 && m_utf8)
                m_bytes = QByteArray(size, Qt::Uninitialized);
            else if (capacity == 0)
                m_text = QString(size, Qt::Uninitialized);
            else if (m_utf8)
                m_bytes.resize(size);
            else
                m_text.resize(size);
            if (capacity == 0)
                adviseLarge(m_utf8 ? static_cast<void *>(m_bytes.data()) : m_text.data(),
                    m_utf8 ? size : size * 2);
        }
        if (m_utf8)
            std::memcpy(m_bytes.data() + m_filled, part.data(), part.size());
        else
            Cp1251::decodeInto(part, reinterpret_cast<char16_t *>(m_text.data()) + m_filled);
        m_filled += part.size();
    }

    QString finish()
    {
        QString line;
        if (m_utf8) {
            line = m_fromUtf8(QByteArrayView(m_bytes).first(m_filled));
            m_bytes = QByteArray();
            // Decoding made room for one character per byte.
            line.squeeze();
        } else {
            m_text.truncate(m_filled);
            m_text.squeeze();
            line = std::exchange(m_text, QString());
        }
        m_filled = 0;
        return line;
    }

private:
    bool m_utf8;
    QStringDecoder m_fromUtf8;
    qint64 m_filled = 0;
    QString m_text;
    QByteArray m_bytes;
};

// Splits the bytes into lines as they come by, chunk after chunk.
class LineSplitter {
public:
    LineSplitter(bool utf8, int count, qint64 fileSize)
        : m_builder(utf8)
        , m_count(count)
        , m_fileSize(fileSize)
    {
        m_lines.reserve(count);
    }

    bool done() const { return m_lines.size() >= m_count; }

    void take(const char *bytes, qint64 n)
    {
        qint64 i = 0;
        if (std::exchange(m_crPending, false) && n > 0 && bytes[0] == '\n')
            i = 1;
        const char *cr = static_cast<const char *>(std::memchr(bytes + i, '\r', n - i));
        const char *lf = static_cast<const char *>(std::memchr(bytes + i, '\n', n - i));
        while (!done()) {
            if (!cr && !lf) {
                append(bytes + i, n - i, false);
                break;
            }
            const char *end = !cr ? lf : !lf ? cr : std::min(cr, lf);
            append(bytes + i, end - bytes - i, true);
            m_lines << m_builder.finish();
            m_hasLine = false;
            i = end - bytes + 1;
            if (*end == '\r') {
                if (i == n)
                    m_crPending = true;
                else if (bytes[i] == '\n')
                    ++i;
            }
            if (cr && cr < bytes + i)
                cr = static_cast<const char *>(std::memchr(bytes + i, '\r', n - i));
            if (lf && lf < bytes + i)
                lf = static_cast<const char *>(std::memchr(bytes + i, '\n', n - i));
        }
        m_offset += n;
    }

    // The end of the bytes ends the last line.
    QStringList finish()
    {
        if (m_hasLine && !done())
            m_lines << m_builder.finish();
        return std::move(m_lines);
    }

private:
    void append(const char *bytes, qint64 n, bool whole)
    {
        m_hasLine = true;
        m_builder.append(QByteArrayView(bytes, n), m_fileSize - m_offset, whole);
    }

    LineBuilder m_builder;
    QStringList m_lines;
    int m_count;
    qint64 m_fileSize;
    qint64 m_offset = 0;
    bool m_crPending = false; // the last chunk ended in CR: an LF now belongs to it
    bool m_hasLine = false; // bytes of a line not yet ended have come
};

} // namespace

bool LineCodec::write(std::span<const QString> lines, const Sink &sink, qsizetype chunk)
{
    bool fits = lines.empty() || !lines.front().startsWith(LooksLikeBom);
    for (const QString &line : lines)
        fits = fits && Cp1251::canEncode(line);
    ChunkWriter writer(sink, chunk);
    return fits ? writeCp1251(lines, writer) : writeUtf8(lines, writer);
}

LineCodec::Decoded LineCodec::read(
    const Source &source, int count, qint64 maxBytes, qint64 sizeHint, qsizetype chunk)
{
    chunk = std::max<qsizetype>(chunk, Utf8Bom.size());
    // Kept from one read to the next: a buffer freed and taken anew would
    // cost the system's fresh pages on every Open.
    thread_local std::vector<char> kept;
    if (qsizetype(kept.size()) < chunk)
        kept.resize(chunk);
    const auto buffer = [&] { return kept.data(); };
    Decoded result;
    // The first bytes decide the encoding, however the source cuts them.
    qint64 head = 0;
    while (head < Utf8Bom.size()) {
        const qint64 n = source(buffer() + head, Utf8Bom.size() - head);
        if (n < 0)
            result.status = Status::Failed;
        if (n <= 0)
            break;
        head += n;
    }
    const bool utf8 = QByteArrayView(buffer(), head) == Utf8Bom;
    const qint64 mostRead
        = maxBytes > std::numeric_limits<qint64>::max() - chunk ? maxBytes : maxBytes + chunk;
    LineSplitter lines(utf8, count, std::min(sizeHint, mostRead));
    if (!utf8)
        lines.take(buffer(), head);
    qint64 offset = head;
    while (result.status == Status::Read && !lines.done()) {
        if (offset > maxBytes) {
            result.status = Status::TooBig;
            break;
        }
        const qint64 n = source(buffer(), chunk);
        if (n < 0)
            result.status = Status::Failed;
        if (n <= 0)
            break;
        lines.take(buffer(), n);
        offset += n;
    }
    if (result.status == Status::Read)
        result.lines = lines.finish();
    while (result.lines.size() < count)
        result.lines << QString();
    return result;
}
