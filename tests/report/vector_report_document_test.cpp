// The vector report: pages of lines and real text that lie where the printed page puts its
// bitmaps, searchable with pdftotext, PDF/A-1b with the fonts inside, a title and a date.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "report/report_composer.h"
#include "report/vector_report_document.h"
#include "support/report_fixture.h"

namespace trellicap {
namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// `pages` pages, page i with the operator "Inspector <i + 1>".
QString writeVectorDocument(const ModelProfile& profile, const QTemporaryDir& dir, int pages) {
    const QString path = dir.filePath(QStringLiteral("vector.pdf"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    VectorReportDocument document(file,
                                  vectorReportTitle(QStringLiteral("shift-12.dat"), {1, 2, 3, 7}));
    test::FakeReportSource source(profile);
    for (int i = 0; i < pages; ++i) {
        source.set(std::string(profile.headerFields[0].control),
                   QStringLiteral("Inspector%1").arg(i + 1));
        EXPECT_TRUE(document.addPage(profile, source, source.plot()));
    }
    EXPECT_EQ(document.pages(), pages);
    EXPECT_TRUE(document.finish());
    return path;
}

struct Word {
    double xMin = -1;
    double yMin = -1;
};

// The first word of pdftotext -bbox on the page that equals `text`, in points.
Word findWord(const QString& bbox, int page, const QString& text) {
    const QStringList pageTexts = bbox.split(QStringLiteral("<page "));
    if (page >= pageTexts.size()) {
        return {};
    }
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = word.globalMatch(pageTexts[page]); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(3) == text) {
            return {m.captured(1).toDouble(), m.captured(2).toDouble()};
        }
    }
    return {};
}

TEST(VectorReport, titleNamesTheFileAndTheSlotsInRuns) {
    EXPECT_EQ(vectorReportTitle(QStringLiteral("shift-12.dat"), {1, 2, 3, 7, 9, 10}),
              QStringLiteral("shift-12.dat, Mem 1-3, 7, 9-10"));
    EXPECT_EQ(vectorReportTitle(QString(), {4}), QStringLiteral("Mem 4"));
    EXPECT_EQ(vectorReportTitle(QStringLiteral("a.dat"), {}), QStringLiteral("a.dat, Mem"));
}

TEST(VectorReport, pagesAreTextAndLinesWhereThePrintedPagePutsThem) {
    QTemporaryDir dir;
    const QString pdf = writeVectorDocument(tft::kProfile, dir, 3);
    ASSERT_EQ(test::pdfPageCount(pdf), 3) << "pdfinfo (poppler-utils) is needed";
    // The plot is a canvas of lines: no bitmap anywhere.
    EXPECT_TRUE(test::listPdfImages(pdf).empty());
    EXPECT_FALSE(run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).isEmpty());

    // The same probes as on the printed page: at 144 dpi one pixel is 10 twips, the A-scan
    // frame's top and left lines are centred at 5720 and 890 twips, the trace is green.
    for (const int page : {1, 3}) {
        const QImage image = test::renderPdfPageNumber(pdf, page, 144, dir.path());
        ASSERT_FALSE(image.isNull()) << "pdftoppm (poppler-utils) is needed";
        EXPECT_NEAR(test::darkRunCentre(image, QPoint(150, 540), QPoint(0, 1), 60) * 10, 5720, 10);
        EXPECT_NEAR(test::darkRunCentre(image, QPoint(50, 900), QPoint(1, 0), 60) * 10, 890, 10);
        EXPECT_GT(test::countGreen(image, QRect(89, 572, 510, 470)), 500);
    }

    // Every text is a word a reader finds, at its place: the heading over the page, the
    // readout labels and values under the plot, the settings and the note with each page's
    // own operator. Positions in points (20 twips), the top of the letters' box.
    const QString bbox =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    ASSERT_FALSE(bbox.isEmpty()) << "pdftotext (poppler-utils) is needed";
    for (int page = 1; page <= 3; ++page) {
        const Word title = findWord(bbox, page, QStringLiteral("Ultrasonic"));
        EXPECT_NEAR(title.yMin, kPageBaseY / 20.0, 3) << page;
        EXPECT_GT(title.xMin, kHeadingX / 20.0);
        const Word beam = findWord(bbox, page, QStringLiteral("Beam"));
        EXPECT_NEAR(beam.xMin, kAscanX / 20.0 + 4 * kPixelsPerPoint * 0.75, 2) << page;
        EXPECT_GT(beam.yMin, kBlocksY / 20.0 + 230);
        EXPECT_GE(findWord(bbox, page, QStringLiteral("123.4")).xMin, beam.xMin) << page;
        EXPECT_GT(findWord(bbox, page, QStringLiteral("Data")).xMin, kSettingsX / 20.0);
        const Word op = findWord(bbox, page, QStringLiteral("Inspector%1").arg(page));
        EXPECT_NEAR(op.yMin, tft::kProfile.report.noteY / 20.0, 3) << page;
        EXPECT_GT(op.xMin, kNoteX / 20.0);
    }

    // PDF/A-1b: its identification in the XMP metadata, every font embedded, the title and
    // the creation date in the document information.
    const QString xmp = run(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf});
    EXPECT_TRUE(xmp.contains(QStringLiteral("pdfaid:part=\"1\"")));
    EXPECT_TRUE(xmp.contains(QStringLiteral("pdfaid:conformance=\"B\"")));
    EXPECT_TRUE(xmp.contains(QStringLiteral("<rdf:li xml:lang=\"x-default\">shift-12.dat")));
    const QString fonts = run(QStringLiteral("pdffonts"), {pdf});
    const QStringList fontLines = fonts.split('\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(fontLines.isEmpty());
    for (const QString& line : fontLines) {
        EXPECT_TRUE(
            line.contains(QRegularExpression(QStringLiteral(" yes +(yes|no) +(yes|no) +\\d+"))))
            << line.toStdString();  // embedded, subset
    }
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(
        info.contains(QRegularExpression(QStringLiteral("Title: +shift-12.dat, Mem 1-3, 7\n"))));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("CreationDate: +\\S"))));
}

TEST(VectorReport, theDacPageKeepsItsOwnNoteAndCutsThePlotAtItsBlock) {
    QTemporaryDir dir;
    const QString pdf = writeVectorDocument(dac::kProfile, dir, 1);
    const QString bbox =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    EXPECT_NEAR(findWord(bbox, 1, QStringLiteral("Inspector1")).yMin,
                dac::kProfile.report.noteY / 20.0, 3);
    // Below the A-scan block (5235 twips high here) up to the note, nothing of the plot.
    const QImage image = test::renderPdfPage(pdf, 144, dir.path());
    ASSERT_FALSE(image.isNull());
    const int blockBottom = (kBlocksY + dac::kProfile.report.ascanHeightTwips) / 10;
    EXPECT_EQ(test::countGreen(image, QRect(87, blockBottom + 2, 510, 20)), 0);
    EXPECT_TRUE(test::listPdfImages(pdf).empty());
}

}  // namespace
}  // namespace trellicap
