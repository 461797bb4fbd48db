// A plot shown larger than its canvas is a larger view, not a larger picture: positions
// spread with the area while lines, dots, ticks and labels keep their screen size (times
// the device pixel ratio). At the canvas's own size the picture is the one it always was.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPixmap>
#include <cmath>

#include "display/ascan_plot.h"
#include "display/canvas.h"
#include "display/overlays.h"
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
using testing::putText;

constexpr double kPxPerPt = 4.0 / 3.0;

struct Shown {
    QImage image;
    double positions;  // device pixels per 96-dpi pixel of the canvas
    double marks;      // device pixels per screen pixel
    [[nodiscard]] QPoint at(double xPt, double yPt) const {
        return {static_cast<int>(xPt * kPxPerPt * positions),
                static_cast<int>(yPt * kPxPerPt * positions)};
    }
};

class LargerView : public ::testing::TestWithParam<std::tuple<double, double>> {
protected:
    void SetUp() override {
        auto record = blankSettings(tft::kProfile);
        for (int i = 0; i < 250; ++i) {
            record[static_cast<std::size_t>(i)] = 45;  // trace at y = 120 pt
        }
        putText(record, 267, "100    ");
        putText(record, 281, "0.0    ");
        displayPattern(canvas, record);
        drawOverlays(canvas, tft::kProfile, buildPanelTexts(tft::kProfile, record), record);
    }

    Shown show(double zoom, double ratio, CanvasWidget::Marks marks) {
        CanvasWidget widget(canvas);
        widget.setMarks(marks);
        widget.setZoom(zoom);
        widget.resize(widget.sizeHint());
        QPixmap device(widget.size() * ratio);
        device.setDevicePixelRatio(ratio);
        widget.render(&device);
        return {device.toImage().convertToFormat(QImage::Format_RGB32), zoom * ratio, ratio};
    }

    Canvas canvas{5205, 4665, Canvas::Unit::Point};
};

int run(const QImage& image, QPoint from, QPoint step, const QColor& colour, int reach) {
    int n = 0;
    for (int k = -reach; k <= reach; ++k) {
        const QPoint p = from + step * k;
        n += image.valid(p) && image.pixelColor(p) == colour ? 1 : 0;
    }
    return n;
}

// The box of black ink within an area.
QRect inkBox(const QImage& image, QRect area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.valid(x, y) && image.pixelColor(x, y) == kBlack) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

TEST_P(LargerView, LinesDotsTicksAndLabelsKeepTheirScreenSize) {
    const auto [zoom, ratio] = GetParam();
    const Shown shown = show(zoom, ratio, CanvasWidget::Marks::KeepScreenSize);
    const int reach = static_cast<int>(6 * ratio) + 2;
    // The trace (2 screen pixels) and the baseline, where the scaled geometry puts them.
    const QPoint trace = shown.at(133, 120);
    EXPECT_NEAR(run(shown.image, trace, {0, 1}, kGreen, reach), 2 * ratio, 1);
    const QPoint base = shown.at(133, 210);
    EXPECT_NEAR(run(shown.image, base, {0, 1}, kBlack, reach), 2 * ratio, 1);
    // A grid dot of the vertical line at x = 51: 2 x 2 screen pixels at its scaled place.
    const QPoint dot = shown.at(51, 70);
    EXPECT_NEAR(run(shown.image, dot, {0, 1}, kBlack, reach), 2 * ratio, 1);
    EXPECT_NEAR(run(shown.image, dot, {1, 0}, kBlack, reach), 2 * ratio, 1);
    EXPECT_EQ(shown.image.pixelColor(shown.at(53.5, 70)), kWhite);  // between grid dots
    // The grid keeps its ten divisions: the last vertical line at x = 251.
    EXPECT_EQ(shown.image.pixelColor(shown.at(251, 70)), kBlack);
    // A tick hangs 3 screen pixels (plus its dot) under the baseline, whatever the zoom.
    const QPoint tickTop = shown.at(51, 210);
    EXPECT_EQ(shown.image.pixelColor(tickTop + QPoint(0, static_cast<int>(4 * ratio))), kBlack);
    EXPECT_EQ(shown.image.pixelColor(tickTop + QPoint(0, static_cast<int>(7 * ratio))), kWhite);

    // The label " 20" stands 10 screen points left of its grid line (x = 51), 5 points under
    // the baseline, in glyphs as tall as the window font's.
    const double lineX = 51 * kPxPerPt * shown.positions;
    const double baseY = 210 * kPxPerPt * shown.positions;
    const QPointF labelTopLeft(lineX - 10 * kPxPerPt * ratio, baseY + 5 * kPxPerPt * ratio);
    const QRect ink = inkBox(
        shown.image, QRect(labelTopLeft.toPoint() - QPoint(2, 0),
                           QSize(static_cast<int>(40 * ratio), static_cast<int>(30 * ratio))));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), labelTopLeft.x() - 1);
    EXPECT_LE(ink.left(), labelTopLeft.x() + 12 * ratio);
    const Shown rest = show(1, ratio, CanvasWidget::Marks::KeepScreenSize);
    const QPointF restTopLeft((51 - 10) * kPxPerPt * ratio, 215 * kPxPerPt * ratio);
    const QRect restInk = inkBox(
        rest.image, QRect(restTopLeft.toPoint() - QPoint(2, 0),
                          QSize(static_cast<int>(40 * ratio), static_cast<int>(30 * ratio))));
    EXPECT_NEAR(ink.height(), restInk.height(), 1);
    const double fontDigits =
        QFontMetricsF(canvas.font()).tightBoundingRect(QStringLiteral("20")).height() * ratio;
    EXPECT_NEAR(ink.height(), fontDigits, 1.5 * ratio);
}

INSTANTIATE_TEST_SUITE_P(ZoomAndRatio, LargerView,
                         ::testing::Combine(::testing::Values(2.0, 3.0),
                                            ::testing::Values(1.0, 2.0)));

TEST_F(LargerView, AtItsOwnSizeTheViewIsTheSamePictureAsEver) {
    for (const double ratio : {1.0, 2.0}) {
        const QImage view = show(1, ratio, CanvasWidget::Marks::KeepScreenSize).image;
        const QImage picture = show(1, ratio, CanvasWidget::Marks::GrowWithZoom).image;
        EXPECT_EQ(view, picture);
    }
    // Grown the old way, a 2-pixel line at zoom 3 is 6 pixels; as a view it stays 2.
    const Shown grown = show(3, 1, CanvasWidget::Marks::GrowWithZoom);
    EXPECT_NEAR(run(grown.image, grown.at(133, 120), {0, 1}, kGreen, 10), 6, 1);
}

}  // namespace
}  // namespace trellicap
