// The main window's menu bar, built from tables: the profile's File entries (then the
// exports and the recent files) and the fixed Option and Help entries, each bound to the
// command of the same name. An entry with no
// command does nothing when chosen.
#pragma once

#include <QList>
#include <functional>
#include <span>
#include <string_view>

#include "profiles/model_profile.h"

class QAction;
class QMenu;
class QMenuBar;

namespace trellicap {

struct MenuCommand {
    std::string_view entry;  // objectName of the menu entry
    std::function<void()> action;
    bool waitsWhileBusy = false;  // disabled while a batch or a frame read changes the records
};

struct MainMenus {
    QList<QAction*> busyActions;   // the entries to disable while the link is busy
    QMenu* recentFiles = nullptr;  // File > Recent Files, filled by the window
};

[[nodiscard]] MainMenus buildMainMenus(QMenuBar& bar, const ModelProfile& profile,
                                       std::span<const MenuCommand> commands);

}  // namespace trellicap
