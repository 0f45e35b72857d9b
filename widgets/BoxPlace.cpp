#include "widgets/BoxPlace.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// Space between the box and what it leaves in view.
constexpr int Gap = 8;

} // namespace

std::optional<QPoint> besideInView(QSize frame, const QList<QRect> &keepInView, const QRect &screen)
{
    const auto across = [&](int centre) {
        return std::clamp(centre - frame.width() / 2, screen.left(),
            std::max(screen.left(), screen.right() + 1 - frame.width()));
    };
    const auto down = [&](int top) {
        return std::clamp(
            top, screen.top(), std::max(screen.top(), screen.bottom() + 1 - frame.height()));
    };
    for (const QRect &place : keepInView) {
        const QPoint tries[] = {
            { across(place.center().x()), place.bottom() + 1 + Gap },
            { place.right() + 1 + Gap, down(place.top()) },
            { place.left() - Gap - frame.width(), down(place.top()) },
            { across(place.center().x()), place.top() - Gap - frame.height() },
        };
        for (const QPoint &at : tries) {
            const QRect box(at, frame);
            if (screen.contains(box) && !box.intersects(place))
                return at;
        }
    }
    return std::nullopt;
}

void placeBeside(QWidget &box, const QList<QRect> &keepInView)
{
    // A box is framed only once the window manager shows it; its parent
    // window's frame stands for its own.
    const QWidget *window = box.parentWidget() ? box.parentWidget()->window() : nullptr;
    QMargins frame;
    if (window) {
        const QRect outer = window->frameGeometry();
        const QRect inner = window->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
            outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    const QScreen *screen = (window ? window : &box)->screen();
    if (!screen)
        return;
    if (const auto at
        = besideInView(box.size().grownBy(frame), keepInView, screen->availableGeometry())) {
        // The client area's place: the window manager frames it where it is.
        box.setGeometry(QRect(*at + QPoint(frame.left(), frame.top()), box.size()));
    }
}
