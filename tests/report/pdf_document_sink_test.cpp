// Several reports in one PDF document: a page per report, each laid out as the single-page
// report is, the images lossless, and nothing on the device before the first page.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "report/pdf_document_sink.h"
#include "report/report_composer.h"
#include "support/report_fixture.h"

namespace trellicap {
namespace {

// Writes `reports` reports of the profile into one document at dpi; the PDF's path.
QString writeDocument(const ModelProfile& profile, const QTemporaryDir& dir, int reports, int dpi) {
    const QString path = dir.filePath(QStringLiteral("reports.pdf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    PdfDocumentSink sink(file, dpi);
    const test::FakeReportSource source(profile);
    int failures = 0;
    for (int i = 0; i < reports; ++i) {
        print_report(profile, source, sink, dir.path(), [&failures] { ++failures; });
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(sink.pages(), reports);
    EXPECT_TRUE(sink.finish());
    return path;
}

TEST(PdfDocumentSink, everyReportIsAPageLaidOutAsTheSinglePageReport) {
    QTemporaryDir dir;
    const QString pdf = writeDocument(tft::kProfile, dir, 3, 300);
    ASSERT_EQ(test::pdfPageCount(pdf), 3) << "pdfinfo (poppler-utils) is needed";
    // At 144 dpi one pixel is 10 twips: the A-scan frame's top-left line centre lies at
    // (870 + 20, 5700 + 20) twips on the last page as on the first.
    for (const int page : {1, 3}) {
        const QImage image = test::renderPdfPageNumber(pdf, page, 144, dir.path());
        ASSERT_FALSE(image.isNull()) << "pdftoppm (poppler-utils) is needed";
        EXPECT_NEAR(test::darkRunCentre(image, QPoint(150, 540), QPoint(0, 1), 60) * 10, 5720, 10);
        EXPECT_NEAR(test::darkRunCentre(image, QPoint(50, 900), QPoint(1, 0), 60) * 10, 890, 10);
        EXPECT_GT(test::countGreen(image, QRect(89, 572, 510, 470)), 500);
    }
    const std::vector<test::PdfImage> images = test::listPdfImages(pdf);
    ASSERT_EQ(images.size(), 12u);  // four blocks per page
    for (const test::PdfImage& image : images) {
        EXPECT_NE(image.encoding, QStringLiteral("jpeg"));
        EXPECT_EQ(image.xPpi, 300);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("gtp10*.bmp")}).isEmpty());
}

TEST(PdfDocumentSink, theDacPageKeepsItsOwnNotePosition) {
    QTemporaryDir dir;
    const QString pdf = writeDocument(dac::kProfile, dir, 2, 300);
    ASSERT_EQ(test::pdfPageCount(pdf), 2);
    const QImage image = test::renderPdfPageNumber(pdf, 2, 144, dir.path());
    ASSERT_FALSE(image.isNull());
    // The note frame's top line, 10 twips into the note block at 10960 twips on the DAC page
    // (11400 on the TFT page); the canvas edge cuts the line's upper half, hence the slack.
    EXPECT_NEAR(test::darkRunCentre(image, QPoint(300, 1090), QPoint(0, 1), 40) * 10, 10970, 20);
}

TEST(PdfDocumentSink, aDocumentStartsWithItsFirstPageAndNeedsAWritableDevice) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        PdfDocumentSink sink(buffer, 300);
        EXPECT_TRUE(sink.ready());
        EXPECT_FALSE(sink.end());  // no page open
        EXPECT_TRUE(sink.finish());
        EXPECT_EQ(sink.pages(), 0);
    }
    EXPECT_TRUE(buffer.data().isEmpty());

    QBuffer closed;
    PdfDocumentSink refused(closed, 300);
    EXPECT_FALSE(refused.ready());
    EXPECT_FALSE(refused.begin());
    EXPECT_FALSE(refused.place(QPoint(0, 0), QImage(4, 4, QImage::Format_RGB32)));

    PdfDocumentSink open(buffer, 300);
    ASSERT_TRUE(open.begin());
    EXPECT_FALSE(open.begin());   // one page at a time
    EXPECT_FALSE(open.finish());  // not while a page is open
    EXPECT_TRUE(open.end());
    EXPECT_TRUE(open.finish());
    EXPECT_TRUE(buffer.data().startsWith("%PDF"));
}

}  // namespace
}  // namespace trellicap
