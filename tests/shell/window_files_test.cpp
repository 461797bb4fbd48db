// The window's file comforts: the title with the open file and the unsaved mark, recent files
// across a restart, a record file dropped on the window, File > New, the user's guide, and
// the pieces behind them (title text, recent list, the drop's file). New, a recent file and a
// drop ask the same Save / Discard / Cancel question as Open and Exit.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <optional>

#include "link/qt_serial_port.h"
#include "profiles/tft.h"
#include "shell/files/recent_files.h"
#include "shell/files/record_file_drop.h"
#include "shell/main/frmmain.h"
#include "shell/main/help_window.h"
#include "shell/main/window_title.h"
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
        // The save window starts in the current folder: names typed there land in m_dir.
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
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

    void TearDown() override { QDir::setCurrent(m_previousFolder); }

    std::unique_ptr<frmmain> start() {
        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.messenger = [this](QWidget*, const UserMessage& m) { m_messages.push_back(m); };
        options.asker = [this](QWidget*, const UserQuestion& question) {
            ++m_asked;
            m_lastQuestion = question;
            return m_answer;
        };
        auto w =
            std::make_unique<frmmain>(tft::kProfile, std::make_unique<QtSerialPort>(), options);
        w->startUp();
        return w;
    }
    static void mark(frmmain& w, int column) {
        auto c = w.session().store().column(column);
        c[10] = 55;
        const QByteArray digits = QByteArray::number(column + 1).rightJustified(3, '0');
        for (int i = 0; i < 3; ++i) {
            c[static_cast<std::size_t>(kMemoryNumberFirst + i)] = digits[i];
        }
    }
    // The Save answer opens the save window; this types a name there and presses Ok.
    static void saveThroughWindow(frmmain& w, const char* name) {
        auto* save = w.findChild<QWidget*>(QStringLiteral("frmsave"));
        ASSERT_NE(save, nullptr);
        ASSERT_TRUE(save->isVisible());
        save->findChild<QLineEdit*>(QStringLiteral("txtfilename"))
            ->setText(QString::fromLatin1(name));
        save->findChild<QPushButton*>(QStringLiteral("cmdsaveok"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The question asked last was the unsaved-changes one, finishing with whatNext.
    void expectUnsavedQuestion(const char* whatNext) const {
        ASSERT_TRUE(m_lastQuestion.has_value());
        EXPECT_EQ(m_lastQuestion->answers,
                  (std::vector{Answer::Save, Answer::Discard, Answer::Cancel}));
        EXPECT_EQ(m_lastQuestion->escapeAnswer, Answer::Cancel);
        EXPECT_TRUE(m_lastQuestion->message.informative.contains(QString::fromLatin1(whatNext)))
            << m_lastQuestion->message.informative.toStdString();
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
    QString m_previousFolder;
    int m_asked = 0;
    std::optional<UserQuestion> m_lastQuestion;
    Answer m_answer = Answer::Cancel;
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
    m_answer = Answer::Cancel;
    drop(*w, path("dropped.dat"), &accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(m_asked, 1);
    expectUnsavedQuestion("opening another file");
    EXPECT_EQ(w->slotList()->item(9)->text(), QStringLiteral("Mem 10"));
    EXPECT_TRUE(w->isWindowModified());

    m_answer = Answer::Discard;
    drop(*w, path("dropped.dat"), &accepted);
    EXPECT_EQ(m_asked, 2);
    EXPECT_EQ(w->slotList()->item(9)->text(), QStringLiteral("Mem 10 *"));
    EXPECT_EQ(w->currentFile(), path("dropped.dat"));
    EXPECT_FALSE(w->isWindowModified());
}

TEST_F(WindowFiles, saveBeforeADropOrARecentFileLoadsOnlyAfterAWrittenFile) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    {
        auto w = start();
        mark(*w, 9);
        ASSERT_TRUE(w->saveToFile(path("dropped.dat")));
    }
    auto w = start();
    w->cmdtxtsav_Click();
    bool accepted = false;

    // A save that fails (no such folder) is reported, and the drop loads nothing.
    m_answer = Answer::Save;
    drop(*w, path("dropped.dat"), &accepted);
    EXPECT_EQ(m_asked, 1);
    EXPECT_EQ(w->slotList()->item(9)->text(), QStringLiteral("Mem 10"));
    saveThroughWindow(*w, "missing-folder/before.dat");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].title, QStringLiteral("Save Error"));
    EXPECT_EQ(w->slotList()->item(9)->text(), QStringLiteral("Mem 10"));
    EXPECT_TRUE(w->currentFile().isEmpty());
    EXPECT_TRUE(w->isWindowModified());

    // A written file leads on to the load; the title and the recent files follow both.
    drop(*w, path("dropped.dat"), &accepted);
    saveThroughWindow(*w, "before.dat");
    EXPECT_TRUE(QFileInfo::exists(path("before.dat")));
    EXPECT_EQ(w->slotList()->item(9)->text(), QStringLiteral("Mem 10 *"));
    EXPECT_EQ(w->currentFile(), path("dropped.dat"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("dropped.dat[*] \u2014 Trellicap KVR(TFT)"));
    EXPECT_FALSE(w->isWindowModified());
    QMenu* recent = w->recentFilesMenu();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->data().toString(), path("dropped.dat"));
    EXPECT_EQ(recent->actions()[1]->data().toString(), path("before.dat"));

    // A recent file asks the same question; Cancel keeps the slots and the file named.
    w->cmdtxtsav_Click();
    m_answer = Answer::Cancel;
    recent->actions()[1]->trigger();
    EXPECT_EQ(m_asked, 3);
    expectUnsavedQuestion("opening another file");
    EXPECT_EQ(w->currentFile(), path("dropped.dat"));
    EXPECT_TRUE(w->isWindowModified());

    // Save to the file that is open, then on to the recent one.
    m_answer = Answer::Save;
    w->recentFilesMenu()->actions()[1]->trigger();
    m_answer = Answer::Replace;  // the save window asks before it writes over dropped.dat
    saveThroughWindow(*w, "dropped.dat");
    EXPECT_EQ(m_asked, 5);
    EXPECT_EQ(w->currentFile(), path("before.dat"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("before.dat[*] \u2014 Trellicap KVR(TFT)"));
    EXPECT_FALSE(w->isWindowModified());
    EXPECT_EQ(w->recentFilesMenu()->actions()[0]->data().toString(), path("before.dat"));
    EXPECT_EQ(w->recentFilesMenu()->actions()[1]->data().toString(), path("dropped.dat"));
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
    m_answer = Answer::Cancel;
    action(*w, QStringLiteral("mnunew"))->trigger();
    EXPECT_EQ(m_asked, 1);
    expectUnsavedQuestion("clearing all slots");
    EXPECT_EQ(w->slotList()->item(0)->text(), QStringLiteral("Mem 1 *"));

    m_answer = Answer::Discard;
    action(*w, QStringLiteral("mnunew"))->trigger();
    EXPECT_EQ(m_asked, 2);
    for (const int column : {0, 199}) {
        EXPECT_EQ(w->slotList()->item(column)->text(), QStringLiteral("Mem %1").arg(column + 1));
        const auto c = w->session().store().column(column);
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

TEST_F(WindowFiles, saveBeforeNewClearsOnlyAfterAWrittenFile) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    mark(*w, 0);
    w->cmdtxtsav_Click();

    // The save window closed without saving: nothing cleared.
    m_answer = Answer::Save;
    action(*w, QStringLiteral("mnunew"))->trigger();
    auto* save = w->findChild<QWidget*>(QStringLiteral("frmsave"));
    ASSERT_NE(save, nullptr);
    save->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->session().store().column(0)[10], 55);

    // A failed save: reported, nothing cleared.
    action(*w, QStringLiteral("mnunew"))->trigger();
    saveThroughWindow(*w, "missing-folder/slots.dat");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(w->session().store().column(0)[10], 55);
    EXPECT_TRUE(w->isWindowModified());

    // Written: the file holds the slot, then every slot is cleared.
    action(*w, QStringLiteral("mnunew"))->trigger();
    saveThroughWindow(*w, "slots.dat");
    EXPECT_EQ(m_asked, 3);
    EXPECT_EQ(w->session().store().column(0)[10], 0);
    EXPECT_TRUE(w->currentFile().isEmpty());
    EXPECT_EQ(w->windowTitle(), kCaption);
    EXPECT_EQ(w->recentFilesMenu()->actions()[0]->data().toString(), path("slots.dat"));
    w->loadFromFile(path("slots.dat"));
    EXPECT_EQ(w->session().store().column(0)[10], 55);
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
