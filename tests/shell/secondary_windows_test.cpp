// The secondary windows as dialogs that hand back a value, without a main window behind
// them: the port selection's choices and tries, where a window opens, and the named boxes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "display/panel_texts.h"
#include "shell/common/window_placement.h"
#include "shell/main/named_boxes.h"
#include "shell/port/frmoption.h"

namespace trellicap {
namespace {

template <typename T>
T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Stands in for the window that owns the port: records every try and answers as told.
struct TryLog {
    std::vector<PortTarget> tried;
    bool opens = false;
    frmoption::PortTry answer() {
        return [this](const PortTarget& target) {
            tried.push_back(target);
            return opens;
        };
    }
};

TEST(PortSelectionDialog, OkHandsTheChoiceToTheOwnerAndStaysOpenUntilItOpens) {
    frmoption window(nullptr);
    TryLog chosen;
    TryLog restored;
    window.setChosenPortTry(chosen.answer());
    window.setRestoreTry(restored.answer());
    QSignalSpy selections(&window, &frmoption::targetSelected);
    QSignalSpy done(&window, &frmoption::portSelected);

    window.startFrom(PortTarget{2, {}}, {});
    window.show();
    EXPECT_TRUE(child<QRadioButton>(window, "Option2")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(window, "optdevice")->isVisible());
    child<QRadioButton>(window, "Option4")->click();
    EXPECT_EQ(window.selectedTarget(), (PortTarget{4, {}}));
    ASSERT_FALSE(selections.isEmpty());
    EXPECT_EQ(selections.last().first().value<PortTarget>(), (PortTarget{4, {}}));

    // A failed try (the owner has said why) leaves the window for another choice.
    child<QPushButton>(window, "cmdok")->click();
    ASSERT_EQ(chosen.tried.size(), 1u);
    EXPECT_EQ(chosen.tried[0], (PortTarget{4, {}}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(done.size(), 0);

    // Enter presses Ok; this time the port opens and the window hands it back and closes.
    chosen.opens = true;
    child<QRadioButton>(window, "Option3")->click();
    QTest::keyClick(child<QRadioButton>(window, "Option3"), Qt::Key_Enter);
    ASSERT_EQ(chosen.tried.size(), 2u);
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.first().first().value<PortTarget>(), (PortTarget{3, {}}));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(restored.tried.empty());
}

TEST(PortSelectionDialog, CancelTriesThePortOfTheOpeningAndEscChangesNothing) {
    frmoption window(nullptr);
    TryLog chosen;
    TryLog restored;
    window.setChosenPortTry(chosen.answer());
    window.setRestoreTry(restored.answer());
    QSignalSpy selections(&window, &frmoption::targetSelected);
    QSignalSpy done(&window, &frmoption::portSelected);
    QSignalSpy rejected(&window, &QDialog::rejected);
    const PortTarget adapter{1, QStringLiteral("/dev/ttyACM7")};

    // A device path is a choice of its own, preselected, with why it is not open.
    window.startFrom(adapter, QStringLiteral("No such file or directory"));
    window.show();
    auto* device = child<QRadioButton>(window, "optdevice");
    EXPECT_TRUE(device->isVisible());
    EXPECT_TRUE(device->isChecked());
    EXPECT_EQ(device->text(), adapter.devicePath);
    EXPECT_EQ(child<QLabel>(window, "lbldevice5")->text(),
              QStringLiteral("/dev/ttyACM7: No such file or directory"));

    child<QRadioButton>(window, "Option2")->click();
    child<QPushButton>(window, "cmdcancel")->click();  // the old port cannot be opened yet
    ASSERT_EQ(restored.tried.size(), 1u);
    EXPECT_EQ(restored.tried[0], adapter);
    EXPECT_TRUE(window.isVisible());
    restored.opens = true;
    child<QPushButton>(window, "cmdcancel")->click();
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done.first().first().value<PortTarget>(), adapter);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(rejected.size(), 0);  // a port is open: not a window closed unanswered

    // The next opening on another device path offers that path, though its option is still
    // checked from this one, and Ok tries it rather than the path of the last opening.
    window.startFrom(adapter, {});
    window.show();
    child<QPushButton>(window, "cmdcancel")->click();  // leaves the device option checked
    const PortTarget other{1, QStringLiteral("/dev/ttyUSB3")};
    window.startFrom(other, {});
    window.show();
    EXPECT_EQ(window.selectedTarget(), other);
    chosen.opens = true;
    child<QPushButton>(window, "cmdok")->click();
    ASSERT_EQ(chosen.tried.size(), 1u);
    EXPECT_EQ(chosen.tried[0], other);
    EXPECT_EQ(child<QLabel>(window, "lbldevice5")->text(), QString());  // open: nothing to say

    // Esc, like the close box: the choice goes back to the port in use, nothing is tried.
    window.startFrom(PortTarget{3, {}}, {});
    window.show();
    child<QRadioButton>(window, "Option1")->click();
    selections.clear();
    QTest::keyClick(child<QRadioButton>(window, "Option1"), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(selections.size(), 1);
    EXPECT_EQ(selections.first().first().value<PortTarget>(), (PortTarget{3, {}}));
    EXPECT_EQ(rejected.size(), 1);
    EXPECT_EQ(chosen.tried.size(), 1u);
    EXPECT_EQ(restored.tried.size(), 3u);
    EXPECT_EQ(done.size(), 3);
}

TEST(SecondaryWindowPlacement, AFirstOpeningCentresAndALaterOneKeepsWhereTheOperatorPutIt) {
    QWidget owner;
    owner.resize(500, 400);
    owner.move(60, 50);
    owner.show();
    QWidget window(&owner, Qt::Window);
    window.resize(200, 100);

    showSecondaryWindow(window, &owner);
    EXPECT_TRUE(window.isVisible());
    EXPECT_LE((window.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(),
              30);
    const QPoint movedTo = window.pos() + QPoint(37, 21);
    window.move(movedTo);
    showSecondaryWindow(window, &owner);  // brought forward where it stands
    EXPECT_EQ(window.pos(), movedTo);
    window.hide();
    showSecondaryWindow(window, &owner);  // opened again: over its owner once more
    EXPECT_NE(window.pos(), movedTo);
}

TEST(NamedBoxes, FillsAndReadsBoxesAndCaptionsByName) {
    QLineEdit range;
    QLineEdit replacedDelay;
    QLineEdit delay;
    QLabel clock;
    QLabel sharedCaption(QStringLiteral("caption"));
    QLineEdit sharedBox;
    NamedBoxes boxes;
    boxes.addBox("txtrange", &range);
    boxes.addBox("txtdelay", &replacedDelay);
    boxes.addBox("txtdelay", &delay);  // a header box built later takes the name over
    boxes.addCaption("lbltime", &clock);
    boxes.addCaption("lblshared", &sharedCaption);
    boxes.addBox("lblshared", &sharedBox);

    PanelTexts texts;
    texts.set("txtrange", QStringLiteral("250"));
    texts.set("txtdelay", QStringLiteral("12.5"));
    texts.set("lbltime", QStringLiteral("Tm: 10:02 Dt:01/02/26"));
    texts.set("lblshared", QStringLiteral("box"));
    texts.set("txtnowhere", QStringLiteral("skipped"));
    boxes.showTexts(texts);

    EXPECT_EQ(range.text(), QStringLiteral("250"));
    EXPECT_EQ(delay.text(), QStringLiteral("12.5"));
    EXPECT_TRUE(replacedDelay.text().isEmpty());
    EXPECT_EQ(clock.text(), QStringLiteral("Tm: 10:02 Dt:01/02/26"));
    EXPECT_EQ(sharedBox.text(), QStringLiteral("box"));
    EXPECT_EQ(sharedCaption.text(), QStringLiteral("caption"));
    EXPECT_EQ(boxes.text("txtdelay"), QStringLiteral("12.5"));
    EXPECT_EQ(boxes.text("lbltime"), QStringLiteral("Tm: 10:02 Dt:01/02/26"));
    EXPECT_EQ(boxes.text("lblshared"), QStringLiteral("box"));
    EXPECT_TRUE(boxes.text("txtnowhere").isEmpty());
}

}  // namespace
}  // namespace trellicap
