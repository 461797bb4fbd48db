#include "display/canvas.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "display/ascan_plot.h"
#include "display/panel_texts.h"
#include "display/ui/canvas_widget.h"
#include "plot_colours.h"
#include "profiles/tft.h"
#include "record_builder.h"

namespace trellicap {
namespace {

using testing::kBlack;
using testing::kGreen;
using testing::kWhite;

using testing::blankSettings;
using testing::putCodes;
using testing::putText;

Canvas plotCanvas() {
    return Canvas(5205, 4665, Canvas::Unit::Point);
}

// The pixel under a point, and a check that any pixel of a small square around it has the
// colour (lines and dots are 2 pixels across; which 2 depends on rounding).
QColor pixelAt(const Canvas& canvas, QPointF pt) {
    const QPointF px = canvas.toPixels(pt);
    return canvas.image().pixelColor(static_cast<int>(px.x()), static_cast<int>(px.y()));
}
bool colourNear(const Canvas& canvas, QPointF pt, const QColor& colour) {
    const QPointF px = canvas.toPixels(pt);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint at(static_cast<int>(px.x()) + dx, static_cast<int>(px.y()) + dy);
            if (canvas.image().valid(at) && canvas.image().pixelColor(at) == colour) {
                return true;
            }
        }
    }
    return false;
}
int countColour(const QImage& image, const QColor& colour, QRect area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return n;
}
bool allWhite(const QImage& image) {
    return countColour(image, kWhite, image.rect()) == image.width() * image.height();
}

// Samples at 45 %: the trace runs at y = 120 pt, between two dotted grid rows.
std::vector<RecordValue> flatTraceRecord() {
    auto record = blankSettings(tft::kProfile);
    for (int i = 0; i < 250; ++i) {
        record[static_cast<std::size_t>(i)] = 45;
    }
    return record;
}

TEST(Canvas, SizesAndUnitsAtNinetySixDotsPerInch) {
    Canvas points = plotCanvas();
    EXPECT_EQ(points.sizePixels(), QSize(347, 311));
    EXPECT_DOUBLE_EQ(points.pixelsPerUnit(), 4.0 / 3.0);
    EXPECT_TRUE(allWhite(points.image()));

    Canvas twips(9615, 615, Canvas::Unit::Twip);
    EXPECT_EQ(twips.sizePixels(), QSize(641, 41));
    EXPECT_DOUBLE_EQ(twips.pixelsPerUnit(), 1.0 / 15.0);
    twips.setLineWidth(2);
    twips.dot({150, 150}, kBlack);                                           // 10 px, 10 px
    EXPECT_EQ(countColour(twips.image(), kBlack, twips.image().rect()), 4);  // 2 × 2 pixels
    EXPECT_EQ(twips.image().pixelColor(10, 10), kBlack);
}

TEST(Canvas, PrintMovesTheTextPositionToTheNextLine) {
    Canvas canvas(5175, 5835, Canvas::Unit::Point);
    canvas.setFont(QFont("Courier", 10));
    const double height = canvas.lineHeight();
    EXPECT_GT(height, 5.0);
    canvas.printAt({4, 240}, "Beam Path:");
    EXPECT_EQ(canvas.textPosition(), QPointF(0, 240 + height));
    canvas.print("x");
    EXPECT_EQ(canvas.textPosition(), QPointF(0, 240 + 2 * height));
    // The text went below its top-left corner, not above it.
    const QImage& image = canvas.image();
    const int top = static_cast<int>(240 * 4.0 / 3.0);
    EXPECT_GT(countColour(image, kBlack, QRect(0, top, 120, 20)), 0);
    EXPECT_EQ(countColour(image, kBlack, QRect(0, 0, image.width(), top - 1)), 0);

    canvas.clear();
    EXPECT_EQ(canvas.textPosition(), QPointF(0, 0));
    EXPECT_TRUE(allWhite(canvas.image()));
}

TEST(Canvas, HeightChangeKeepsTheDrawingAndBackgroundPicturesKeepTheirSize) {
    Canvas plot = plotCanvas();
    displayPattern(plot, flatTraceRecord());

    Canvas report(5175, 4665, Canvas::Unit::Point);
    report.drawImage({0, 0}, plot.image());  // 347 px wide on a 345 px canvas: the edge is cut
    report.setHeightTwips(5835);
    EXPECT_EQ(report.sizePixels(), QSize(345, 389));
    EXPECT_EQ(report.image().copy(0, 0, 345, 311), plot.image().copy(0, 0, 345, 311));
    EXPECT_EQ(countColour(report.image(), kWhite, QRect(0, 311, 345, 78)), 345 * 78);

    report.setLineWidth(2);
    report.rectangle({1, 1}, {256, 288}, kBlack);
    EXPECT_EQ(pixelAt(report, {128, 288}), kBlack);
    EXPECT_EQ(pixelAt(report, {256, 250}), kBlack);
    EXPECT_EQ(pixelAt(report, {128, 260}), kWhite);  // an outline, not filled
}

TEST(DisplayPattern, DrawsTraceBaselineAndGraticuleAndNothingElse) {
    Canvas canvas = plotCanvas();
    displayPattern(canvas, flatTraceRecord());
    const QImage& image = canvas.image();

    EXPECT_EQ(canvas.lineWidth(), 2);
    // Trace at 45 %: y = 120 pt, from x = 1 to 250, rising from the baseline at x = 0.
    for (double x : {2.0, 60.0, 123.5, 249.0}) {
        EXPECT_EQ(pixelAt(canvas, {x, 120}), kGreen) << x;
    }
    EXPECT_TRUE(colourNear(canvas, {0.5, 160}, kGreen));
    // Baseline at y = 210 pt (280 px), black where the trace does not cover it.
    EXPECT_EQ(image.pixelColor(133, 280), kBlack);
    EXPECT_EQ(image.pixelColor(335, 280), kBlack);
    EXPECT_EQ(image.pixelColor(133, 283), kWhite);
    // Graticule and tick dots, white between them.
    EXPECT_TRUE(colourNear(canvas, {6, 10}, kBlack));
    EXPECT_TRUE(colourNear(canvas, {246, 190}, kBlack));
    EXPECT_TRUE(colourNear(canvas, {251, 15}, kBlack));
    EXPECT_TRUE(colourNear(canvas, {251, 213}, kBlack));
    EXPECT_EQ(pixelAt(canvas, {3.5, 100}), kWhite);
    EXPECT_EQ(pixelAt(canvas, {38, 55}), kWhite);
    // Nothing right of the graticule or below the ticks (no labels before the panel pass).
    EXPECT_EQ(countColour(image, kWhite, QRect(342, 0, 5, 311)), 5 * 311);
    EXPECT_EQ(countColour(image, kWhite, QRect(0, 287, 347, 24)), 347 * 24);
    // Aliased drawing: only the three colours of the plot appear.
    const int total = image.width() * image.height();
    EXPECT_EQ(countColour(image, kWhite, image.rect()) + countColour(image, kBlack, image.rect()) +
                  countColour(image, kGreen, image.rect()),
              total);

    clearPlot(canvas);
    EXPECT_TRUE(allWhite(canvas.image()));
}

TEST(DisplayPattern, TraceClipsAtTheTopLine) {
    auto record = flatTraceRecord();
    for (int i = 100; i < 150; ++i) {
        record[static_cast<std::size_t>(i)] = 200;
    }
    Canvas canvas = plotCanvas();
    displayPattern(canvas, record);
    EXPECT_EQ(pixelAt(canvas, {123.5, 10}), kGreen);
    EXPECT_EQ(countColour(canvas.image(), kGreen, QRect(0, 0, 347, 12)), 0);
}

TEST(DrawOverlays, GatesDacCurvesAndAxisLabelsOnTopOfThePattern) {
    auto record = blankSettings(tft::kProfile);
    putText(record, 267, "100    ");                       // RANGE
    putText(record, 281, "0.0    ");                       // DELAY
    putText(record, 295, "ON     30%    70%    40%    ");  // gate 1
    putText(record, 323, "OFF    10%    10%    90%    ");  // gate 2 off
    putText(record, 431, "ON     ");                       // DAC
    putCodes(record, 540, {20, 80, 100, 80, 120, 2});
    const PanelTexts texts = buildPanelTexts(tft::kProfile, record);

    Canvas canvas = plotCanvas();
    displayPattern(canvas, record);
    drawOverlays(canvas, tft::kProfile, texts, record);

    EXPECT_EQ(pixelAt(canvas, {148, 130}), kGreen);  // gate 1 at 40 %
    EXPECT_EQ(pixelAt(canvas, {70, 130}), kWhite);   // it starts at x = 75
    EXPECT_EQ(pixelAt(canvas, {35, 30}), kWhite);    // gate 2 is off
    EXPECT_EQ(pixelAt(canvas, {58, 50}), kGreen);    // DAC curve at 80 %
    EXPECT_EQ(pixelAt(canvas, {110, 50}), kWhite);   // stopped at the 2 % point
    // Labels: black glyphs under the ticks, at the first and the last label.
    const QImage& image = canvas.image();
    EXPECT_GT(countColour(image, kBlack, QRect(0, 287, 30, 24)), 0);
    EXPECT_GT(countColour(image, kBlack, QRect(318, 287, 29, 24)), 0);

    // RANGE reading 0: no labels at all.
    putText(record, 267, "0      ");
    Canvas bare = plotCanvas();
    displayPattern(bare, record);
    drawOverlays(bare, tft::kProfile, buildPanelTexts(tft::kProfile, record), record);
    EXPECT_EQ(countColour(bare.image(), kWhite, QRect(0, 287, 347, 24)), 347 * 24);
}

TEST(Canvas, BmpRoundTripAndWidgetShowTheImage) {
    Canvas canvas = plotCanvas();
    displayPattern(canvas, flatTraceRecord());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("gtp101.bmp");
    ASSERT_TRUE(canvas.saveBmp(path));
    QImage loaded(path);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.size(), QSize(347, 311));
    EXPECT_EQ(loaded.pixelColor(133, 280), kBlack);
    EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32),
              canvas.image().convertToFormat(QImage::Format_RGB32));
    EXPECT_FALSE(canvas.saveBmp(dir.filePath("missing/folder/x.bmp")));

    CanvasWidget widget(canvas);
    EXPECT_EQ(&widget.canvas(), &canvas);
    widget.resize(widget.sizeHint());
    const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixelColor(133, 280), kBlack);
    EXPECT_EQ(shown.pixelColor(133, 160), kGreen);
}

}  // namespace
}  // namespace trellicap
