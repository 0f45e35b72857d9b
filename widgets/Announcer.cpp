#include "widgets/Announcer.h"

#include <QAccessibleWidget>

namespace {

class AnnouncerAccessible : public QAccessibleWidget {
public:
    explicit AnnouncerAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::Notification)
    {
    }
};

QAccessibleInterface *announcerInterface(const QString &className, QObject *object)
{
    if (className != QLatin1String("Announcer") || !object->isWidgetType())
        return nullptr;
    return new AnnouncerAccessible(static_cast<QWidget *>(object));
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(announcerInterface);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
    m_gone.setSingleShot(true);
    m_gone.setInterval(1000);
    connect(&m_gone, &QTimer::timeout, this, &QWidget::hide);
}

void Announcer::say(const QString &words)
{
    setAccessibleName(words);
    // Screen readers speak a notification as it appears.
    hide();
    show();
    m_gone.start();
}
