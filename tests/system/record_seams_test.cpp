// Where the window, the file, the archive and the exports meet, over the instrument simulator:
// File > New leaves nothing of the discarded records in the next file, and the record shown
// is named by where it came from, on the screen and in the exported document's title.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>

#include "shell/export/export_dialog.h"
#include "sim_window.h"

using namespace trellicap;
using namespace trellicap::testing;

namespace {

QByteArray runCli(const QStringList& arguments) {
    QProcess cli;
    cli.start(QStringLiteral(TRELLICAP_CLI_PATH), arguments);
    return cli.waitForFinished(60000) ? cli.readAllStandardOutput() : QByteArray();
}

QString pdfTitle(const QString& pdf) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(30000);
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    const auto match =
        QRegularExpression(QStringLiteral("^Title:\\s*(.*)$"), QRegularExpression::MultilineOption)
            .match(text);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}

class RecordSeamsTest : public SimWindowTest {
protected:
    QString origin() const { return m_window->findChild<QLabel*>("lblorigin")->text(); }
    void recall(int slot) {
        m_window->slotList()->clearSelection();
        m_window->slotList()->item(slot - 1)->setSelected(true);
        m_window->lstmem_DblClick();
    }
    // Exports a PDF and waits until the file is in place.
    QString exportPdf(PrintOption option, const QString& name) {
        const QString path = m_dir.filePath(name);
        m_window->runExport(true, ExportChoice{option, path, true});
        EXPECT_TRUE(waitUntil([&] { return QFile::exists(path); }, 30000)) << name.toStdString();
        return path;
    }
};

TEST_P(RecordSeamsTest, NewThenSaveWritesAFileWithNothingOfTheDiscardedRecords) {
    frmmain& w = start();
    sendFromInstrument(3);
    recall(3);
    w.findChild<QLineEdit*>(QStringLiteral("txtopname"))->setText(QStringLiteral("Discarded"));
    w.cmdtxtsav_Click();
    const QString first = m_dir.filePath(QStringLiteral("first.dat"));
    ASSERT_TRUE(w.saveToFile(first));
    w.newRecords();
    const QString after = m_dir.filePath(QStringLiteral("after-new.dat"));
    ASSERT_TRUE(w.saveToFile(after));
    // The file after New holds exactly what a fresh start's table holds.
    const QByteArray json =
        runCli({QStringLiteral("json"), after, QStringLiteral("--slots"), QStringLiteral("1-200")});
    ASSERT_FALSE(json.isEmpty());
    EXPECT_FALSE(json.contains("Discarded"));
    EXPECT_FALSE(json.contains("\"marked\": true"));
    EXPECT_TRUE(
        runCli({QStringLiteral("json"), first, QStringLiteral("--slots"), QStringLiteral("3")})
            .contains("Discarded"));
}

TEST_P(RecordSeamsTest, TheRecordShownIsNamedByWhereItCameFromOnScreenAndInTheExport) {
    frmmain& w = start();
    EXPECT_EQ(origin(), QStringLiteral("Start-up trace"));
    sendFromInstrument(12);
    const QRegularExpression arrived(
        QStringLiteral("^Mem 12 from the instrument [0-2][0-9]:[0-5][0-9]$"));
    EXPECT_TRUE(arrived.match(origin()).hasMatch()) << origin().toStdString();
    const QString shift = m_dir.filePath(QStringLiteral("shift-1.dat"));
    ASSERT_TRUE(w.saveToFile(shift));
    w.newRecords();
    w.loadFromFile(shift);
    // The capture buffer still holds the record that arrived: it keeps its name, and the
    // page exported of it never claims a slot of the file that was opened.
    EXPECT_TRUE(arrived.match(origin()).hasMatch()) << origin().toStdString();
    const QString current = exportPdf(PrintOption::Current, QStringLiteral("current.pdf"));
    EXPECT_TRUE(arrived.match(pdfTitle(current)).hasMatch()) << pdfTitle(current).toStdString();

    recall(20);
    EXPECT_EQ(origin(), QStringLiteral("Mem 20 (no record)"));
    recall(12);
    EXPECT_EQ(origin(), QStringLiteral("Mem 12 of shift-1.dat"));
    // Slots are titled with the file only while the file holds them.
    w.slotList()->clearSelection();
    w.slotList()->item(11)->setSelected(true);
    EXPECT_EQ(pdfTitle(exportPdf(PrintOption::Selected, QStringLiteral("held.pdf"))),
              QStringLiteral("shift-1.dat, Mem 12"));
    // A newer record of the slot comes from the instrument (the entry was marked already).
    ASSERT_TRUE(m_sim.commandAcknowledged("send 12"));
    ASSERT_TRUE(waitUntil([&] { return arrived.match(origin()).hasMatch(); }, kArrivalMs));
    w.slotList()->clearSelection();
    w.slotList()->item(11)->setSelected(true);
    EXPECT_EQ(pdfTitle(exportPdf(PrintOption::Selected, QStringLiteral("newer.pdf"))),
              QStringLiteral("Mem 12"));
}

// Notes typed and not stored are set aside when another slot is recalled, with Undo; a name
// longer than its field stops at the field's size, and a pasted one is cut with a word.
TEST_P(RecordSeamsTest, TypedNotesAreSetAsideWithUndoAndALongNameIsCutWithAWord) {
    frmmain& w = start();
    sendFromInstrument(4);
    sendFromInstrument(9);
    recall(4);
    auto* opname = w.findChild<QLineEdit*>(QStringLiteral("txtopname"));
    opname->setFocus();
    QTest::keyClicks(opname, QStringLiteral("K. Ng"));
    EXPECT_EQ(opname->text(), QStringLiteral("K. Ng"));
    recall(9);
    EXPECT_EQ(w.shownslot(), 8);
    EXPECT_EQ(w.statusBar()->currentMessage(),
              QStringLiteral("Notes typed for Mem 4 were not stored"));
    auto* undo = w.findChild<QPushButton*>(QStringLiteral("cmdundonotes"));
    ASSERT_NE(undo, nullptr);
    ASSERT_TRUE(undo->isVisible());
    undo->click();
    EXPECT_EQ(w.shownslot(), 3);
    EXPECT_EQ(opname->text(), QStringLiteral("K. Ng"));
    EXPECT_FALSE(undo->isVisible());
    // Stored now, the notes stay with their slot: a recall sets nothing aside.
    w.cmdtxtsav_Click();
    recall(9);
    recall(4);
    EXPECT_EQ(opname->text().trimmed(), QStringLiteral("K. Ng"));  // the field's run, blank-padded
    EXPECT_FALSE(undo->isVisible());

    const int room = GetParam()->headerFields.front().maxChars;
    EXPECT_TRUE(opname->toolTip().contains(QString::number(room)))
        << opname->toolTip().toStdString();
    opname->clear();
    QTest::keyClicks(opname, QString(room + 5, QLatin1Char('A')));
    EXPECT_EQ(opname->text().size(), room);
    QGuiApplication::clipboard()->setText(
        QStringLiteral("Alexandra Konstantinopoulou of the "
                       "Northern Axle Inspection Depot"));
    opname->clear();
    opname->paste();
    EXPECT_EQ(opname->text().size(), room);
    EXPECT_TRUE(w.statusBar()->currentMessage().startsWith(
        QStringLiteral("Operator holds %1 characters").arg(room)))
        << w.statusBar()->currentMessage().toStdString();
}

// Records sent one after the other each show their own time and date (the DAC program once
// showed "Tm:  :  Dt:  /  /" for the second of three).
TEST_P(RecordSeamsTest, EachRecordSentShowsItsOwnTimeAndDate) {
    frmmain& w = start();
    const bool clockRule = !GetParam()->clockControl.empty();
    for (const int slot : {1, 3, 15}) {
        ASSERT_TRUE(m_sim.commandAcknowledged("send " + QByteArray::number(slot)));
        const QString memno = QStringLiteral("%1").arg(slot, 3, 10, QLatin1Char('0'));
        ASSERT_TRUE(
            waitUntil([&] { return w.controlText("txtmemno").startsWith(memno); }, kArrivalMs));
        const auto fields = SimProcess::fields(simArguments(), slot);
        const QString codes = fields.at(QStringLiteral("timedate"));
        const QString expected = QStringLiteral("Tm: %1:%2 Dt:%3/%4/%5")
                                     .arg(codes.mid(0, 2), codes.mid(2, 2), codes.mid(4, 2),
                                          codes.mid(6, 2), codes.mid(8, 2));
        const bool clockOn = fields.at(QStringLiteral("txtclock")) != QStringLiteral("OFF    ");
        EXPECT_EQ(w.controlText("txttmdt"),
                  clockRule && !clockOn ? QStringLiteral("Tm: ") : expected)
            << "slot " << slot;
        EXPECT_EQ(w.session().view().controlText("txttmdt"), w.controlText("txttmdt"));
    }
}

INSTANTIATE_TEST_SUITE_P(Models, RecordSeamsTest, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
