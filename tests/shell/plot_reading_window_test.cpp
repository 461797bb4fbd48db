// Reading the A-scan in the main window: a click on the plot fills `lblcursor` (its text also
// its accessible name), the gate peak shows beside it, a comparison trace comes from a slot
// of the memory table, of a record file or of the archive and stays while other slots are
// recalled (a missing archive gives a message and keeps it), and the
// settings panel keeps its natural height at the top when the window grows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "archive/archive_keeper.h"
#include "display/panel_texts.h"
#include "display/reference_trace.h"
#include "display/ui/plot_widget.h"
#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/text_codes.h"
#include "shell/archive/archive_hooks.h"
#include "shell/compare/compare_dialog.h"
#include "shell/main/frmmain.h"
#include "support/pty.h"
#include "support/window_on_pty.h"

using namespace trellicap;

namespace {

class PlotReadingWindow : public trellicap::testing::WindowOnPty {
protected:
    // A record with one echo of `height` at sample `at`, RANGE and gate 1 from 30 % for 70 %.
    static void fillSlot(frmmain& w, int column, int at, int height, const char* range) {
        const ModelProfile& profile = w.profile();
        auto c = w.session().store().column(column);
        for (int i = 0; i < 251; ++i) {
            c[static_cast<std::size_t>(i)] = static_cast<RecordValue>(i == at ? height : 5);
        }
        const auto put = [&](std::string_view control, const QString& text) {
            auto index = static_cast<std::size_t>(walkedIndex(profile, control).value());
            for (const RecordValue code : textToCodes(text)) {
                c[index++] = code;
            }
        };
        put("txtrange", QString::fromLatin1(range).leftJustified(7));
        put("txtdelay", QStringLiteral("0.0    "));
        put("txtgain", QStringLiteral("40.0 "));
        put("txtgate", QStringLiteral("ON     30%    70%    40%    "));
        put("txtgate2", QStringLiteral("OFF    "));
    }

    template <typename T>
    static T* child(QWidget& w, const char* name) {
        return w.findChild<T*>(QString::fromLatin1(name));
    }
};

TEST_P(PlotReadingWindow, ClicksReadTheTraceAndAComparisonStaysAcrossRecalls) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    fillSlot(*w, 2, 105, 63, "100");
    fillSlot(*w, 5, 200, 20, "200");
    w->showSlot(2);
    auto* plot = child<PlotWidget>(*w, "picascan");
    auto* readout = child<QLabel>(*w, "lblcursor");
    auto* peak = child<QLabel>(*w, "lblpeak");
    ASSERT_NE(plot, nullptr);
    ASSERT_NE(readout, nullptr);
    EXPECT_TRUE(readout->text().isEmpty());
    // Gate 1 runs from x = 75 to 250: the echo at sample 105 (path 42.0) is its peak.
    EXPECT_EQ(peak->text(), QStringLiteral("Gate 1 peak 63 % at 42.0 mm"));

    const auto at = [plot](double plotX) {
        return QPoint(static_cast<int>(std::lround(plot->widgetXOf(plotX))), 100);
    };
    QTest::mouseClick(plot, Qt::LeftButton, {}, at(106));
    QTest::mouseClick(plot, Qt::LeftButton, {}, at(201));
    EXPECT_EQ(readout->text(),
              QStringLiteral("A 42.0 mm 63 %   B 80.0 mm 5 %   \u0394 38.0 mm 22.0 dB"));
    EXPECT_EQ(readout->accessibleName(), readout->text());

    // Compare with slot 6 of the memory table: named, drawn, kept while slot 3 is recalled.
    auto* clear = child<QPushButton>(*w, "cmdclearref");
    EXPECT_FALSE(clear->isEnabled());
    ASSERT_TRUE(w->compareWith({false, {}, 5, {}}));
    ASSERT_TRUE(plot->view().reference().has_value());
    EXPECT_EQ(plot->view().reference()->name, QStringLiteral("Mem 6"));
    EXPECT_EQ(plot->view().reference()->range, QStringLiteral("200"));
    EXPECT_EQ(plot->view().reference()->samples[200], 20);
    EXPECT_TRUE(clear->isEnabled());
    w->showSlot(5);
    EXPECT_EQ(plot->view().reference()->name, QStringLiteral("Mem 6"));
    EXPECT_TRUE(plot->view().hasCursors());  // the cursors stay on their samples

    // From a record file: the file's own slot, the window's table untouched.
    ASSERT_TRUE(w->saveToFile(m_dir.filePath(QStringLiteral("shift.dat"))));
    w->session().store().column(2)[105] = 11;
    ASSERT_TRUE(w->compareWith({true, m_dir.filePath(QStringLiteral("shift.dat")), 2, {}}));
    EXPECT_EQ(plot->view().reference()->name, QStringLiteral("shift.dat Mem 3"));
    EXPECT_EQ(plot->view().reference()->samples[105], 63);
    EXPECT_EQ(w->session().store().column(2)[105], 11);

    // A file that is not there, or ends before the slot: a message, the reference stays.
    EXPECT_FALSE(w->compareWith({true, m_dir.filePath(QStringLiteral("none.dat")), 2, {}}));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages.back().text.contains(QStringLiteral("cannot be opened")));
    QFile whole(m_dir.filePath(QStringLiteral("shift.dat")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile cut(m_dir.filePath(QStringLiteral("cut.dat")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(whole.size() / 100));
    cut.close();
    EXPECT_FALSE(w->compareWith({true, cut.fileName(), 2, {}}));
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_TRUE(m_messages.back().text.contains(QStringLiteral("ends before Mem 3")));
    EXPECT_EQ(plot->view().reference()->name, QStringLiteral("shift.dat Mem 3"));

    clear->click();
    EXPECT_FALSE(plot->view().reference().has_value());
    EXPECT_FALSE(clear->isEnabled());
}

TEST_P(PlotReadingWindow, TheSlotListsContextMenuOpensTheComparisonForThatSlot) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    fillSlot(*w, 2, 105, 63, "100");
    fillSlot(*w, 7, 120, 44, "100");
    w->showSlot(2);
    QListWidget* list = w->slotList();
    // The menu and then the choice window run their own loops: each is answered from a timer
    // of its own (the choice window opens while the menu's answer is still running).
    int preselected = 0;
    QTimer pickEntry;
    QTimer acceptChoice;
    QObject::connect(&pickEntry, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            pickEntry.stop();
            ASSERT_EQ(menu->actions().value(0)->text(), QStringLiteral("Compare with..."));
            menu->setActiveAction(menu->actions().value(0));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    QObject::connect(&acceptChoice, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            acceptChoice.stop();
            preselected = dialog->findChild<QSpinBox*>(QStringLiteral("spncompareslot"))->value();
            dialog->accept();
        }
    });
    pickEntry.start(20);
    acceptChoice.start(20);
    const QPoint entry = list->visualItemRect(list->item(7)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, entry, list->viewport()->mapToGlobal(entry));
    QApplication::sendEvent(list->viewport(), &event);
    pickEntry.stop();
    acceptChoice.stop();
    EXPECT_EQ(preselected, 8);
    auto* plot = child<PlotWidget>(*w, "picascan");
    ASSERT_TRUE(plot->view().reference().has_value());
    EXPECT_EQ(plot->view().reference()->name, QStringLiteral("Mem 8"));
    EXPECT_EQ(plot->view().reference()->samples[120], 44);
}

TEST_P(PlotReadingWindow, AnArchiveRecordChosenInTheCompareWindowIsDrawnAndNamed) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    fillSlot(*w, 5, 200, 20, "200");
    w->archive().keeper().keepFiled(5, w->session().store().column(5), archive::Source::Capture);
    fillSlot(*w, 5, 200, 90, "200");  // the memory table moves on; the archive keeps the 20
    fillSlot(*w, 2, 105, 63, "100");
    w->showSlot(2);
    auto* plot = child<PlotWidget>(*w, "picascan");

    // The choice window lists the archive once it is chosen; the slot narrows the list.
    QStringList listed;
    QString note;
    bool okWithoutRecord = true;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        answer.stop();
        auto* records = dialog->findChild<QListWidget*>(QStringLiteral("lstcomparearchive"));
        auto* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        dialog->findChild<QSpinBox*>(QStringLiteral("spncompareslot"))->setValue(6);
        dialog->findChild<QCheckBox*>(QStringLiteral("chkcompareslot"))->click();
        // Ticking the box chooses the archive, which lists it at once.
        for (int i = 0; i < records->count(); ++i) {
            listed.append(records->item(i)->text());
        }
        note = dialog->findChild<QLabel*>(QStringLiteral("lblcomparearchive"))->text();
        records->clearSelection();
        records->setCurrentItem(nullptr);
        okWithoutRecord = ok->isEnabled();
        records->setCurrentRow(0);
        ok->click();
    });
    answer.start(20);
    w->openCompare(2);
    answer.stop();
    ASSERT_EQ(listed.size(), 1) << note.toStdString();
    EXPECT_TRUE(listed[0].startsWith(QLatin1String("Mem 6  "))) << listed[0].toStdString();
    EXPECT_EQ(note, QStringLiteral("1 record found."));
    EXPECT_FALSE(okWithoutRecord);
    ASSERT_TRUE(plot->view().reference().has_value());
    const ReferenceTrace reference = *plot->view().reference();
    EXPECT_TRUE(reference.name.startsWith(QLatin1String("Archive Mem 6 (")))
        << reference.name.toStdString();
    EXPECT_EQ(reference.samples[200], 20);
    EXPECT_TRUE(referenceLegend(reference, plot->view().span(), QStringLiteral("40.0"))
                    .startsWith(QLatin1String("Ref Archive Mem 6 (")));
    EXPECT_EQ(w->session().store().column(5)[200], 90);  // the memory table is not touched

    // The archive gone: a message, and the reference drawn so far stays.
    const QString path = w->archive().archivePath();
    ASSERT_TRUE(QFile::rename(path, path + QStringLiteral(".away")));
    CompareChoice again;
    again.uuid = QStringLiteral("feedbeef");
    EXPECT_FALSE(w->compareWith(again));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages.back().text, QStringLiteral("There is no archive at %1.").arg(path));
    EXPECT_EQ(plot->view().reference()->name, reference.name);
    EXPECT_EQ(plot->view().reference()->samples[200], 20);
}

TEST_P(PlotReadingWindow, TheSettingsPanelKeepsItsNaturalHeightAtTheTop) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = start();
    w->resize(w->sizeHint());
    QCoreApplication::processEvents();
    auto* panel = child<QWidget>(*w, "fraMenuData");
    const int top = panel->y();
    w->resize(w->size() + QSize(400, 400));
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->height(), panel->sizeHint().height());
    EXPECT_EQ(panel->y(), top);  // still at the top (it moves right, beside the wider plot)
    // The room went to the plot instead.
    EXPECT_GT(child<QWidget>(*w, "fraascan")->height(), 311 + 100);
}

TEST(CompareDialog, HandsBackTheSlotAndTheSourceChosen) {
    CompareDialog dialog(11, QString(), nullptr);
    EXPECT_EQ(dialog.choice().column, 11);
    EXPECT_FALSE(dialog.choice().fromFile);
    auto* path = dialog.findChild<QLineEdit*>(QStringLiteral("txtcomparefile"));
    EXPECT_FALSE(path->isEnabled());
    dialog.findChild<QRadioButton*>(QStringLiteral("optfile"))->setChecked(true);
    EXPECT_TRUE(path->isEnabled());
    QTest::keyClicks(path, QStringLiteral("/tmp/a.dat"));
    dialog.findChild<QSpinBox*>(QStringLiteral("spncompareslot"))->setValue(200);
    const CompareChoice choice = dialog.choice();
    EXPECT_TRUE(choice.fromFile);
    EXPECT_EQ(choice.path, QStringLiteral("/tmp/a.dat"));
    EXPECT_EQ(choice.column, 199);
    EXPECT_TRUE(choice.uuid.isEmpty());
    // Without an archive to read, none is offered.
    EXPECT_EQ(dialog.findChild<QRadioButton*>(QStringLiteral("optarchive")), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Models, PlotReadingWindow,
                         ::testing::Values(&tft::kProfile, &dac::kProfile));

}  // namespace
