// File > Export PDF... and Export CSV... from the window: 200 slots through the menu, with a
// progress dialog while the window keeps running, one PDF of text and lines, the CSV of the
// chosen slots, and nothing left behind by a stopped export.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "link/qt_serial_port.h"
#include "profiles/tft.h"
#include "shell/main/frmmain.h"
#include "support/report_fixture.h"
#include "support/window_on_pty.h"

using namespace trellicap;

namespace {

class WindowExports : public ::testing::Test, protected trellicap::testing::WindowFolder {
protected:
    std::unique_ptr<frmmain> startWithAllSlots() {
        auto w = startWindow(tft::kProfile);
        for (int column = 0; column < 200; ++column) {
            auto c = w->session().store().column(column);
            for (int i = 0; i < 251; ++i) {
                c[static_cast<std::size_t>(i)] = static_cast<RecordValue>((i * 3 + column) % 95);
            }
            const QByteArray digits = QByteArray::number(column + 1).rightJustified(3, '0');
            for (int i = 0; i < 3; ++i) {
                c[static_cast<std::size_t>(kMemoryNumberFirst + i)] = digits[i];
            }
        }
        EXPECT_TRUE(w->saveToFile(m_dir.filePath(QStringLiteral("shift-12.dat"))));
        w->loadFromFile(m_dir.filePath(QStringLiteral("shift-12.dat")));  // marks every slot
        w->show();
        return w;
    }

    // Chooses the export by its menu entry, an option and a file, and presses Export.
    static void exportBy(frmmain& w, const char* entry, const char* option, const QString& file) {
        w.findChild<QAction*>(QString::fromLatin1(entry))->trigger();
        auto* dialog = w.findChild<QWidget*>(QString::fromLatin1(entry).replace("mnu", "frm"));
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->isVisible());
        dialog->findChild<QRadioButton*>(QString::fromLatin1(option))->setChecked(true);
        dialog->findChild<QLineEdit*>(QStringLiteral("txtexportfile"))->setText(file);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdexport"))->click();
    }
};

TEST_F(WindowExports, twoHundredSlotsToOnePdfWithProgressWhileTheWindowRuns) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = startWithAllSlots();
    const QString pdf = m_dir.filePath(QStringLiteral("shift-12.pdf"));
    w->findChild<QAction*>(QStringLiteral("mnuexportpdf"))->trigger();
    auto* dialog = w->findChild<QWidget*>(QStringLiteral("frmexportpdf"));
    ASSERT_NE(dialog, nullptr);
    // It suggests the record file's name, and text and lines.
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("txtexportfile"))->text(), pdf);
    EXPECT_TRUE(dialog->findChild<QCheckBox*>(QStringLiteral("chkvector"))->isChecked());
    dialog->close();
    EXPECT_EQ(w->findChild<QAction*>(QStringLiteral("mnuexportpdf"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+E")));

    // A timer of the window's event loop ticks throughout and sees the progress move.
    int ticks = 0;
    std::vector<int> values;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        ++ticks;
        auto* progress = w->findChild<QProgressDialog*>(QStringLiteral("dlgexportprogress"));
        if (progress != nullptr && progress->isVisible()) {
            values.push_back(progress->value());
        }
    });
    watch.start(20);
    exportBy(*w, "mnuexportpdf", "opall", pdf);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w->statusBar()->currentMessage().contains(QStringLiteral("shift-12.pdf")); },
        300000));
    watch.stop();
    EXPECT_EQ(w->statusBar()->currentMessage(),
              QStringLiteral("Exported 200 report page(s) to %1").arg(pdf));
    EXPECT_TRUE(m_messages.empty());
    EXPECT_GT(ticks, 10);
    ASSERT_GE(values.size(), 3u);
    EXPECT_LT(values.front(), values.back());
    EXPECT_LT(values.front(), 200);

    EXPECT_EQ(test::pdfPageCount(pdf), 200) << "pdfinfo (poppler-utils) is needed";
    EXPECT_TRUE(test::listPdfImages(pdf).empty());
    EXPECT_GT(QFile(pdf).size(), 0);
}

TEST_F(WindowExports, csvOfTheSelectedSlotsAndOfTheRecordShown) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = startWithAllSlots();
    QListWidget* list = w->slotList();
    list->clearSelection();
    list->item(2)->setSelected(true);
    list->item(149)->setSelected(true);
    const QString csv = m_dir.filePath(QStringLiteral("chosen.csv"));
    exportBy(*w, "mnuexportcsv", "opselect", csv);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w->statusBar()->currentMessage().contains(QStringLiteral("chosen.csv")); },
        60000));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    ASSERT_EQ(rows.size(), 4);  // heading, two rows, the empty rest after the last CR LF
    EXPECT_TRUE(rows[0].startsWith("slot,"));
    EXPECT_TRUE(rows[1].startsWith("3,"));
    EXPECT_TRUE(rows[2].startsWith("150,"));
    EXPECT_TRUE(rows[1].endsWith("\r"));

    // Nothing selected: nothing written, and the status bar says why.
    list->clearSelection();
    const QString none = m_dir.filePath(QStringLiteral("none.csv"));
    exportBy(*w, "mnuexportcsv", "opselect", none);
    EXPECT_FALSE(QFile::exists(none));
    EXPECT_TRUE(w->statusBar()->currentMessage().contains(QStringLiteral("nothing exported")));

    // An export into a folder that does not exist fails with a message, nothing half-made.
    exportBy(*w, "mnuexportpdf", "opsingle", m_dir.filePath(QStringLiteral("no/such.pdf")));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, QStringLiteral("The export could not be written."));
}

TEST_F(WindowExports, theRecordShownIsOnePageAndAStoppedExportLeavesNoFile) {
    TRELLICAP_SKIP_WITHOUT_PTY(m_pty);
    auto w = startWithAllSlots();
    const QString one = m_dir.filePath(QStringLiteral("shown.pdf"));
    exportBy(*w, "mnuexportpdf", "opsingle", one);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w->statusBar()->currentMessage().contains(QStringLiteral("shown.pdf")); },
        60000));
    EXPECT_EQ(test::pdfPageCount(one), 1);

    const QString stopped = m_dir.filePath(QStringLiteral("stopped.pdf"));
    exportBy(*w, "mnuexportpdf", "opall", stopped);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            auto* p = w->findChild<QProgressDialog*>(QStringLiteral("dlgexportprogress"));
            return p != nullptr && p->value() >= 2;
        },
        60000));
    w->findChild<QProgressDialog*>(QStringLiteral("dlgexportprogress"))->cancel();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w->statusBar()->currentMessage().contains(QStringLiteral("stopped")); },
        60000));
    EXPECT_FALSE(QFile::exists(stopped));
    EXPECT_TRUE(m_messages.empty());
}

}  // namespace
