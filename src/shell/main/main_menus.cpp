#include "shell/main/main_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "record/profile_text.h"

namespace trellicap {

namespace {

constexpr MenuEntry kHelpMenu[] = {
    {"mnuhelpt", "Help Topic"},
    {"mnuabout", "About Data Capture"},
};
constexpr MenuEntry kOptionEntry = {"mnuoption", "Option"};
// After the File menu's own entries, which keep their places: the exports and the files
// opened or saved last.
constexpr MenuEntry kFileExports[] = {
    {"mnuexportpdf", "Export PDF..."},
    {"mnuexportcsv", "Export CSV..."},
};
constexpr MenuEntry kRecentFilesMenu = {"mnurecent", "Recent Files"};

// The standard keys of the entries, shown in the menus beside their texts.
struct EntryKey {
    std::string_view entry;
    const char* keys;
};
constexpr EntryKey kEntryKeys[] = {
    {"mnuopen", "Ctrl+O"}, {"mnusave", "Ctrl+S"},      {"mnuprint", "Ctrl+P"},
    {"mnuexit", "Ctrl+Q"}, {"mnuexportpdf", "Ctrl+E"},
};

// What an entry does, in the status bar while the pointer rests on it.
struct EntryTip {
    std::string_view entry;
    const char* tip;
};
constexpr EntryTip kEntryTips[] = {
    {"mnunew", "Empty all 200 slots and their marks"},
    {"mnuexportpdf", "Write report pages into one PDF of text and lines"},
    {"mnuexportcsv", "Write a table of the slots for a spreadsheet"},
    {"mnuhelpt", "Open the user's guide"},
};

// Alt + the first letter opens a menu (or chooses "Option"), as a mnemonic would, without
// an ampersand that would change the menus' texts.
struct MenuKey {
    const char* keys;
    std::string_view menu;  // objectName of the menu or of the bar's entry
};
constexpr MenuKey kMenuKeys[] = {
    {"Alt+F", "mnufile"},
    {"Alt+O", "mnuoption"},
    {"Alt+H", "mnuhelp"},
};

void setKeys(QAction* action, std::string_view entry) {
    for (const EntryKey& key : kEntryKeys) {
        if (key.entry == entry) {
            action->setShortcut(QKeySequence(QString::fromLatin1(key.keys)));
        }
    }
}

void addMenuKeys(QMenuBar& bar) {
    for (const MenuKey& key : kMenuKeys) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(key.keys)), &bar);
        shortcut->setContext(Qt::WindowShortcut);
        const QString name = qs(key.menu);
        QObject::connect(shortcut, &QShortcut::activated, &bar, [&bar, name] {
            for (QAction* action : bar.actions()) {
                if (action->menu() != nullptr && action->menu()->objectName() == name) {
                    bar.setActiveAction(action);  // opens the menu, keyboard in it
                    return;
                }
                if (action->menu() == nullptr && action->objectName() == name) {
                    action->trigger();
                    return;
                }
            }
        });
    }
}

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
    setKeys(action, entry.objectName);
    const MenuCommand* command = commandFor(commands, entry.objectName);
    if (command == nullptr) {
        action->setStatusTip(QMenuBar::tr("This entry has no action."));
        return;
    }
    QObject::connect(action, &QAction::triggered, action, command->action);
    for (const EntryTip& tip : kEntryTips) {
        if (tip.entry == entry.objectName) {
            action->setStatusTip(QMenuBar::tr(tip.tip));
        }
    }
    if (command->waitsWhileBusy) {
        menus.busyActions.append(action);
    }
}

QMenu* addMenu(QMenuBar& bar, const char* name, const QString& title,
               std::span<const MenuEntry> entries, std::span<const MenuCommand> commands,
               MainMenus& menus) {
    QMenu* menu = bar.addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    for (const MenuEntry& entry : entries) {
        bind(menu->addAction(qs(entry.text)), entry, commands, menus);
    }
    return menu;
}

// The program's own File entries (exports, recent files) go after the model's entries and
// before Exit, which stays last as in every desktop program; the model's entries keep their
// order.
void addFileAdditions(QMenu& file, std::span<const MenuCommand> commands, MainMenus& menus) {
    QAction* exit = file.findChild<QAction*>(QStringLiteral("mnuexit"));
    QAction* before = exit != nullptr && file.actions().endsWith(exit) ? exit : nullptr;
    const auto addBefore = [&file, before](const QString& text) {
        auto* action = new QAction(text, &file);
        file.insertAction(before, action);
        return action;
    };
    file.insertSeparator(before);
    for (const MenuEntry& entry : kFileExports) {
        bind(addBefore(qs(entry.text)), entry, commands, menus);
    }
    file.insertSeparator(before);
    menus.recentFiles = new QMenu(qs(kRecentFilesMenu.text), &file);
    menus.recentFiles->setObjectName(qs(kRecentFilesMenu.objectName));
    file.insertMenu(before, menus.recentFiles);
    if (before != nullptr) {
        file.insertSeparator(before);
    }
}

}  // namespace

MainMenus buildMainMenus(QMenuBar& bar, const ModelProfile& profile,
                         std::span<const MenuCommand> commands) {
    MainMenus menus;
    QMenu* file = addMenu(bar, "mnufile", QMenuBar::tr("File"), profile.fileMenu, commands, menus);
    addFileAdditions(*file, commands, menus);
    // "Option" has no entries of its own: choosing it in the bar opens the port selection.
    bind(bar.addAction(qs(kOptionEntry.text)), kOptionEntry, commands, menus);
    addMenu(bar, "mnuhelp", QMenuBar::tr("Help"), kHelpMenu, commands, menus);
    addMenuKeys(bar);
    return menus;
}

}  // namespace trellicap
