#include "story/LineCodec.h"

#include "story/Cp1251.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr QByteArrayView Utf8Bom("\xEF\xBB\xBF", 3);

// Windows-1251 bytes that begin like UTF-8's byte-order mark would be read
// back as UTF-8.
const QString LooksLikeBom = Cp1251::decode(Utf8Bom);

// Collects bytes into one chunk and hands each full chunk to the sink.
class ChunkWriter
{
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
    for (char *end = bytes + n; bytes < end; ++bytes) {
        void *cr = std::memchr(bytes, '\r', end - bytes);
        void *lf = std::memchr(bytes, '\n', end - bytes);
        if (!cr && !lf)
            return;
        bytes = static_cast<char *>(!cr ? lf : !lf ? cr : std::min(cr, lf));
        *bytes = ' ';
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
        for (const char end : {'\r', '\n'}) {
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

struct LineSpan
{
    qint64 start;
    qint64 end;
};

// Where each of the first count lines lies, and whether the bytes start
// with UTF-8's mark.
struct Scan
{
    std::vector<LineSpan> spans;
    bool utf8 = false;
    LineCodec::Status status = LineCodec::Status::Read;
    qint64 bytesInBuffer = 0; // when everything scanned is still in the buffer
};

Scan scan(const LineCodec::Source &source, char *buffer, qsizetype chunk, int count,
          qint64 maxBytes)
{
    Scan result;
    result.spans.reserve(count);
    char head[3];
    int headSize = 0;
    qint64 offset = 0;
    qint64 lineStart = 0;
    bool crPending = false; // the last chunk ended in CR: an LF now belongs to it
    while (int(result.spans.size()) < count) {
        const qint64 n = source(buffer, chunk);
        if (n < 0) {
            result.status = LineCodec::Status::Failed;
            return result;
        }
        if (n == 0)
            break;
        for (qint64 i = 0; i < n && headSize < 3; ++i)
            head[headSize++] = buffer[i];
        qint64 i = 0;
        if (std::exchange(crPending, false) && buffer[0] == '\n') {
            i = 1;
            lineStart = offset + 1;
        }
        const char *cr = static_cast<const char *>(std::memchr(buffer + i, '\r', n - i));
        const char *lf = static_cast<const char *>(std::memchr(buffer + i, '\n', n - i));
        while ((cr || lf) && int(result.spans.size()) < count) {
            const char *end = !cr ? lf : !lf ? cr : std::min(cr, lf);
            const qint64 at = end - buffer;
            result.spans.push_back({lineStart, offset + at});
            i = at + 1;
            if (*end == '\r') {
                if (i == n)
                    crPending = true;
                else if (buffer[i] == '\n')
                    ++i;
            }
            lineStart = offset + i;
            if (cr && cr < buffer + i)
                cr = static_cast<const char *>(std::memchr(buffer + i, '\r', n - i));
            if (lf && lf < buffer + i)
                lf = static_cast<const char *>(std::memchr(buffer + i, '\n', n - i));
        }
        offset += n;
        result.bytesInBuffer = offset == n ? n : 0;
        if (int(result.spans.size()) < count && offset > maxBytes) {
            result.status = LineCodec::Status::TooBig;
            return result;
        }
    }
    if (int(result.spans.size()) < count && lineStart < offset)
        result.spans.push_back({lineStart, offset});
    result.utf8 = headSize == 3 && QByteArrayView(head, 3) == Utf8Bom;
    if (result.utf8 && !result.spans.empty())
        result.spans.front().start += Utf8Bom.size();
    return result;
}

// Fills each line from the bytes as they come by, in file order.
class LineFiller
{
public:
    LineFiller(const std::vector<LineSpan> &spans, bool utf8)
        : m_spans(spans)
        , m_utf8(utf8)
        , m_fromUtf8(QStringDecoder::Utf8,
                     QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless)
    {
        m_lines.reserve(qsizetype(spans.size()));
    }

    // Bytes from the given offset of the file on.
    void take(qint64 offset, QByteArrayView bytes)
    {
        while (m_next < m_spans.size()) {
            const LineSpan &span = m_spans[m_next];
            const qint64 from = std::max(offset, span.start + m_filled);
            const qint64 to = std::min(offset + bytes.size(), span.end);
            if (from >= offset + bytes.size())
                return;
            if (from < to) {
                begin(span);
                const QByteArrayView part = bytes.sliced(from - offset, to - from);
                if (m_utf8)
                    std::memcpy(m_bytes.data() + m_filled, part.data(), part.size());
                else
                    Cp1251::decodeInto(part, reinterpret_cast<char16_t *>(m_text.data()) + m_filled);
                m_filled += part.size();
            }
            if (span.start + m_filled < span.end)
                return;
            finish();
        }
    }

    // The lines, cut short where the bytes ran out before their end.
    QStringList lines()
    {
        while (m_next < m_spans.size())
            finish();
        return std::move(m_lines);
    }

private:
    void begin(const LineSpan &span)
    {
        if (m_filled > 0)
            return;
        if (m_utf8)
            m_bytes = QByteArray(span.end - span.start, Qt::Uninitialized);
        else
            m_text = QString(span.end - span.start, Qt::Uninitialized);
    }

    void finish()
    {
        if (m_utf8) {
            m_lines << QString(m_fromUtf8(QByteArrayView(m_bytes).first(m_filled)));
            m_bytes = QByteArray();
        } else {
            m_text.truncate(m_filled);
            m_lines << std::move(m_text);
            m_text = QString();
        }
        m_filled = 0;
        ++m_next;
    }

    const std::vector<LineSpan> &m_spans;
    bool m_utf8;
    QStringDecoder m_fromUtf8;
    QStringList m_lines;
    size_t m_next = 0;
    qint64 m_filled = 0;
    QString m_text;
    QByteArray m_bytes;
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

LineCodec::Decoded LineCodec::read(const Source &source, const Rewind &rewind, int count,
                                   qint64 maxBytes, qsizetype chunk)
{
    chunk = std::max<qsizetype>(chunk, 1);
    const std::unique_ptr<char[]> buffer(new char[chunk]);
    Decoded result;
    const Scan found = scan(source, buffer.get(), chunk, count, maxBytes);
    result.status = found.status;
    if (found.status == Status::Read) {
        LineFiller filler(found.spans, found.utf8);
        const qint64 end = found.spans.empty() ? 0 : found.spans.back().end;
        if (end <= found.bytesInBuffer) {
            // A small file is decoded from the one chunk the scan read.
            filler.take(0, QByteArrayView(buffer.get(), end));
        } else if (!rewind()) {
            result.status = Status::Failed;
        } else {
            for (qint64 offset = 0; offset < end;) {
                const qint64 n = source(buffer.get(), std::min<qint64>(chunk, end - offset));
                if (n <= 0) {
                    if (n < 0)
                        result.status = Status::Failed;
                    break;
                }
                filler.take(offset, QByteArrayView(buffer.get(), n));
                offset += n;
            }
        }
        result.lines = filler.lines();
    }
    if (result.status != Status::Read)
        result.lines.clear();
    while (result.lines.size() < count)
        result.lines << QString();
    return result;
}
