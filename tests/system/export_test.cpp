// From the instrument to a customer's searchable report: slots captured from the simulator,
// annotated and saved by the window, then exported through File > Export PDF... as text and
// lines that pdftotext reads, and through File > Export CSV....
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>

#include "link/instrument_link.h"
#include "link/qt_serial_port.h"
#include "profiles/tft.h"
#include "shell/main/frmmain.h"
#include "support/sim_process.h"
#include "support/wait.h"

using namespace trellicap;
using trellicap::testing::SimProcess;
using trellicap::testing::waitUntil;

namespace {

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(ExportSystemTest, capturedAnnotatedSavedAndExportedAsSearchableText) {
    if (SimProcess::executable().isEmpty()) {
        GTEST_SKIP() << "the instrument simulator is not built";
    }
    SimProcess sim;
    ASSERT_TRUE(
        sim.start({QStringLiteral("--model"), QStringLiteral("tft"), QStringLiteral("--fast")}))
        << sim.error().toStdString();
    QTemporaryDir dir;
    QFile cfg(dir.filePath(QStringLiteral("udc.cfg")));
    ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
    cfg.write(sim.pty().toLocal8Bit() + "\r\n");
    cfg.close();
    std::vector<UserMessage> messages;
    frmmain::Options options;
    options.workingDir = dir.path();
    options.waitTimerMs = 400;
    options.messenger = [&messages](QWidget*, const UserMessage& m) { messages.push_back(m); };
    frmmain w(tft::kProfile, std::make_unique<QtSerialPort>(), options);
    w.startUp();
    w.show();

    QSignalSpy finished(&w.session().link(), &InstrumentLink::batchFinished);
    for (const int row : {2, 11}) {
        w.slotList()->item(row)->setSelected(true);
    }
    w.findChild<QPushButton*>(QStringLiteral("cmdcapture"))->click();
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_EQ(w.slotList()->item(11)->text(), QStringLiteral("Mem 12 *"));

    // Slot 12 shown and annotated, then the whole file saved by the window.
    w.slotList()->clearSelection();
    w.slotList()->item(11)->setSelected(true);
    w.lstmem_DblClick();
    w.findChild<QLineEdit*>(QStringLiteral("txtopname"))->setText(QStringLiteral("R. Okafor"));
    w.cmdtxtsav_Click();
    const QString saved = dir.filePath(QStringLiteral("shift-12.dat"));
    ASSERT_TRUE(w.saveToFile(saved));

    const QString pdf = dir.filePath(QStringLiteral("shift-12.pdf"));
    w.findChild<QAction*>(QStringLiteral("mnuexportpdf"))->trigger();
    auto* dialog = w.findChild<QWidget*>(QStringLiteral("frmexportpdf"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("txtexportfile"))->text(), pdf);
    dialog->findChild<QRadioButton*>(QStringLiteral("opall"))->setChecked(true);
    dialog->findChild<QPushButton*>(QStringLiteral("cmdexport"))->click();
    ASSERT_TRUE(waitUntil(
        [&] { return w.statusBar()->currentMessage().contains(QStringLiteral("shift-12.pdf")); },
        60000));
    EXPECT_TRUE(messages.empty());
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("R. Okafor")));
    EXPECT_TRUE(text.contains(QStringLiteral("Ultrasonic")));
    EXPECT_TRUE(text.contains(w.controlText("txtrange").trimmed()));
    EXPECT_EQ(text.count(QLatin1Char('\f')), 2);  // two pages

    const QString csv = dir.filePath(QStringLiteral("shift-12.csv"));
    w.findChild<QAction*>(QStringLiteral("mnuexportcsv"))->trigger();
    dialog = w.findChild<QWidget*>(QStringLiteral("frmexportcsv"));
    dialog->findChild<QRadioButton*>(QStringLiteral("opall"))->setChecked(true);
    dialog->findChild<QPushButton*>(QStringLiteral("cmdexport"))->click();
    ASSERT_TRUE(waitUntil(
        [&] { return w.statusBar()->currentMessage().contains(QStringLiteral("shift-12.csv")); },
        60000));
    QFile table(csv);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QByteArray rows = table.readAll();
    EXPECT_EQ(rows.count("\r\n"), 3);
    EXPECT_TRUE(rows.contains("R. Okafor"));
}

}  // namespace
