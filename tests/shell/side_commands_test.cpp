// The pieces the main window's side commands stand on, without a window: the path an export
// suggests, and the recent-files menu kept from the program's list.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMenu>

#include "shell/export/export_commands.h"
#include "shell/files/recent_files.h"
#include "shell/files/recent_files_menu.h"

using namespace trellicap;

namespace {

TEST(ExportPath, followsTheRecordFileOrFallsBackToReportsInTheWorkingFolder) {
    const QString work = QDir::cleanPath(QStringLiteral("/srv/work"));
    EXPECT_EQ(suggestedExportPath(QString(), work, true), QStringLiteral("/srv/work/reports.pdf"));
    EXPECT_EQ(suggestedExportPath(QString(), work, false), QStringLiteral("/srv/work/reports.csv"));
    // The file's own folder, not the working one; only the last suffix gives way.
    EXPECT_EQ(suggestedExportPath(QStringLiteral("/data/weld/shift.12.dat"), work, true),
              QStringLiteral("/data/weld/shift.12.pdf"));
    EXPECT_EQ(suggestedExportPath(QStringLiteral("/data/weld/plate"), work, false),
              QStringLiteral("/data/weld/plate.csv"));
}

class RecentMenu : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear() {
        RecentFiles list(kProgram);
        for (const QString& file : list.files()) {
            list.remove(file);
        }
    }

    static inline const QString kProgram = QStringLiteral("Trellicap recent menu test");
    QMenu m_menu;
    QStringList m_opened;
};

TEST_F(RecentMenu, showsNoneThenNumberedEntriesThatOpenTheirFile) {
    RecentFilesMenu recent(&m_menu, kProgram, [this](const QString& path) { m_opened << path; });
    EXPECT_EQ(recent.menu(), &m_menu);
    ASSERT_EQ(m_menu.actions().size(), 1);
    EXPECT_EQ(m_menu.actions()[0]->text(), QStringLiteral("(none)"));
    EXPECT_FALSE(m_menu.actions()[0]->isEnabled());

    recent.add(QStringLiteral("/data/a.dat"));
    recent.add(QStringLiteral("/data/b.dat"));
    const QList<QAction*> entries = m_menu.actions();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("&1 b.dat"));
    EXPECT_EQ(entries[0]->objectName(), QStringLiteral("mnurecent1"));
    EXPECT_EQ(entries[1]->text(), QStringLiteral("&2 a.dat"));
    EXPECT_EQ(entries[1]->objectName(), QStringLiteral("mnurecent2"));
    EXPECT_EQ(entries[1]->toolTip(), QStringLiteral("/data/a.dat"));
    entries[1]->trigger();
    EXPECT_EQ(m_opened, QStringList{QStringLiteral("/data/a.dat")});

    // A second menu over the same program sees the same list (it outlives the window).
    QMenu other;
    RecentFilesMenu again(&other, kProgram, [](const QString&) {});
    EXPECT_EQ(other.actions().size(), 2);

    recent.forget(QStringLiteral("/data/b.dat"));
    ASSERT_EQ(m_menu.actions().size(), 1);
    EXPECT_EQ(m_menu.actions()[0]->data().toString(), QStringLiteral("/data/a.dat"));
    recent.forget(QStringLiteral("/data/a.dat"));
    EXPECT_EQ(m_menu.actions()[0]->text(), QStringLiteral("(none)"));
}

}  // namespace
