// Where windows open: wholly on the screen that shows them, never off its edge.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace trellicap {

// The first size of a main window: what its contents ask for, within the screen's available
// area (the window frame and a panel or task bar left out).
[[nodiscard]] QSize firstWindowSize(const QWidget& window);

// A window's frame rectangle of `frameSize` centred over `owner` (or on `screen`'s middle
// when there is no owner), then moved inside `screen`; a window larger than the screen
// keeps its top-left corner on it.
[[nodiscard]] QRect placeCentred(QSize frameSize, const QRect& owner, const QRect& screen);

// Moves a secondary window, before it is shown, centred over its owner (or the screen when
// the owner is hidden) and wholly on the owner's screen.
void centreOverOwner(QWidget& window, const QWidget* owner);

// Shows a secondary window and brings it forward, over whatever else is in front. One that
// is not shown yet first moves over its owner, so every opening lands where the operator
// is looking; one already shown stays where the operator put it.
void showSecondaryWindow(QWidget& window, const QWidget* owner);

}  // namespace trellicap
