// Sizing and placing top-level windows within the cook's screen.
#include "platform/screenfit.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace gratinel {

QRect workArea(const QWidget *window)
{
    const QWidget *parent = window ? window->parentWidget() : nullptr;
    QScreen *screen = parent ? parent->window()->screen() : QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
}

QMargins frameAllowance(const QWidget *window)
{
    if (window->isVisible()) {
        const QRect frame = window->frameGeometry();
        const QRect client = window->geometry();
        if (frame != client)
            return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                            frame.right() - client.right(), frame.bottom() - client.bottom());
    }
    // Before the window manager has framed the window: a title bar and thin borders.
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QMargins(6, qMax(title, 24) + 6, 6, 6);
}

QSize clientRoom(const QWidget *window)
{
    const QMargins f = frameAllowance(window);
    return workArea(window).size().shrunkBy(f).expandedTo(QSize(1, 1));
}

void fitToScreen(QWidget *window, QSize wanted)
{
    const QRect area = workArea(window);
    const QMargins f = frameAllowance(window);
    window->resize(wanted.boundedTo(clientRoom(window)));

    const QSize outer = window->size().grownBy(f);
    const QWidget *parent = window->parentWidget();
    const QPoint centre = parent ? parent->window()->frameGeometry().center() : area.center();
    QRect frame(QPoint(0, 0), outer);
    frame.moveCenter(centre);
    // Inside the area; a frame larger than the area keeps its top-left corner in it.
    frame.moveLeft(qMax(area.left(), qMin(frame.left(), area.right() + 1 - outer.width())));
    frame.moveTop(qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - outer.height())));
    window->move(frame.topLeft());
}

} // namespace gratinel
