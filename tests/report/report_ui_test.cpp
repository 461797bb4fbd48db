// The print-options window and the application's printer with its setup dialog.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "profiles/tft.h"
#include "report/report_composer.h"
#include "report/ui/frmprintop.h"
#include "report/ui/printer_page_sink.h"
#include "report/ui/printer_setup.h"
#include "support/report_fixture.h"

namespace trellicap {
namespace {

QRadioButton* radio(QWidget& window, const char* name) {
    return window.findChild<QRadioButton*>(QLatin1String(name));
}

TEST(frmprintop, offersTheThreeOptionsAndAsksForTheChosenOne) {
    frmprintop window;
    std::vector<PrintOption> requests;
    QObject::connect(&window, &frmprintop::printRequested,
                     [&requests](PrintOption option) { requests.push_back(option); });
    window.show();

    EXPECT_EQ(window.windowTitle(), "Print");
    auto* frame = window.findChild<QGroupBox*>(QStringLiteral("Frame1"));
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Print Option");
    ASSERT_NE(radio(window, "opsingle"), nullptr);
    EXPECT_EQ(radio(window, "opsingle")->text(), "Currently Displayed Ascan Report");
    EXPECT_EQ(radio(window, "opselect")->text(), "Selected Ascan Report");
    EXPECT_EQ(radio(window, "opall")->text(), "All Ascan Report");
    EXPECT_TRUE(radio(window, "opsingle")->isChecked());
    auto* cmdprint = window.findChild<QPushButton*>(QStringLiteral("cmdprint"));
    ASSERT_NE(cmdprint, nullptr);
    EXPECT_EQ(cmdprint->text(), "Print");

    radio(window, "opselect")->setChecked(true);
    QTest::mouseClick(cmdprint, Qt::LeftButton);
    EXPECT_EQ(requests, std::vector<PrintOption>{PrintOption::Selected});
    EXPECT_FALSE(window.isVisible());

    // Opened again, it starts from the current report; "All" asks for all.
    window.show();
    EXPECT_TRUE(radio(window, "opsingle")->isChecked());
    radio(window, "opall")->setChecked(true);
    QTest::mouseClick(cmdprint, Qt::LeftButton);
    EXPECT_EQ(requests.back(), PrintOption::All);
}

TEST(frmprintop, closingByTheFramePrintsNothing) {
    frmprintop window;
    int requests = 0;
    QObject::connect(&window, &frmprintop::printRequested, [&requests] { ++requests; });
    window.show();
    window.close();
    EXPECT_EQ(requests, 0);
}

TEST(frmprintop, enterPrintsTheChosenReportsAndEscPrintsNothing) {
    frmprintop window;
    std::vector<PrintOption> requests;
    QObject::connect(&window, &frmprintop::printRequested,
                     [&requests](PrintOption option) { requests.push_back(option); });
    window.show();
    radio(window, "opall")->setChecked(true);
    QTest::keyClick(radio(window, "opall"), Qt::Key_Return);
    EXPECT_EQ(requests, std::vector<PrintOption>{PrintOption::All});
    EXPECT_FALSE(window.isVisible());

    window.show();
    radio(window, "opselect")->setChecked(true);
    QTest::keyClick(radio(window, "opselect"), Qt::Key_Escape);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_FALSE(window.isVisible());
    window.show();  // and the next opening starts from the current report again
    EXPECT_TRUE(radio(window, "opsingle")->isChecked());
}

TEST(PrinterSetup, printerIsCreatedOnFirstUseOnly) {
    PrinterSetup setup;
    EXPECT_FALSE(setup.hasPrinter());
    setup.printer();
    EXPECT_TRUE(setup.hasPrinter());
}

TEST(PrinterSetup, pdfOutputNeedsAFileAndARunNumbersItsFiles) {
    QTemporaryDir dir;
    PrinterSetup setup;
    QPrinter& printer = setup.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    // Where CUPS has printers, an empty file name turns the printer back to the system's
    // default printer; only where it has none is PDF output without a file left.
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        EXPECT_FALSE(setup.prepareRun());
    }

    const QString chosen = dir.filePath(QStringLiteral("report.pdf"));
    printer.setOutputFileName(chosen);
    ASSERT_TRUE(setup.prepareRun());
    test::FakeReportSource source(tft::kProfile);
    int failures = 0;
    const auto fail = [&failures] { ++failures; };
    print_report(tft::kProfile, source, setup.sink(), dir.path(), fail);
    print_report(tft::kProfile, source, setup.sink(), dir.path(), fail);
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(QFile::exists(chosen));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("report-2.pdf"))));
    EXPECT_EQ(printer.outputFileName(), chosen);  // the user's choice stays as it was

    // A new run starts again at the chosen name.
    QFile::remove(chosen);
    ASSERT_TRUE(setup.prepareRun());
    print_report(tft::kProfile, source, setup.sink(), dir.path(), fail);
    EXPECT_TRUE(QFile::exists(chosen));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("report-3.pdf"))));

    EXPECT_EQ(numberedFileName(QStringLiteral("/a/b.c/out"), 3), "/a/b.c/out-3");
}

TEST(PrinterSetup, blocksArePlacedFromTheCornerOfThePrintableArea) {
    // A PDF file has no unprintable edge: the printable area is the whole sheet, so the
    // A-scan frame's corner, (870 + 20, 5700 + 20) twips, is that far from the paper's corner.
    QTemporaryDir dir;
    PrinterSetup setup;
    QPrinter& printer = setup.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(setup.prepareRun());
    test::FakeReportSource source(tft::kProfile);
    int failures = 0;
    print_report(tft::kProfile, source, setup.sink(), dir.path(), [&failures] { ++failures; });
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(printer.pageLayout().margins(), QMarginsF(0, 0, 0, 0));

    // At 144 dpi one pixel is 10 twips; the frame's top line is scanned down a column
    // inside the frame, its left line along a row below the plot's grid.
    const QImage page = test::renderPdfPage(pdf, 144, dir.path());
    ASSERT_FALSE(page.isNull()) << "pdftoppm (poppler-utils) is needed";
    const double top = test::darkRunCentre(page, QPoint(150, 540), QPoint(0, 1), 60);
    const double left = test::darkRunCentre(page, QPoint(50, 900), QPoint(1, 0), 60);
    EXPECT_NEAR(top * 10, 5720, 10);  // within one pixel of the rendering
    EXPECT_NEAR(left * 10, 890, 10);
    // The green trace lies inside the A-scan frame (870 .. 6010 x 5700 .. 10460 twips).
    EXPECT_GT(test::countGreen(page, QRect(89, 572, 510, 470)), 500);
    EXPECT_EQ(test::countGreen(page, QRect(0, 0, page.width(), 570)), 0);

    // Four page images at the page's resolution (the printer's, within 300 to 600 dpi),
    // stored lossless: no JPEG halos round the letters.
    const std::vector<test::PdfImage> images = test::listPdfImages(pdf);
    ASSERT_EQ(images.size(), 4u) << "pdfimages (poppler-utils) is needed";
    for (const test::PdfImage& image : images) {
        EXPECT_NE(image.encoding, QStringLiteral("jpeg"));
        EXPECT_GE(image.xPpi, 300);
        EXPECT_GE(image.yPpi, 300);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("gtp10*.bmp")}).isEmpty());
}

TEST(PrinterSetup, cancellingTheDialogChangesNothing) {
    QTemporaryDir dir;
    PrinterSetup setup;
    QPrinter& printer = setup.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString chosen = dir.filePath(QStringLiteral("kept.pdf"));
    printer.setOutputFileName(chosen);
    printer.setPageOrientation(QPageLayout::Portrait);

    QPrintDialog* dialog = setup.showPrinter(nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), "dlgprinter");
    EXPECT_EQ(setup.showPrinter(nullptr), dialog);  // one dialog at a time
    dialog->reject();
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), chosen);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Portrait);
}

TEST(PrinterSetup, theChoiceMadeIsKeptForTheNextRunAndTheButtonSaysWhatItDoes) {
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("settings.ini"));
    const QString chosen = dir.filePath(QStringLiteral("reports.pdf"));
    {
        PrinterSetup setup(settings);
        QPrinter& printer = setup.printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(chosen);
        printer.setPageOrientation(QPageLayout::Landscape);
        QPrintDialog* dialog = setup.showPrinter(nullptr);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(),
                  QStringLiteral("Use This Printer"));
        dialog->reject();  // a cancelled dialog keeps nothing
        EXPECT_FALSE(QFile::exists(settings));
        setup.rememberChoice();
    }
    {
        PrinterSetup nextRun(settings);
        const QPrinter& printer = nextRun.printer();
        EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
        EXPECT_EQ(printer.outputFileName(), chosen);
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    }
    // Without a settings file nothing is kept or read.
    PrinterSetup unkept;
    EXPECT_NE(unkept.printer().outputFileName(), chosen);
}

}  // namespace
}  // namespace trellicap
