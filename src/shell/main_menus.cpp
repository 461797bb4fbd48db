#include "shell/main_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "shell/texts.h"

namespace trellicap {

namespace {

constexpr MenuEntry kHelpMenu[] = {
    {"mnuhelpt", "Help Topic"},
    {"mnuabout", "About Data Capture"},
};
constexpr MenuEntry kOptionEntry = {"mnuoption", "Option"};

const MenuCommand* commandFor(std::span<const MenuCommand> commands, std::string_view entry) {
    for (const MenuCommand& command : commands) {
        if (command.entry == entry) {
            return &command;
        }
    }
    return nullptr;
}

void bind(QAction* action, const MenuEntry& entry, std::span<const MenuCommand> commands,
          MainMenus& menus) {
    action->setObjectName(qs(entry.objectName));
    const MenuCommand* command = commandFor(commands, entry.objectName);
    if (command == nullptr) {
        return;
    }
    QObject::connect(action, &QAction::triggered, action, command->action);
    if (command->waitsWhileBusy) {
        menus.busyActions.append(action);
    }
}

void addMenu(QMenuBar& bar, const char* name, const QString& title,
             std::span<const MenuEntry> entries, std::span<const MenuCommand> commands,
             MainMenus& menus) {
    QMenu* menu = bar.addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    for (const MenuEntry& entry : entries) {
        bind(menu->addAction(qs(entry.text)), entry, commands, menus);
    }
}

}  // namespace

MainMenus buildMainMenus(QMenuBar& bar, const ModelProfile& profile,
                         std::span<const MenuCommand> commands) {
    MainMenus menus;
    addMenu(bar, "mnufile", QMenuBar::tr("File"), profile.fileMenu, commands, menus);
    // "Option" has no entries of its own: choosing it in the bar opens the port selection.
    bind(bar.addAction(qs(kOptionEntry.text)), kOptionEntry, commands, menus);
    addMenu(bar, "mnuhelp", QMenuBar::tr("Help"), kHelpMenu, commands, menus);
    return menus;
}

}  // namespace trellicap
