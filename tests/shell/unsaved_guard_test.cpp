// The Save / Discard / Cancel question before Open and Exit: when it is asked, and when the
// command goes on.
#include <gtest/gtest.h>

#include "shell/files/unsaved_guard.h"

namespace trellicap {
namespace {

struct Script {
    bool unsaved = true;
    Answer answer = Answer::Cancel;
    int asked = 0;
    int saveWindows = 0;
    int ran = 0;
    UserQuestion last{UserMessage{{}, {}}, {}, Answer::Cancel, Answer::Cancel};

    UnsavedGuard guard() {
        return UnsavedGuard({[this] { return unsaved; },
                             [this](const UserQuestion& q) {
                                 ++asked;
                                 last = q;
                                 return answer;
                             },
                             [this] { ++saveWindows; }});
    }
    std::function<void()> command() {
        return [this] { ++ran; };
    }
};

TEST(UnsavedGuard, WithoutUnsavedChangesTheCommandRunsAtOnceUnasked) {
    Script s;
    s.unsaved = false;
    UnsavedGuard guard = s.guard();
    guard.proceed(QStringLiteral("exiting"), s.command());
    EXPECT_EQ(s.ran, 1);
    EXPECT_EQ(s.asked, 0);
}

TEST(UnsavedGuard, CancelRunsNothingAndDiscardRunsTheCommand) {
    Script s;
    UnsavedGuard guard = s.guard();
    guard.proceed(QStringLiteral("exiting"), s.command());
    EXPECT_EQ(s.asked, 1);
    EXPECT_EQ(s.ran, 0);
    EXPECT_EQ(s.saveWindows, 0);
    // Save first and the default; Esc and the close box cancel.
    EXPECT_EQ(s.last.answers, (std::vector{Answer::Save, Answer::Discard, Answer::Cancel}));
    EXPECT_EQ(s.last.defaultAnswer, Answer::Save);
    EXPECT_EQ(s.last.escapeAnswer, Answer::Cancel);
    EXPECT_TRUE(s.last.message.informative.contains(QStringLiteral("before exiting?")));

    s.answer = Answer::Discard;
    guard.proceed(QStringLiteral("exiting"), s.command());
    EXPECT_EQ(s.ran, 1);
    EXPECT_FALSE(guard.waitingForSave());
}

TEST(UnsavedGuard, SaveRunsTheCommandOnlyAfterAWrittenFile) {
    Script s;
    s.answer = Answer::Save;
    UnsavedGuard guard = s.guard();

    guard.proceed(QStringLiteral("opening another file"), s.command());
    EXPECT_EQ(s.saveWindows, 1);
    EXPECT_EQ(s.ran, 0);        // the operator is still choosing a name
    guard.saveFinished(false);  // the save failed: nothing goes on, now or later
    guard.saveFinished(true);
    EXPECT_EQ(s.ran, 0);

    guard.proceed(QStringLiteral("opening another file"), s.command());
    guard.saveWindowClosed();  // closed without saving
    guard.saveFinished(true);
    EXPECT_EQ(s.ran, 0);

    guard.proceed(QStringLiteral("opening another file"), s.command());
    EXPECT_TRUE(guard.waitingForSave());
    guard.saveFinished(true);
    EXPECT_EQ(s.ran, 1);
    guard.saveWindowClosed();  // the window closes after its save: nothing more runs
    guard.saveFinished(true);
    EXPECT_EQ(s.ran, 1);
}

}  // namespace
}  // namespace trellicap
