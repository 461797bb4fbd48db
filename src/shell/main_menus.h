// The main window's menu bar, built from tables: the profile's File entries and the fixed
// Option and Help entries, each bound to the command of the same name. An entry with no
// command does nothing when chosen.
#pragma once

#include <QList>
#include <functional>
#include <span>
#include <string_view>

#include "profiles/model_profile.h"

class QAction;
class QMenuBar;

namespace trellicap {

struct MenuCommand {
    std::string_view entry;  // objectName of the menu entry
    std::function<void()> action;
    bool waitsWhileBusy = false;  // disabled while a batch or a frame read changes the records
};

struct MainMenus {
    QList<QAction*> busyActions;  // the entries to disable while the link is busy
};

[[nodiscard]] MainMenus buildMainMenus(QMenuBar& bar, const ModelProfile& profile,
                                       std::span<const MenuCommand> commands);

}  // namespace trellicap
