#include "windows/TitleWindow.h"

#include "windows/ClickLabel.h"
#include "windows/WindowDesign.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QtEndian>

#include <sys/mman.h>
#include <unistd.h>

namespace {

const QString TitlePicture = QStringLiteral(":/windows/assets/title.bmp");

// The title picture's bytes lie in the program file, and once shown they are
// never read again: their pages are handed back to the system rather than
// kept for the rest of the run. A hint only: should anything read them
// again, they come back from the file.
void handBackPages(const QString &path)
{
#ifdef MADV_PAGEOUT
    QFile file(path);
    const uchar *data = file.open(QIODevice::ReadOnly) ? file.map(0, file.size()) : nullptr;
    if (!data)
        return;
    const auto page = quintptr(sysconf(_SC_PAGESIZE));
    const quintptr start = (quintptr(data) + page - 1) & ~(page - 1);
    const quintptr end = (quintptr(data) + quintptr(file.size())) & ~(page - 1);
    if (end > start)
        madvise(reinterpret_cast<void *>(start), end - start, MADV_PAGEOUT);
#else
    Q_UNUSED(path);
#endif
}

// The title picture is the program's own uncompressed 24-bit bitmap. Qt's
// bitmap reader spends some forty instructions on each pixel, a fifth of the
// whole start; this reads that one layout and leaves any other to Qt.
QImage readTitlePicture(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    // The resource is stored uncompressed, so it can be read where it lies.
    const uchar *mapped = file.map(0, file.size());
    const QByteArray bytes = mapped
        ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), file.size())
        : file.readAll();
    const auto word = [&bytes](int at) { return qFromLittleEndian<quint16>(bytes.data() + at); };
    const auto number = [&bytes](int at) { return qFromLittleEndian<qint32>(bytes.data() + at); };
    if (bytes.size() >= 54 && bytes.startsWith("BM") && number(14) == 40 && word(26) == 1
        && word(28) == 24 && number(30) == 0) {
        const qint64 width = number(18), height = number(22), offset = number(10);
        const qint64 stride = (width * 3 + 3) / 4 * 4;
        if (width > 0 && height > 0 && width <= 4096 && height <= 4096 && offset >= 54
            && offset + stride * height <= bytes.size()) {
            QImage image(int(width), int(height), QImage::Format_RGB32);
            // Rows are stored bottom up, each pixel as blue, green, red: read
            // as a little-endian word, those three bytes are the pixel's
            // 0xRRGGBB, and the fourth, the next pixel's, is masked off. A
            // row's last pixel is read bytewise, for its fourth byte may lie
            // past the end of the file. The rows are taken in the file's
            // order: the bytes, read for the first time, come in quickest so.
            for (int y = int(height) - 1; y >= 0; --y) {
                const auto *from = reinterpret_cast<const uchar *>(bytes.data())
                    + offset + (height - 1 - y) * stride;
                auto *to = reinterpret_cast<QRgb *>(image.scanLine(y));
                const int last = int(width) - 1;
                for (int x = 0; x < last; ++x, from += 3)
                    to[x] = 0xff000000u | (qFromLittleEndian<quint32>(from) & 0x00ffffffu);
                to[last] = qRgb(from[2], from[1], from[0]);
            }
            if (number(38) > 0)
                image.setDotsPerMeterX(number(38));
            if (number(42) > 0)
                image.setDotsPerMeterY(number(42));
            return image;
        }
    }
    // Read as BMP, not guessed: guessing asks every image-format plugin first.
    QImageReader reader(path, "BMP");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

TitleWindow::TitleWindow(QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FrmTytle"));
    setWindowTitle(QStringLiteral("Выбери продолжение рассказа"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    m_image = new ClickLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(
        QPixmap::fromImage(readTitlePicture(TitlePicture)));
    m_image->setGeometry(twips(240), twips(240), twips(7080), twips(5070));
    // Enter or Space on the picture starts as a click does.
    m_image->makeButton(QStringLiteral("Тропинец. Щёлкни по картинке, чтобы начать"));
    connect(m_image, &ClickLabel::clicked, this, &TitleWindow::pictureClicked);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(TimerInterval);
    connect(m_timer, &QTimer::timeout, this, &TitleWindow::timedOut);
    m_timer->start();

    // Centred on the screen under the mouse, where the user is looking.
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        setGeometry(QStyle::alignedRect(
            Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
    }
}

void TitleWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (m_dressed)
        return;
    m_dressed = true;
    // The icon and the hand are read through Qt's image plugins, which cost a
    // good part of the start; the picture is shown first, they follow at once.
    QMetaObject::invokeMethod(this, &TitleWindow::dress, Qt::QueuedConnection);
}

void TitleWindow::dress()
{
    handBackPages(TitlePicture);
    setWindowIcon(programIcon());
    setCursor(handCursor());
    m_image->setCursor(handCursor());
    emit dressed();
}

void TitleWindow::pictureClicked()
{
    handover();
}

void TitleWindow::timedOut()
{
    handover();
}

void TitleWindow::handover()
{
    // A click and the tick can both be queued before the window is gone.
    if (m_gone)
        return;
    m_gone = true;
    m_timer->stop();
    hide();
    // Deleted once this handler has returned to the event loop.
    deleteLater();
    emit handedOver();
}

void TitleWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_gone)
        return;
    m_gone = true;
    m_timer->stop();
    emit closedBeforeHandover();
}
