// The report composer: one page per report, the four blocks at their places with frames,
// trace and texts, scratch bitmaps gone afterwards, failures reported step by step.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "report/report_composer.h"
#include "support/pdf_page_sink.h"
#include "support/recording_page_sink.h"
#include "support/report_fixture.h"

namespace trellicap {
namespace {

using test::countDark;
using test::countGreen;
using test::FakeReportSource;
using test::renderPdfPage;

struct Layout {
    const ModelProfile* profile;
    int blockHeightPx;  // A-scan and settings canvases
    int noteY;          // twips
    int noteHeightPx;
    int noteFrameBottomPx;
};

const Layout kTft{&tft::kProfile, 389, 11400, 70, 65};
const Layout kDac{&dac::kProfile, 349, 10960, 57, 51};

// Page pixels of the recording sink: 1 pixel = 15 twips; points are 4/3 pixel.
constexpr int kAscanLeft = 58;      // 870 twips
constexpr int kSettingsLeft = 399;  // 5990 twips
constexpr int kBlocksTop = 380;     // 5700 twips
int pt(double points) {
    return static_cast<int>(points * 4.0 / 3.0);
}

QStringList scratchFiles(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("gtp*.bmp")}, QDir::Files);
}

class ReportComposer : public ::testing::TestWithParam<Layout> {
protected:
    void compose(PageSink& sink) {
        print_report(*GetParam().profile, source, sink, dir.path(), [this] { ++failures; });
    }
    QTemporaryDir dir;
    FakeReportSource source{*GetParam().profile};
    int failures = 0;
};

TEST_P(ReportComposer, placesTheFourBlocksOnOnePageOfOneJob) {
    const Layout& layout = GetParam();
    RecordingPageSink sink;
    compose(sink);

    EXPECT_EQ(failures, 0);
    ASSERT_EQ(sink.jobs().size(), 1u);
    const RecordedJob& job = sink.jobs()[0];
    EXPECT_TRUE(job.ended);
    ASSERT_EQ(job.placements.size(), 4u);
    // Heading, A-scan, settings, note: later blocks cover earlier ones where they overlap.
    EXPECT_EQ(job.placements[0].twips, QPoint(1300, 5000));
    EXPECT_EQ(job.placements[0].image.size(), QSize(641, 41));
    EXPECT_EQ(job.placements[1].twips, QPoint(870, 5700));
    EXPECT_EQ(job.placements[1].image.size(), QSize(345, layout.blockHeightPx));
    EXPECT_EQ(job.placements[2].twips, QPoint(5990, 5700));
    EXPECT_EQ(job.placements[2].image.size(), QSize(345, layout.blockHeightPx));
    EXPECT_EQ(job.placements[3].twips, QPoint(870, layout.noteY));
    EXPECT_EQ(job.placements[3].image.size(), QSize(687, layout.noteHeightPx));
}

TEST_P(ReportComposer, pageShowsFramesTraceAndTexts) {
    const Layout& layout = GetParam();
    RecordingPageSink sink;
    compose(sink);
    ASSERT_EQ(sink.jobs().size(), 1u);
    const QImage page = sink.pageImage(0);
    const int noteTop = layout.noteY / 15;

    // Frames, 2 pixels wide: A-scan left and top, settings right, note top and bottom.
    EXPECT_GE(countDark(page, QRect(kAscanLeft - 1, 400, 5, 300)), 300);
    EXPECT_GE(countDark(page, QRect(70, kBlocksTop - 1, 300, 5)), 300);
    EXPECT_GE(countDark(page, QRect(kSettingsLeft + pt(255) - 3, 400, 7, 300)), 300);
    EXPECT_GE(countDark(page, QRect(100, noteTop - 1, 500, 4)), 500);
    EXPECT_GE(countDark(page, QRect(100, noteTop + layout.noteFrameBottomPx - 2, 500, 5)), 500);

    // The green trace lies in the A-scan block and nowhere else.
    const QRect ascan(kAscanLeft, kBlocksTop, kSettingsLeft - kAscanLeft, noteTop - kBlocksTop);
    EXPECT_GT(countGreen(page, ascan), 100);
    EXPECT_EQ(countGreen(page, page.rect()), countGreen(page, ascan));

    // Text: heading, readout line, first settings row, note lines.
    EXPECT_GT(countDark(page, QRect(90, 335, 630, 38)), 200);
    EXPECT_GT(countDark(page, QRect(kAscanLeft + 4, kBlocksTop + pt(240), 330, 14)), 50);
    EXPECT_GT(countDark(page, QRect(kSettingsLeft + 5, kBlocksTop + pt(9), 330, 22)), 50);
    EXPECT_GT(countDark(page, QRect(kAscanLeft + 5, noteTop + 3, 300, layout.noteHeightPx - 8)),
              100);
    // Nothing outside the blocks.
    EXPECT_EQ(countDark(page, QRect(0, 0, page.width(), 330)), 0);
    EXPECT_EQ(countDark(page, QRect(0, noteTop + layout.noteHeightPx, page.width(), 400)), 0);
}

TEST_P(ReportComposer, scratchBitmapsAreOverwrittenThenDeleted) {
    for (const std::string_view name : kScratchBitmaps) {
        test::writeStaleBitmap(dir.filePath(QString::fromLatin1(name)));
    }
    RecordingPageSink sink;
    compose(sink);

    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(scratchFiles(dir.path()).isEmpty());
    ASSERT_EQ(sink.jobs().size(), 1u);
    for (const Placement& placement : sink.jobs()[0].placements) {
        EXPECT_GT(placement.image.width(), 10);
        EXPECT_EQ(test::countColour(placement.image, placement.image.rect(), Qt::red), 0);
    }
}

TEST_P(ReportComposer, twoCallsGiveTwoIdenticalOnePageJobs) {
    RecordingPageSink sink;
    compose(sink);
    compose(sink);
    ASSERT_EQ(sink.jobs().size(), 2u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(sink.jobs()[0].placements[i].image, sink.jobs()[1].placements[i].image) << i;
    }
}

TEST_P(ReportComposer, eachReportIsAOnePagePdf) {
    PdfPageSink sink(dir.filePath(QStringLiteral("report-%1.pdf")));
    compose(sink);
    compose(sink);
    EXPECT_EQ(failures, 0);
    ASSERT_EQ(sink.files().size(), 2);
    for (const QString& file : sink.files()) {
        QFile pdf(file);
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << file.toStdString();
        const QString content = QString::fromLatin1(pdf.readAll());
        EXPECT_EQ(content.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 1);
    }
    EXPECT_TRUE(scratchFiles(dir.path()).isEmpty());

    // Rendered at 100 dpi the blocks keep their physical places: twips / 14.4.
    const QImage page = renderPdfPage(sink.files()[0], 100, dir.path());
    ASSERT_FALSE(page.isNull()) << "pdftoppm (poppler-utils) is needed";
    const int left = 60;            // 870 twips
    const int top = 396;            // 5700 twips
    const int settingsRight = 770;  // 5990 twips + 255 points
    EXPECT_GE(countDark(page, QRect(left, top + 20, 5, 300)), 300);
    EXPECT_GE(countDark(page, QRect(settingsRight - 3, top + 20, 7, 300)), 300);
    EXPECT_GT(countGreen(page, QRect(left, top, 355, 320)), 100);
    EXPECT_EQ(countDark(page, QRect(0, 0, page.width(), 340)), 0);
}

TEST_P(ReportComposer, unwritableWorkingFolderReportsEachFailingStepAndPrintsNothing) {
    const Layout& layout = GetParam();
    // As root, permissions stop nothing: a "folder" that is a regular file or does not exist.
    QFile plainFile(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    for (const QString& folder : {plainFile.fileName(), dir.filePath(QStringLiteral("gone"))}) {
        RecordingPageSink sink;
        int count = 0;
        print_report(*layout.profile, source, sink, folder, [&count] { ++count; });
        // Plot bitmap saved, read, deleted; four canvases saved; four bitmaps read for the
        // page; four deleted. No bitmap reached the page, so no job was started.
        EXPECT_EQ(count, 15) << folder.toStdString();
        EXPECT_TRUE(sink.jobs().empty());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"not-a-folder"});
}

TEST_P(ReportComposer, refusedPrinterReportsEachPlacementAndStillCleansUp) {
    RecordingPageSink sink;
    sink.setReady(false);
    compose(sink);
    EXPECT_EQ(failures, 4);  // the job is asked for at each of the four bitmaps
    EXPECT_TRUE(sink.jobs().empty());
    EXPECT_TRUE(scratchFiles(dir.path()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Profiles, ReportComposer, ::testing::Values(kTft, kDac),
                         [](const auto& info) {
                             return std::string(info.param.profile->programName);
                         });

TEST(ReportComposerTft, valuesStandUnderTheirLabelsAndTheEnterColumnStaysEmpty) {
    QTemporaryDir dir;
    FakeReportSource source(tft::kProfile);
    source.clearTexts();
    source.set("Txtent", QStringLiteral("ENTER"));
    RecordingPageSink sink;
    print_report(tft::kProfile, source, sink, dir.path(), {});
    ASSERT_EQ(sink.jobs().size(), 1u);
    const QImage settings = sink.jobs()[0].placements[2].image;
    const auto cell = [](int x, int y) { return QRect(pt(x), pt(y) + 1, pt(50), pt(10)); };

    EXPECT_GT(countDark(settings, cell(184, 98)), 10);   // label "ENTER"
    EXPECT_EQ(countDark(settings, cell(184, 110)), 0);   // and no value under it
    EXPECT_GT(countDark(settings, cell(184, 197)), 10);  // Txtent under "PRESS"
    EXPECT_EQ(countDark(settings, cell(6, 23)), 0);      // empty txtzero prints nothing

    // The composer reads the boxes the TFT page shows, the readouts and header fields.
    for (const char* control : {"txtrefg", "txtcolor", "txtbrt", "txtxoff", "txttmdt", "txtbeam",
                                "txtsurf", "txtdpth", "txtraw", "txtremark"}) {
        EXPECT_TRUE(source.asked().contains(control)) << control;
    }
    EXPECT_FALSE(source.asked().contains("txtcontrast"));
    EXPECT_FALSE(source.asked().contains(""));
}

TEST(ReportComposerDac, readsTheDacBoxesOnly) {
    QTemporaryDir dir;
    FakeReportSource source(dac::kProfile);
    RecordingPageSink sink;
    print_report(dac::kProfile, source, sink, dir.path(), {});
    for (const char* control :
         {"txtcontrast", "txtbeep", "txthud", "txttmdt", "txtopname", "txtaxno", "txtremark"}) {
        EXPECT_TRUE(source.asked().contains(control)) << control;
    }
    for (const char* control : {"txtrefg", "txtcolor", "txtbrt", "txtxoff", "txtraw", ""}) {
        EXPECT_FALSE(source.asked().contains(control)) << control;
    }
}

}  // namespace
}  // namespace trellicap
