#pragma once

#include <QImage>
#include <QSize>

#include <vector>

// Shrinks a picture that arrives one row at a time: each pixel of the result
// is the mean of the part of the picture it covers, pixels that it covers in
// part weighed by that part, as a 1-bit dithered picture needs. The rows
// come in the order the file stores them, top first or bottom first, and
// their pixels as a BMP stores them: blue, green, red and maybe a fourth byte.
class RowAverage {
public:
    // pixelBytes is 3 or 4. With alpha, the fourth byte is alpha, the rows
    // come premultiplied and so does the result.
    RowAverage(QSize full, QSize size, int pixelBytes, bool topDown, bool alpha);

    // The next row of full.width() pixels.
    void add(const uchar *row);
    // Null if the memory for it could not be had.
    const QImage &result() const { return m_result; }

private:
    // The pixels of the picture that one pixel of the result covers: whole
    // ones weigh its size, the first and the last maybe less.
    struct Span {
        int first = 0;
        int last = 0;
        quint32 firstWeight = 0;
        quint32 lastWeight = 0;
    };
    static std::vector<Span> spans(int full, int size);
    void addWeighted(const uchar *row, quint32 weight);
    void finishRow();

    std::vector<Span> m_columns;
    std::vector<Span> m_rows;
    QSize m_full;
    QSize m_size;
    int m_pixelBytes;
    // The result's row so far, summed down each column, one sum a byte: the
    // rows wholly inside it as they are, the others weighed by their part.
    std::vector<quint16> m_wholeRows;
    std::vector<quint32> m_partRows;
    QImage m_result;
    bool m_topDown;
    int m_row = 0; // of the result, in the file's order
    int m_added = 0;
};
