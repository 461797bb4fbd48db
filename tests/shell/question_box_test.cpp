// The program's question box: the answers become its buttons in the order given, Enter
// takes the default answer, and Esc (like the close box) the escape answer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "shell/common/question_box.h"

namespace trellicap {
namespace {

// Runs `react` on the box once it is shown, then returns what the box answered.
Answer answerBox(const UserQuestion& question, const std::function<void(QMessageBox&)>& react) {
    QTimer::singleShot(0, [react] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible()) {
                react(*box);
                return;
            }
        }
        ADD_FAILURE() << "no question box shown";
    });
    return askWithMessageBox(nullptr, question);
}

QStringList buttonTexts(const QMessageBox& box) {
    QStringList texts;
    for (QAbstractButton* button : box.buttons()) {
        texts.append(button->text().remove(QLatin1Char('&')));
    }
    return texts;
}

TEST(QuestionBox, AnswersAreButtonsWithTheDefaultOnEnterAndTheEscapeAnswerOnEsc) {
    const UserQuestion partial{UserMessage{QStringLiteral("Open Error"), QStringLiteral("part")},
                               {Answer::KeepSlots, Answer::LoadPart},
                               Answer::KeepSlots,
                               Answer::KeepSlots};
    QStringList shown;
    EXPECT_EQ(answerBox(partial,
                        [&shown](QMessageBox& box) {
                            shown = buttonTexts(box);
                            QTest::keyClick(&box, Qt::Key_Escape);
                        }),
              Answer::KeepSlots);
    EXPECT_TRUE(shown.contains(QStringLiteral("Keep the slots as they were")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Load the part that was read")));

    EXPECT_EQ(
        answerBox(partial,
                  [](QMessageBox& box) {
                      for (QAbstractButton* button : box.buttons()) {
                          if (button->text() == QStringLiteral("Load the part that was read")) {
                              button->click();
                          }
                      }
                  }),
        Answer::LoadPart);

    const UserQuestion unsaved{UserMessage{QStringLiteral("Unsaved Changes"), QStringLiteral("?")},
                               {Answer::Save, Answer::Discard, Answer::Cancel},
                               Answer::Save,
                               Answer::Cancel};
    EXPECT_EQ(answerBox(unsaved, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }),
              Answer::Save);
    EXPECT_EQ(answerBox(unsaved, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
              Answer::Cancel);
    EXPECT_EQ(
        answerBox(unsaved, [](QMessageBox& box) { box.button(QMessageBox::Discard)->click(); }),
        Answer::Discard);
}

}  // namespace
}  // namespace trellicap
