// Records through the main window: save, open in a fresh window, recall, and print the
// marked slots to PDF files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "link/qt_serial_port.h"
#include "link/wire_frames.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "report/ui/printer_setup.h"
#include "shell/main/frmmain.h"
#include "support/wait.h"
#include "support/window_on_pty.h"

using namespace trellicap;

namespace {

class RecordsThroughTheWindow : public trellicap::testing::WindowOnPty {
protected:
    // A record as the instrument would file it: a trace and its own memory number.
    static void fillSlot(frmmain& w, int column, const char* digits) {
        auto c = w.session().store().column(column);
        for (int i = 0; i < 251; ++i) {
            c[static_cast<std::size_t>(i)] = static_cast<RecordValue>((i * 7 + column) % 90);
        }
        for (int i = 0; i < 3; ++i) {
            c[static_cast<std::size_t>(kMemoryNumberFirst + i)] =
                static_cast<RecordValue>(digits[i]);
        }
    }
};

TEST_P(RecordsThroughTheWindow, SavedSlotsComeBackMarkedInAFreshWindow) {
    const ModelProfile& profile = *GetParam();
    const QString path = m_dir.filePath(QStringLiteral("inspection.dat"));
    std::vector<RecordValue> saved;
    {
        auto w = start();
        fillSlot(*w, 2, "003");
        fillSlot(*w, 149, "150");
        fillSlot(*w, 7, "009");  // names another slot: loads unmarked
        w->session().store().column(2)[static_cast<std::size_t>(profile.recordLast)] =
            77;  // not in files
        w->openSaveWindow();
        auto* save = w->findChild<QWidget*>(QStringLiteral("frmsave"));
        ASSERT_NE(save, nullptr);
        save->findChild<QLineEdit*>(QStringLiteral("txtfilename"))
            ->setText(QStringLiteral("inspection.dat"));
        // The save window starts in the process's folder; point it at ours through its path.
        ASSERT_TRUE(w->saveToFile(path));
        save->close();
        const auto col = w->session().store().column(2);
        saved.assign(col.begin(), col.end());
    }
    EXPECT_EQ(QFileInfo(path).size(), 4 * 200 * profile.fileRows.count());

    auto w = start();
    w->openOpenWindow();
    auto* open = w->findChild<QWidget*>(QStringLiteral("frmopen"));
    ASSERT_NE(open, nullptr);
    open->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(path);
    open->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    EXPECT_TRUE(m_messages.empty()) << m_messages.front().text.toStdString();
    auto* list = w->slotList();
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("Mem 3 *"));
    EXPECT_EQ(list->item(149)->text(), QStringLiteral("Mem 150 *"));
    EXPECT_EQ(list->item(7)->text(), QStringLiteral("Mem 8"));
    EXPECT_EQ(w->session().store().capture()[13], 100);  // the load leaves the shown record alone

    list->item(2)->setSelected(true);
    w->lstmem_DblClick();
    const auto capture = w->session().store().capture();
    for (int r = 0; r < profile.fileRows.count(); ++r) {
        ASSERT_EQ(capture[static_cast<std::size_t>(r)], saved[static_cast<std::size_t>(r)]) << r;
    }
    EXPECT_EQ(w->controlText("txtmemno").left(3), QStringLiteral("003"));
}

TEST_P(RecordsThroughTheWindow, AFailedLoadIsReportedAndChangesNothing) {
    auto w = start();
    fillSlot(*w, 0, "001");
    const RecordValue before = w->session().store().column(0)[5];
    w->loadFromFile(m_dir.filePath(QStringLiteral("no-such-file.dat")));
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(m_messages[0].text.contains(QStringLiteral("no-such-file.dat")));
    EXPECT_EQ(w->session().store().column(0)[5], before);

    // A short file says how far it got and keeps the slots, unless asked to load the part.
    QFile shortFile(m_dir.filePath(QStringLiteral("short.dat")));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(1000 * 4, ' ').replace(0, 2, "9 "));
    shortFile.close();
    m_messages.clear();
    m_answer = Answer::KeepSlots;
    w->loadFromFile(shortFile.fileName());
    EXPECT_TRUE(m_messages.empty());
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_TRUE(m_questions[0].message.text.contains(QStringLiteral("loaded only in part")));
    EXPECT_EQ(w->session().store().column(0)[5], before);
    m_answer = Answer::LoadPart;
    w->loadFromFile(shortFile.fileName());
    EXPECT_EQ(w->session().store().column(0)[0], 9);
}

TEST_P(RecordsThroughTheWindow, PrintingAllMarkedSlotsEndsOnTheLastOne) {
    auto w = start();
    for (auto [column, digits] : {std::pair{0, "001"}, {3, "004"}, {8, "009"}}) {
        fillSlot(*w, column, digits);
    }
    const QString records = m_dir.filePath(QStringLiteral("marks.dat"));
    ASSERT_TRUE(w->saveToFile(records));
    w->loadFromFile(records);  // marks exactly the slots whose records name them

    QPrinter& printer = w->printerSetup().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath(QStringLiteral("report.pdf")));

    w->openPrintOptions();
    auto* options = w->findChild<QWidget*>(QStringLiteral("frmprintop"));
    ASSERT_NE(options, nullptr);
    options->findChild<QRadioButton*>(QStringLiteral("opall"))->click();
    options->findChild<QPushButton*>(QStringLiteral("cmdprint"))->click();

    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(QFileInfo::exists(m_dir.filePath(QStringLiteral("report.pdf"))));
    EXPECT_TRUE(QFileInfo::exists(m_dir.filePath(QStringLiteral("report-2.pdf"))));
    EXPECT_TRUE(QFileInfo::exists(m_dir.filePath(QStringLiteral("report-3.pdf"))));
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("report-4.pdf"))));
    EXPECT_EQ(w->shownslot(), 8);
    EXPECT_EQ(w->session().store().capture()[0], w->session().store().column(8)[0]);
    for (const char* scratch : {"gtp101.bmp", "gtp102.bmp", "gtp103.bmp", "gtp104.bmp"}) {
        EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QString::fromLatin1(scratch)))) << scratch;
    }
}

// Frames sent from the instrument one after the other, each with its CLOCK OFF and a valid
// time and date (001, 003, 015), each show their own time-and-date caption in the window.
TEST_P(RecordsThroughTheWindow, EachFrameSentShowsItsOwnTimeAndDateCaption) {
    const ModelProfile& profile = *GetParam();
    auto w = start();
    const auto clockIndex = walkedIndex(profile, "txtclock");
    const auto timeDate = timeDateIndex(profile);
    ASSERT_TRUE(clockIndex && timeDate);
    const bool clockRule = !profile.clockControl.empty();
    for (const std::string_view memno : {"001", "003", "015"}) {
        auto raw = trellicap::testing::patternRaw(profile);
        trellicap::testing::putRecordText(profile, raw, kMemoryNumberFirst, memno);
        trellicap::testing::putRecordText(profile, raw, *clockIndex, "OFF    ");
        trellicap::testing::putRecordText(profile, raw, *timeDate, "2321260332");
        const QByteArray frame = trellicap::testing::wireFrame(profile, raw);
        ASSERT_EQ(::write(m_pty.master(), frame.constData(), static_cast<size_t>(frame.size())),
                  frame.size());
        ASSERT_TRUE(trellicap::testing::waitUntil(
            [&] { return w->controlText("txtmemno").startsWith(QLatin1String(memno.data(), 3)); },
            5000))
            << memno;
        EXPECT_EQ(w->controlText("txttmdt"),
                  clockRule ? QStringLiteral("Tm: ") : QStringLiteral("Tm: 23:21 Dt:26/03/32"))
            << memno;
    }
}

INSTANTIATE_TEST_SUITE_P(Models, RecordsThroughTheWindow,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
