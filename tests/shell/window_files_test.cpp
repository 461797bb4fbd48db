// The window's file comforts: the title with the open file and the unsaved mark, recent files
// across a restart, a record file dropped on the window, File > New, the user's guide, and
// the pieces behind them (title text, recent list, the unsaved question, the drop's file).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "link/qt_serial_port.h"
#include "profiles/tft.h"
#include "shell/frmmain.h"
#include "shell/help_window.h"
#include "shell/recent_files.h"
#include "shell/record_file_drop.h"
#include "shell/unsaved_question.h"
#include "shell/window_title.h"
#include "support/pty.h"

using namespace trellicap;

namespace {

const QString kCaption = QStringLiteral("Trellicap KVR(TFT)");

TEST(WindowFilePieces, titleNamesTheFileAndKeepsTheCaptionAtRest) {
    EXPECT_EQ(windowTitleFor(kCaption, QString(), false), kCaption);
    EXPECT_EQ(windowTitleFor(kCaption, QString(), true), kCaption + QStringLiteral("[*]"));
    EXPECT_EQ(windowTitleFor(kCaption, QStringLiteral("/data/shift-12.dat"), false),
              QStringLiteral("shift-12.dat[*] \u2014 Trellicap KVR(TFT)"));
}

TEST(WindowFilePieces, recentListPutsTheNewestFirstOnceAndKeepsEight) {
    QStringList list;
    for (int i = 1; i <= 10; ++i) {
        list = withRecentFile(list, QStringLiteral("/f%1.dat").arg(i));
    }
    ASSERT_EQ(list.size(), 8);
    EXPECT_EQ(list.front(), QStringLiteral("/f10.dat"));
    EXPECT_EQ(list.back(), QStringLiteral("/f3.dat"));
    list = withRecentFile(list, QStringLiteral("/f5.dat"));
    EXPECT_EQ(list.size(), 8);
    EXPECT_EQ(list.front(), QStringLiteral("/f5.dat"));
    EXPECT_EQ(list.count(QStringLiteral("/f5.dat")), 1);
}

TEST(WindowFilePieces, theUnsavedQuestionGoesOnOnlyWhenNothingIsLost) {
    int asked = 0;
    int saves = 0;
    const auto answer = [&asked](UnsavedAnswer a) {
        return [&asked, a](QWidget*, const QString&) {
            ++asked;
            return a;
        };
    };
    const auto save = [&saves](bool ok) {
        return [&saves, ok] {
            ++saves;
            return ok;
        };
    };
    EXPECT_TRUE(mayDiscardUnsaved(nullptr, {}, false, save(true), answer(UnsavedAnswer::Cancel)));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(mayDiscardUnsaved(nullptr, {}, true, save(true), answer(UnsavedAnswer::Discard)));
    EXPECT_FALSE(mayDiscardUnsaved(nullptr, {}, true, save(true), answer(UnsavedAnswer::Cancel)));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(mayDiscardUnsaved(nullptr, {}, true, save(true), answer(UnsavedAnswer::Save)));
    EXPECT_FALSE(mayDiscardUnsaved(nullptr, {}, true, save(false), answer(UnsavedAnswer::Save)));
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(asked, 4);
}

TEST(WindowFilePieces, aDropCarriesOneLocalRecordFileOrNothing) {
    const auto mime = [](const QList<QUrl>& urls) {
        auto data = std::make_unique<QMimeData>();
        data->setUrls(urls);
        return data;
    };
    EXPECT_EQ(droppedRecordFile(mime({QUrl::fromLocalFile("/d/shift.dat")}).get()),
              QStringLiteral("/d/shift.dat"));
    EXPECT_EQ(droppedRecordFile(mime({QUrl::fromLocalFile("/d/SHIFT.DAT")}).get()),
              QStringLiteral("/d/SHIFT.DAT"));
    EXPECT_TRUE(droppedRecordFile(mime({QUrl::fromLocalFile("/d/notes.txt")}).get()).isEmpty());
    EXPECT_TRUE(droppedRecordFile(mime({QUrl("https://example.org/a.dat")}).get()).isEmpty());
    EXPECT_TRUE(droppedRecordFile(
                    mime({QUrl::fromLocalFile("/a.dat"), QUrl::fromLocalFile("/b.dat")}).get())
                    .isEmpty());
    EXPECT_TRUE(droppedRecordFile(nullptr).isEmpty());
}

class WindowFiles : public ::testing::Test {
protected:
    void SetUp() override {
        QFile cfg(m_dir.filePath(QStringLiteral("udc.cfg")));
        ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
        cfg.write(m_pty.slave().toLocal8Bit() + "\r\n");
        // Each test starts without recent files.
        RecentFiles recent(QString::fromLatin1(tft::kProfile.programName.data(),
                                               tft::kProfile.programName.size()));
        for (const QString& file : recent.files()) {
            recent.remove(file);
        }
    }

    std::unique_ptr<frmmain> start() {
        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.messenger = [this](QWidget*, const UserMessage& m) { m_messages.push_back(m); };
        options.unsavedAsker = [this](QWidget*, const QString&) {
            ++m_asked;
            return m_answer;
        };
        auto w =
            std::make_unique<frmmain>(tft::kProfile, std::make_unique<QtSerialPort>(), options);
        w->startUp();
        return w;
    }
    static void mark(frmmain& w, int column) {
        auto c = w.store().column(column);
        c[10] = 55;
        const QByteArray digits = QByteArray::number(column + 1).rightJustified(3, '0');
        for (int i = 0; i < 3; ++i) {
            c[static_cast<std::size_t>(kMemoryNumberFirst + i)] = digits[i];
        }
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    static QAction* action(frmmain& w, const QString& name) { return w.findChild<QAction*>(name); }
    static void drop(frmmain& w, const QString& file, bool* accepted) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&w, &enter);
        *accepted = enter.isAccepted();
        if (*accepted) {
            QDropEvent dropEvent(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                                 Qt::NoModifier);
            QApplication::sendEvent(&w, &dropEvent);
        }
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
    trellicap::testing::Pty m_pty;
    std::vector<UserMessage> m_messages;
    int m_asked = 0;
    UnsavedAnswer m_answer = UnsavedAnswer::Cancel;
};

TEST_F(WindowFiles, titleShowsTheFileAndMarksUnsavedChanges) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    EXPECT_EQ(w->windowTitle(), kCaption);
    EXPECT_FALSE(w->isWindowModified());
    w->cmdtxtsav_Click();  // header fields stored: unsaved
    EXPECT_TRUE(w->isWindowModified());
    EXPECT_EQ(w->windowTitle(), kCaption + QStringLiteral("[*]"));
    ASSERT_TRUE(w->saveToFile(path("shift-12.dat")));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("shift-12.dat[*] \u2014 Trellicap KVR(TFT)"));
    EXPECT_FALSE(w->isWindowModified());
    w->cmdtxtsav_Click();
    EXPECT_TRUE(w->isWindowModified());
    EXPECT_EQ(w->currentFile(), path("shift-12.dat"));
}

TEST_F(WindowFiles, recentFilesOutliveTheWindowAndOpenAgain) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    {
        auto w = start();
        mark(*w, 4);
        ASSERT_TRUE(w->saveToFile(path("a.dat")));
        ASSERT_TRUE(w->saveToFile(path("b.dat")));
        ASSERT_TRUE(w->saveToFile(path("a.dat")));
    }
    auto w = start();  // a restart: only the settings remember
    EXPECT_TRUE(w->currentFile().isEmpty());
    QMenu* recent = w->recentFilesMenu();
    ASSERT_NE(recent, nullptr);
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->data().toString(), path("a.dat"));
    EXPECT_EQ(recent->actions()[1]->data().toString(), path("b.dat"));
    EXPECT_EQ(recent->actions()[1]->text(), QStringLiteral("&2 b.dat"));
    recent->actions()[1]->trigger();
    EXPECT_EQ(w->currentFile(), path("b.dat"));
    EXPECT_EQ(w->slotList()->item(4)->text(), QStringLiteral("Mem 5 *"));
    EXPECT_EQ(w->recentFilesMenu()->actions()[0]->data().toString(), path("b.dat"));
    EXPECT_TRUE(m_messages.empty());

    // A file that went away: said so, and no longer offered.
    QFile::remove(path("a.dat"));
    w->recentFilesMenu()->actions()[1]->trigger();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(w->recentFilesMenu()->actions().size(), 1);
}

TEST_F(WindowFiles, aDroppedRecordFileOpensAfterTheUnsavedQuestion) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    {
        auto w = start();
        mark(*w, 9);
        ASSERT_TRUE(w->saveToFile(path("dropped.dat")));
    }
    auto w = start();
    bool accepted = false;
    drop(*w, path("notes.txt"), &accepted);
    EXPECT_FALSE(accepted);

    w->cmdtxtsav_Click();  // unsaved changes
    m_answer = UnsavedAnswer::Cancel;
    drop(*w, path("dropped.dat"), &accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(m_asked, 1);
    EXPECT_EQ(w->slotList()->item(9)->text(), QStringLiteral("Mem 10"));

    m_answer = UnsavedAnswer::Discard;
    drop(*w, path("dropped.dat"), &accepted);
    EXPECT_EQ(m_asked, 2);
    EXPECT_EQ(w->slotList()->item(9)->text(), QStringLiteral("Mem 10 *"));
    EXPECT_EQ(w->currentFile(), path("dropped.dat"));
    EXPECT_FALSE(w->isWindowModified());
}

TEST_F(WindowFiles, newClearsEverySlotAndMarkAfterAsking) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    mark(*w, 0);
    mark(*w, 199);
    ASSERT_TRUE(w->saveToFile(path("full.dat")));
    w->loadFromFile(path("full.dat"));
    ASSERT_EQ(w->slotList()->item(199)->text(), QStringLiteral("Mem 200 *"));

    w->cmdtxtsav_Click();
    m_answer = UnsavedAnswer::Cancel;
    action(*w, QStringLiteral("mnunew"))->trigger();
    EXPECT_EQ(m_asked, 1);
    EXPECT_EQ(w->slotList()->item(0)->text(), QStringLiteral("Mem 1 *"));

    m_answer = UnsavedAnswer::Discard;
    action(*w, QStringLiteral("mnunew"))->trigger();
    EXPECT_EQ(m_asked, 2);
    for (const int column : {0, 199}) {
        EXPECT_EQ(w->slotList()->item(column)->text(), QStringLiteral("Mem %1").arg(column + 1));
        const auto c = w->store().column(column);
        EXPECT_EQ(c[10], 0);    // rows 0 to 260 start at 0
        EXPECT_EQ(c[261], 32);  // the rest at 32
        EXPECT_EQ(c[static_cast<std::size_t>(kMemoryNumberFirst)], 32);
    }
    EXPECT_TRUE(w->currentFile().isEmpty());
    EXPECT_EQ(w->windowTitle(), kCaption);

    // Nothing unsaved: no question.
    action(*w, QStringLiteral("mnunew"))->trigger();
    EXPECT_EQ(m_asked, 2);
}

TEST_F(WindowFiles, helpTopicOpensTheGuideAtItsContents) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    w->show();
    action(*w, QStringLiteral("mnuhelpt"))->trigger();
    auto* help = w->findChild<HelpWindow*>(QStringLiteral("frmhelp"));
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    QTextBrowser* browser = help->browser();
    EXPECT_EQ(browser->source(), QUrl(QStringLiteral("qrc:/help/guide.html")));
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
    const QString text = browser->toPlainText();
    for (const char* topic :
         {"Contents", "Connecting the instrument", "dialout", "brltty", "/dev/serial/by-id",
          "Capturing", "Export PDF", "archive", "The Report can't be printed."}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
    }
    // Down the guide by a link, then Contents brings the start back, the same window.
    browser->scrollToAnchor(QStringLiteral("messages"));
    action(*w, QStringLiteral("mnuhelpt"))->trigger();
    EXPECT_EQ(w->findChildren<HelpWindow*>().size(), 1);
    EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
}

}  // namespace
