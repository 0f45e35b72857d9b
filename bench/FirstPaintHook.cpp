// Linked into the bench's own builds of the program and of an empty window,
// never into the program that is shipped. TROPINETS_BENCH chooses:
//   painted  as soon as its first window has been painted, the process
//            prints the processor time it has taken, in seconds, and ends;
//   idle     the title window, if any, is clicked away, and once the window
//            that follows has been painted and left idle for half a second, the
//            process prints its resident memory in bytes and ends.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

void click(QWidget *widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre),
        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

class FirstPaint : public QObject

{
public:
    explicit FirstPaint(bool idle)
        : m_idle(idle)
    {
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(object);
        if (event->type() == QEvent::Paint && window && window->isWindow() && !m_done) {
            m_done = true;
            // Queued, so that the whole window has been painted and shown.
            QPointer<QWidget> painted(window);
            QMetaObject::invokeMethod(
                this, [this, painted] { paintedOnce(painted); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void paintedOnce(QWidget *window)
    {
        if (!m_idle) {
            rusage usage {};
            getrusage(RUSAGE_SELF, &usage);
            const auto seconds = [](timeval t) { return t.tv_sec + t.tv_usec / 1e6; };
            std::printf("%.6f\n", seconds(usage.ru_utime) + seconds(usage.ru_stime));
            std::fflush(stdout);
            _exit(0);
        }
        QWidget *title = window && window->objectName() == QLatin1String("FrmTytle")
            ? window->findChild<QWidget *>(QStringLiteral("Image1"))
            : nullptr;
        if (title) {
            m_done = false;
            click(title);
            return;
        }
        QTimer::singleShot(500, [] {
            std::printf("%lld\n", residentBytes());
            std::fflush(stdout);
            _exit(0);
        });
    }

    const bool m_idle;
    bool m_done = false;
};

void installFirstPaint()
{
    const QByteArray mode = qgetenv("TROPINETS_BENCH");
    if (mode != "painted" && mode != "idle")
        return;
    qApp->installEventFilter(new FirstPaint(mode == "idle"));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaint)
