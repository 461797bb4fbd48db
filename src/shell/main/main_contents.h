// The main window's contents: the slot list, the plot column and the settings panel in one
// row (room beyond the first size goes to the plot), scrolling on a small screen, and the
// keyboard's way through them.
#pragma once

#include "profiles/model_profile.h"

class QMainWindow;
class QWidget;

namespace trellicap {

class Canvas;
class PlotPanel;
class SettingsPanel;
class SlotListPanel;

struct MainContents {
    QWidget* widget = nullptr;  // all of it at its design size, inside the scroll area
    SlotListPanel* slotList = nullptr;
    SettingsPanel* panel = nullptr;
    PlotPanel* plotColumn = nullptr;
};

// Builds the contents as the window's central widget; `plot` is the canvas the plot shows.
MainContents buildMainContents(QMainWindow& window, const ModelProfile& profile, Canvas& plot);

}  // namespace trellicap
