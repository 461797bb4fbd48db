// pdf on files the writer produced: a page per marked slot in ascending order, each laid out
// as the window's printed page, its images lossless at the page's resolution.
#include <gtest/gtest.h>

#include <QProcess>

#include "crafted_files.h"
#include "support/report_fixture.h"

namespace trellicap {
namespace {

using testing::runCli;

constexpr int kProbeDpi = 144;  // one pixel is 10 twips

// A point of the plot (in points) on the page, in pixels at kProbeDpi: the plot lies at
// the A-scan block's corner, (870, 5700) twips.
QPoint plotPoint(double x, double y) {
    return QPoint(static_cast<int>((870 + 20 * x) / 10), static_cast<int>((5700 + 20 * y) / 10));
}

// Green within a few pixels of a plot point: the trace passes there.
bool traceNear(const QImage& page, double x, double y) {
    const QPoint p = plotPoint(x, y);
    return test::countGreen(page, QRect(p - QPoint(3, 3), QSize(7, 7))) > 0;
}

// The blocks where the window's page has them: heading band, A-scan and settings frames
// from (870 + 20, 5700 + 20) twips and (5990 + 20, 5700 + 20), the note frame at noteY.
void expectWindowLayout(const QImage& page, int noteY) {
    EXPECT_NEAR(test::darkRunCentre(page, QPoint(150, 540), QPoint(0, 1), 60) * 10, 5720, 10);
    EXPECT_NEAR(test::darkRunCentre(page, QPoint(50, 900), QPoint(1, 0), 60) * 10, 890, 10);
    EXPECT_NEAR(test::darkRunCentre(page, QPoint(800, 565), QPoint(0, 1), 40) * 10, 5720, 10);
    EXPECT_NEAR(test::darkRunCentre(page, QPoint(300, noteY / 10 - 6), QPoint(0, 1), 40) * 10,
                noteY + 10, 20);
    EXPECT_GT(test::countDark(page, QRect(130, 500, 960, 60)), 100);  // the heading's letters
    EXPECT_EQ(test::countDark(page, QRect(0, 0, page.width(), 495)), 0);
}

class Pdf : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString out = dir.filePath("reports.pdf");
};

TEST_F(Pdf, aPagePerMarkedSlotInOrderLaidOutAsTheWindowsPage) {
    const QString tft = testing::writeTftFile(QDir(dir.path()));
    const auto run = runCli({"pdf", tft, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    ASSERT_EQ(test::pdfPageCount(out), 2) << "pdfinfo (poppler-utils) is needed";
    // Sample 10 of slot 3 is 10 %, of slot 7 60 %: drawn at x = 11 pt, y = 210 - 2 * sample.
    const QImage first = test::renderPdfPageNumber(out, 1, kProbeDpi, dir.path());
    const QImage second = test::renderPdfPageNumber(out, 2, kProbeDpi, dir.path());
    ASSERT_FALSE(first.isNull()) << "pdftoppm (poppler-utils) is needed";
    EXPECT_TRUE(traceNear(first, 11, 190));
    EXPECT_FALSE(traceNear(first, 11, 90));
    EXPECT_TRUE(traceNear(second, 11, 90));
    EXPECT_FALSE(traceNear(second, 11, 190));
    for (const QImage* page : {&first, &second}) {
        expectWindowLayout(*page, tft::kProfile.report.noteY);
    }
    const std::vector<test::PdfImage> images = test::listPdfImages(out);
    ASSERT_EQ(images.size(), 8u);  // four blocks per page
    for (const test::PdfImage& image : images) {
        EXPECT_NE(image.encoding, QStringLiteral("jpeg"));
        EXPECT_EQ(image.xPpi, 300);
    }
}

TEST_F(Pdf, theDacPagesAndNamedSlotsAtAnotherResolution) {
    const QString dac = testing::writeDacFile(QDir(dir.path()));
    ASSERT_EQ(runCli({"pdf", dac, "--slots", "150,3,2", "--dpi", "600", "-o", out}).exitCode, 0);
    ASSERT_EQ(test::pdfPageCount(out), 3);
    // Slot 2's sample 10 is 20 %, slot 150's 87 %; slot 3 shows the table's start values.
    const QImage first = test::renderPdfPageNumber(out, 1, kProbeDpi, dir.path());
    const QImage last = test::renderPdfPageNumber(out, 3, kProbeDpi, dir.path());
    EXPECT_TRUE(traceNear(first, 11, 170));
    EXPECT_TRUE(traceNear(last, 11, 36));
    expectWindowLayout(first, dac::kProfile.report.noteY);
    expectWindowLayout(last, dac::kProfile.report.noteY);
    for (const test::PdfImage& image : test::listPdfImages(out)) {
        EXPECT_NE(image.encoding, QStringLiteral("jpeg"));
        EXPECT_EQ(image.xPpi, 600);
    }
}

// The text pdftotext reads off a PDF (poppler-utils), in reading order.
QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(Pdf, vectorPagesAreTheSamePagesAsTextAndLines) {
    const QString tft = testing::writeTftFile(QDir(dir.path()));
    const auto run = runCli({"pdf", tft, "--vector", "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(test::pdfPageCount(out), 2);
    const QImage first = test::renderPdfPageNumber(out, 1, kProbeDpi, dir.path());
    const QImage second = test::renderPdfPageNumber(out, 2, kProbeDpi, dir.path());
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(traceNear(first, 11, 190));
    EXPECT_FALSE(traceNear(first, 11, 90));
    EXPECT_TRUE(traceNear(second, 11, 90));
    for (const QImage* page : {&first, &second}) {
        expectWindowLayout(*page, tft::kProfile.report.noteY);
    }
    EXPECT_TRUE(test::listPdfImages(out).empty());
    // Slot 3's settings, readouts and header fields, Windows-1252 letters included, are
    // text; slot 7's page follows.
    const QString text = pdfText(out);
    for (const char* word :
         {"Ultrasonic", "Report", "Beam Path:", "50.9", "5920", "45.5", "A. Example",
          "Shop, \"North\"", "Axle 7/123", "Weld \u00e9 \u20ac", "Tm: 06:50", "250", "10.0"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word;
    }
    EXPECT_LT(text.indexOf(QStringLiteral("50.9")), text.indexOf(QStringLiteral("\f")));

    EXPECT_EQ(runCli({"pdf", tft, "--vector", "--dpi", "300", "-o", out}).exitCode, 2);
}

}  // namespace
}  // namespace trellicap
