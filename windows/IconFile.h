#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QString>

// An icon (.ico) or cursor (.cur) file: its directory and its images.
// The program reads its own icon and hand cursor with it, so that the
// cursor's hot spot is known. Every size a header claims is checked against
// the bytes there are.
class IconFile
{
public:
    enum Kind { Icon = 1, Cursor = 2 };

    struct Entry
    {
        int width = 0; // as the directory gives it; 0 there means 256
        int height = 0;
        int colourCount = 0;
        int hotX = 0; // a cursor's hot spot; an icon keeps planes here
        int hotY = 0; // and its bit count here
        quint32 bytes = 0;
        quint32 offset = 0;
        int bitCount = 0; // from the image's own header
        QImage image;     // null when the image cannot be decoded
    };

    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    static IconFile parse(QByteArrayView bytes);
    static IconFile load(const QString &path);

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    Kind kind() const { return m_kind; }
    const QList<Entry> &entries() const { return m_entries; }

private:
    Kind m_kind = Icon;
    QList<Entry> m_entries;
    QString m_error;
};
