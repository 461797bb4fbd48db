// A print run whose working folder cannot take the scratch bitmaps (here: it was removed
// while the program ran) says so once, naming the folder and the system's reason, and
// prints nothing, instead of one message for every failed step of every page.
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include "report/ui/printer_setup.h"
#include "sim_window.h"

using namespace trellicap;
using namespace trellicap::testing;

namespace {

class PrintFolderTest : public SimWindowTest {};

TEST_P(PrintFolderTest, AnUnwritableWorkingFolderGivesOneMessagePerPrintRun) {
    const QString work = m_dir.filePath(QStringLiteral("work"));
    ASSERT_TRUE(QDir().mkpath(work));
    m_workingDir = work;
    writeConfig(m_sim.pty().toLocal8Bit());
    frmmain& w = start();
    ASSERT_TRUE(w.session().port().isOpen());
    sendFromInstrument(2);
    sendFromInstrument(6);

    QPrinter& printer = w.printerSetup().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_dir.filePath(QStringLiteral("report.pdf"));
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(QDir(work).removeRecursively());

    for (int run = 1; run <= 2; ++run) {
        w.openPrintOptions();
        QWidget* options = shownWindow("frmprintop");
        ASSERT_NE(options, nullptr);
        options->findChild<QRadioButton*>(QStringLiteral("opall"))->click();
        options->findChild<QPushButton*>(QStringLiteral("cmdprint"))->click();
        ASSERT_EQ(m_messages.size(), static_cast<std::size_t>(run));
        const UserMessage& said = m_messages.back();
        EXPECT_EQ(said.text, QStringLiteral("The Report can't be printed."));
        EXPECT_TRUE(said.informative.contains(QStringLiteral("\"%1\"").arg(work)))
            << said.informative.toStdString();
        EXPECT_TRUE(said.informative.contains(QStringLiteral("No such file or directory")))
            << said.informative.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(w.shownslot(), 0);  // nothing was recalled for printing

    // The folder back: the same run prints both marked slots.
    ASSERT_TRUE(QDir().mkpath(work));
    w.openPrintOptions();
    QWidget* options = shownWindow("frmprintop");
    options->findChild<QRadioButton*>(QStringLiteral("opall"))->click();
    options->findChild<QPushButton*>(QStringLiteral("cmdprint"))->click();
    EXPECT_EQ(m_messages.size(), 2u);
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("report-2.pdf"))));
    EXPECT_EQ(w.shownslot(), 5);
}

INSTANTIATE_TEST_SUITE_P(Models, PrintFolderTest, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
