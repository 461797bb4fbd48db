// Nothing the inspector captured is lost by surprise: Open over unsaved slots, a file that
// cannot be read whole, Exit and the close box with unsaved changes, and a save over an
// existing file. The whole program against the simulator on a pty.
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "sim_window.h"

using namespace trellicap;
using namespace trellicap::testing;

namespace {

class UnsavedWorkTest : public SimWindowTest {
protected:
    QString writeForeignFile() {
        const QString path = m_dir.filePath(QStringLiteral("notes.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Shift notes: axle 4 rechecked\r\n");
        return path;
    }
    void openThroughWindow(const QString& path) {
        QWidget* open = shownWindow("frmopen");
        ASSERT_NE(open, nullptr);
        open->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(path);
        open->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    }
    void saveThroughWindow(const QString& name) {
        QWidget* save = shownWindow("frmsave");
        ASSERT_NE(save, nullptr);
        save->findChild<QLineEdit*>(QStringLiteral("txtfilename"))->setText(name);
        save->findChild<QPushButton*>(QStringLiteral("cmdsaveok"))->click();
    }
};

TEST_P(UnsavedWorkTest, AForeignFileOpenedOverAnUnsavedCaptureKeepsItUnlessAskedToLoadThePart) {
    start();
    sendFromInstrument(3);
    const auto captured = columnOf(3);
    EXPECT_EQ(statusField("lblunsaved"), QStringLiteral("unsaved changes"));
    const QString foreign = writeForeignFile();

    // Cancel: no open window at all.
    m_answers = {Answer::Cancel};
    choose("mnuopen");
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0].answers, (std::vector{Answer::Save, Answer::Discard, Answer::Cancel}));
    EXPECT_EQ(shownWindow("frmopen"), nullptr);

    // Discard goes on to the open window; the foreign file stops at its first value, and
    // the default answer keeps the slots.
    m_answers = {Answer::Discard, Answer::KeepSlots};
    choose("mnuopen");
    openThroughWindow(foreign);
    ASSERT_EQ(m_questions.size(), 3u);
    const UserQuestion& partial = m_questions[2];
    EXPECT_EQ(partial.answers, (std::vector{Answer::KeepSlots, Answer::LoadPart}));
    EXPECT_EQ(partial.defaultAnswer, Answer::KeepSlots);
    EXPECT_EQ(partial.escapeAnswer, Answer::KeepSlots);
    EXPECT_TRUE(partial.message.text.contains(QStringLiteral("0 of the")));
    EXPECT_EQ(entry(3), QStringLiteral("Mem 3 *"));
    EXPECT_EQ(columnOf(3), captured);
    EXPECT_EQ(statusField("lblunsaved"), QStringLiteral("unsaved changes"));
    EXPECT_TRUE(m_messages.empty());

    // The other button loads what was read: nothing, so every slot is at the pre-fill.
    m_answers = {Answer::Discard, Answer::LoadPart};
    choose("mnuopen");
    openThroughWindow(foreign);
    EXPECT_EQ(entry(3), QStringLiteral("Mem 3"));
    EXPECT_EQ(columnOf(3)[0], 0);
    EXPECT_EQ(columnOf(3)[300], 32);
    EXPECT_TRUE(statusField("lblunsaved").isEmpty());
    EXPECT_EQ(m_window->shownslot(), 0);
}

TEST_P(UnsavedWorkTest, ACaptureWhileTheOpenWindowStandsOpenIsAskedAboutBeforeTheLoad) {
    start();
    const QString path = m_dir.filePath(QStringLiteral("earlier.dat"));
    choose("mnusave");
    saveThroughWindow(QStringLiteral("earlier.dat"));  // all slots empty
    choose("mnuopen");
    EXPECT_TRUE(m_questions.empty());  // nothing unsaved yet
    sendFromInstrument(8);             // arrives while the open window stands open
    const auto captured = columnOf(8);

    m_answers = {Answer::Cancel};
    openThroughWindow(path);
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions[0].answers, (std::vector{Answer::Save, Answer::Discard, Answer::Cancel}));
    EXPECT_EQ(entry(8), QStringLiteral("Mem 8 *"));
    EXPECT_EQ(columnOf(8), captured);

    // Asked when the window opens, the load itself does not ask again.
    m_answers = {Answer::Discard};
    choose("mnuopen");
    openThroughWindow(path);
    EXPECT_EQ(entry(8), QStringLiteral("Mem 8"));
    EXPECT_EQ(m_questions.size(), 2u);
    EXPECT_TRUE(m_answers.empty());
}

TEST_P(UnsavedWorkTest, SaveBeforeOpenGoesThroughTheSaveWindowAndOnlyAWrittenFileLeadsOn) {
    start();
    sendFromInstrument(7);

    // A save that fails (no such folder) reports it and opens nothing.
    m_answers = {Answer::Save};
    choose("mnuopen");
    EXPECT_EQ(shownWindow("frmopen"), nullptr);
    saveThroughWindow(QStringLiteral("missing-folder/day.dat"));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].title, QStringLiteral("Save Error"));
    EXPECT_EQ(shownWindow("frmopen"), nullptr);
    EXPECT_EQ(statusField("lblunsaved"), QStringLiteral("unsaved changes"));

    m_answers = {Answer::Save};
    choose("mnuopen");
    saveThroughWindow(QStringLiteral("day.dat"));
    EXPECT_EQ(QFileInfo(m_dir.filePath(QStringLiteral("day.dat"))).size(), fileBytes());
    EXPECT_NE(shownWindow("frmopen"), nullptr);
    EXPECT_TRUE(statusField("lblunsaved").isEmpty());

    // Saved: the next Open asks nothing.
    shownWindow("frmopen")->close();
    choose("mnuopen");
    EXPECT_EQ(m_questions.size(), 2u);
    EXPECT_NE(shownWindow("frmopen"), nullptr);
}

TEST_P(UnsavedWorkTest, ExitWithUnsavedChangesAsksAndOnlyDiscardOrAWrittenFileEndsTheProgram) {
    frmmain& w = start();
    auto* exit = w.findChild<QAction*>(QStringLiteral("mnuexit"));
    EXPECT_EQ(exit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    sendFromInstrument(5);
    const auto captured = columnOf(5);

    m_answers = {Answer::Cancel};
    choose("mnuexit");
    EXPECT_EQ(m_ends, 0);
    EXPECT_TRUE(w.isVisible());
    // The close box asks the same question.
    m_answers = {Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(m_questions.size(), 2u);
    EXPECT_EQ(m_ends, 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(entry(5), QStringLiteral("Mem 5 *"));
    EXPECT_EQ(columnOf(5), captured);

    // Save, then close the save window without saving: the program stays.
    m_answers = {Answer::Save};
    choose("mnuexit");
    ASSERT_NE(shownWindow("frmsave"), nullptr);
    shownWindow("frmsave")->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_ends, 0);

    // Save and a written file end it.
    m_answers = {Answer::Save};
    choose("mnuexit");
    saveThroughWindow(QStringLiteral("end.dat"));
    EXPECT_EQ(QFileInfo(m_dir.filePath(QStringLiteral("end.dat"))).size(), fileBytes());
    EXPECT_EQ(m_ends, 1);
    EXPECT_FALSE(w.isVisible());
}

TEST_P(UnsavedWorkTest, DiscardEndsTheProgramAndWithoutChangesExitAsksNothing) {
    frmmain& w = start();
    choose("mnuexit");
    EXPECT_EQ(m_ends, 1);
    EXPECT_TRUE(m_questions.empty());
    m_window.reset();

    frmmain& again = start();
    sendFromInstrument(9);
    m_answers = {Answer::Discard};
    EXPECT_TRUE(again.close());
    EXPECT_EQ(m_ends, 2);
    EXPECT_FALSE(again.isVisible());
    (void)w;
}

TEST_P(UnsavedWorkTest, SavingOverAFileAsksReplaceOrCancelAndCancelKeepsTheName) {
    start();
    const QString path = m_dir.filePath(QStringLiteral("monday.dat"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("yesterday's records");
    }
    choose("mnusave");
    m_answers = {Answer::Cancel};
    saveThroughWindow(QStringLiteral("monday.dat"));
    ASSERT_EQ(m_questions.size(), 1u);
    const UserQuestion& replace = m_questions[0];
    EXPECT_EQ(replace.answers, (std::vector{Answer::Replace, Answer::Cancel}));
    EXPECT_EQ(replace.defaultAnswer, Answer::Cancel);
    EXPECT_TRUE(replace.message.text.contains(QDir::toNativeSeparators(path)));
    EXPECT_TRUE(replace.message.informative.contains(QStringLiteral("holds 19 bytes")));
    EXPECT_TRUE(replace.message.informative.contains(
        QFileInfo(path).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    EXPECT_EQ(QFileInfo(path).size(), 19);
    QWidget* save = shownWindow("frmsave");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->findChild<QLineEdit*>(QStringLiteral("txtfilename"))->text(),
              QStringLiteral("monday.dat"));

    m_answers = {Answer::Replace};
    save->findChild<QPushButton*>(QStringLiteral("cmdsaveok"))->click();
    EXPECT_EQ(QFileInfo(path).size(), fileBytes());
    EXPECT_EQ(shownWindow("frmsave"), nullptr);

    // A new name asks nothing.
    choose("mnusave");
    saveThroughWindow(QStringLiteral("tuesday.dat"));
    EXPECT_EQ(m_questions.size(), 2u);
    EXPECT_EQ(QFileInfo(m_dir.filePath(QStringLiteral("tuesday.dat"))).size(), fileBytes());
}

INSTANTIATE_TEST_SUITE_P(Models, UnsavedWorkTest, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
