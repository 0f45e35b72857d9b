#include "app/TitleWindow.h"

#include "widgets/ClickLabel.h"
#include "widgets/WindowDesign.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace {

QPixmap titlePicture()
{
    // Named, not guessed: guessing would ask every image-format plugin first.
    QImageReader reader(QStringLiteral(":/widgets/assets/title.bmp"), "bmp");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

TitleWindow::TitleWindow(QWidget *parent)
    : QWidget(parent, fixedWindow(Qt::Window))
{
    setDesign(*this, QStringLiteral("FrmTytle"), QStringLiteral("Выбери продолжение рассказа"),
        QSize(ClientWidth, ClientHeight));
    setAttribute(Qt::WA_DeleteOnClose);
    fillBackground(*this, Qt::white);

    m_image = new ClickLabel(this);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setPixmap(titlePicture());
    m_image->setGeometry(twips(240), twips(240), twips(7080), twips(5070));
    // Enter or Space on the picture starts as a click does.
    m_image->makeButton(
        QStringLiteral("Тропинец. Нажми Ввод или щёлкни по картинке, чтобы начать"));
    connect(m_image, &ClickLabel::clicked, this, &TitleWindow::pictureClicked);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setSingleShot(true);
    // Qt's default coarse timer may fire up to 5 % early or late.
    m_timer->setTimerType(Qt::PreciseTimer);
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
    // The icon and the hand are read through Qt's icon plugin, which costs a
    // fifth of the start: the picture is shown first, they follow at once.
    QMetaObject::invokeMethod(this, &TitleWindow::dress, Qt::QueuedConnection);
}

void TitleWindow::dress()
{
    setWindowIcon(programIcon());
    setCursor(handCursor());
    m_image->setCursor(handCursor());
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
