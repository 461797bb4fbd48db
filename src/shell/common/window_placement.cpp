#include "shell/common/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace trellicap {

namespace {

// Room for a window manager's frame and title bar around the client area.
constexpr int kFrameAllowance = 48;

QScreen* screenOf(const QWidget* widget) {
    if (widget != nullptr && widget->screen() != nullptr) {
        return widget->screen();
    }
    return QGuiApplication::primaryScreen();
}

}  // namespace

QSize firstWindowSize(const QWidget& window) {
    const QScreen* screen = screenOf(&window);
    const QSize wanted = window.sizeHint();
    if (screen == nullptr) {
        return wanted;
    }
    const QSize room = screen->availableGeometry().size() - QSize(kFrameAllowance, kFrameAllowance);
    return wanted.boundedTo(room);
}

QRect placeCentred(QSize frameSize, const QRect& owner, const QRect& screen) {
    const QRect around = owner.isValid() ? owner : screen;
    QRect placed(QPoint(0, 0), frameSize);
    placed.moveCenter(around.center());
    placed.moveLeft(std::min(placed.left(), screen.right() + 1 - placed.width()));
    placed.moveTop(std::min(placed.top(), screen.bottom() + 1 - placed.height()));
    placed.moveLeft(std::max(placed.left(), screen.left()));
    placed.moveTop(std::max(placed.top(), screen.top()));
    return placed;
}

void centreOverOwner(QWidget& window, const QWidget* owner) {
    const bool ownerShown = owner != nullptr && owner->isVisible();
    const QScreen* screen = screenOf(ownerShown ? owner : &window);
    if (screen == nullptr) {
        return;
    }
    window.adjustSize();
    // Before the first show a window manager's frame is not known yet: the window is
    // centred by its own size and may sit half a title bar low.
    const QSize frame = window.frameGeometry().size();
    const QRect ownerRect = ownerShown ? owner->frameGeometry() : QRect();
    const QRect placed = placeCentred(frame, ownerRect, screen->availableGeometry());
    window.move(placed.topLeft());
}

void showSecondaryWindow(QWidget& window, const QWidget* owner) {
    if (!window.isVisible()) {
        centreOverOwner(window, owner);
    }
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace trellicap
