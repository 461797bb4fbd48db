// The same drawing at 96, 192 and 300 dpi: everything lands at the scaled place, lines and
// dots scale with the resolution, and a high-resolution screen gets device pixels, not a
// blown-up 96-dpi bitmap.
#include <gtest/gtest.h>

#include <QPainter>
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
using testing::putCodes;
using testing::putText;

// The colour of the image at a point of the plot, at the image's resolution.
QColor at(const QImage& image, double dpi, QPointF points) {
    const QPointF px = points * (dpi / 72.0);
    return image.pixelColor(static_cast<int>(px.x()), static_cast<int>(px.y()));
}

// How many pixels of `colour` a vertical scan through column x meets around y (a line's
// thickness, in device pixels).
int thicknessAt(const QImage& image, int x, int y, const QColor& colour, int reach) {
    int n = 0;
    for (int dy = -reach; dy <= reach; ++dy) {
        if (image.valid(x, y + dy) && image.pixelColor(x, y + dy) == colour) {
            ++n;
        }
    }
    return n;
}

class PlotAtScale : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override {
        record = blankSettings(tft::kProfile);
        for (int i = 0; i < 250; ++i) {
            record[static_cast<std::size_t>(i)] = 45;  // trace at y = 120 pt
        }
        putText(record, 267, "100    ");
        putText(record, 281, "0.0    ");
        putText(record, 295, "ON     30%    70%    40%    ");  // gate 1 at y = 130 pt
        putText(record, 431, "ON     ");
        putCodes(record, 540, {20, 80, 100, 80, 120, 2});  // DAC curve at y = 50 pt
        displayPattern(canvas, record);
        drawOverlays(canvas, tft::kProfile, buildPanelTexts(tft::kProfile, record), record);
    }
    std::vector<RecordValue> record;
    Canvas canvas{5205, 4665, Canvas::Unit::Point};
};

TEST_P(PlotAtScale, EverythingLandsAtItsScaledPlaceWithScaledLineWidths) {
    const double dpi = GetParam();
    const double s = dpi / 96.0;
    const QImage image = canvas.image(dpi);
    EXPECT_EQ(image.size(), QSize(static_cast<int>(std::lround(5205 * dpi / 1440)),
                                  static_cast<int>(std::lround(4665 * dpi / 1440))));
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, dpi, 0.02);
    EXPECT_EQ(at(image, dpi, {60, 120}), kGreen);   // trace
    EXPECT_EQ(at(image, dpi, {148, 130}), kGreen);  // gate 1
    EXPECT_EQ(at(image, dpi, {70, 130}), kWhite);   // before the gate's start
    EXPECT_EQ(at(image, dpi, {58, 50}), kGreen);    // DAC curve
    EXPECT_EQ(at(image, dpi, {133, 210}), kBlack);  // baseline
    EXPECT_EQ(at(image, dpi, {3.5, 100}), kWhite);  // between grid dots
    // A 2-pixel line at 96 dpi is 2 x scale device pixels thick.
    const int x = static_cast<int>(133 * dpi / 72);
    const int reach = static_cast<int>(4 * s) + 1;  // nearer than any other line
    EXPECT_NEAR(thicknessAt(image, x, static_cast<int>(210 * dpi / 72), kBlack, reach), 2 * s, 1);
    EXPECT_NEAR(thicknessAt(image, x, static_cast<int>(120 * dpi / 72), kGreen, reach), 2 * s, 1);
    // A grid dot (2 px at 96 dpi) is a square of 2 x scale device pixels.
    const QPointF dot = QPointF(6, 70) * (dpi / 72);
    EXPECT_NEAR(
        thicknessAt(image, static_cast<int>(dot.x()), static_cast<int>(dot.y()), kBlack, reach),
        2 * s, 1);
    // Labels stand under the ticks, at the scaled places, in glyphs that grew with the scale.
    int labelInk = 0;
    for (int y = static_cast<int>(215 * dpi / 72); y < image.height(); ++y) {
        for (int lx = 0; lx < static_cast<int>(30 * dpi / 72); ++lx) {
            labelInk += image.pixelColor(lx, y) == kBlack ? 1 : 0;
        }
    }
    EXPECT_GT(labelInk, 10 * s * s);
    // Aliased: only the plot's three colours, at every resolution.
    int others = 0;
    for (int yy = 0; yy < image.height(); ++yy) {
        for (int xx = 0; xx < image.width(); ++xx) {
            const QColor c = image.pixelColor(xx, yy);
            others += c == kWhite || c == kBlack || c == kGreen ? 0 : 1;
        }
    }
    EXPECT_EQ(others, 0);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, PlotAtScale, ::testing::Values(96.0, 192.0, 300.0));

TEST(CanvasScale, TextKeepsItsPlaceAndPicturesTheirPhysicalSize) {
    Canvas canvas(5175, 5835, Canvas::Unit::Point);
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPointSizeF(9.75);
    canvas.setFont(font);
    canvas.printAt({4, 240}, QStringLiteral("Beam Path:"));
    const QPointF afterAt96 = canvas.textPosition();
    const QImage low = canvas.image(96);
    const QImage high = canvas.image(300);
    EXPECT_EQ(canvas.textPosition(), afterAt96);  // positions are the unit's, not pixels'
    // The first ink row of the text, in inches, is the same at both resolutions.
    const auto firstInkRow = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == kBlack) {
                    return y;
                }
            }
        }
        return -1;
    };
    EXPECT_NEAR(firstInkRow(low) / 96.0, firstInkRow(high) / 300.0, 1.5 / 96.0);

    // A 96-dpi picture placed at (0, 0) covers the same inches on the 300-dpi rendering.
    QImage picture(96, 48, QImage::Format_RGB32);
    picture.fill(kGreen);
    Canvas holder(2880, 1440, Canvas::Unit::Twip);  // 2 x 1 inches
    holder.drawImage({0, 0}, picture);              // no resolution carried: 96 dpi
    const QImage rendered = holder.image(300);
    EXPECT_EQ(rendered.pixelColor(295, 145), kGreen);
    EXPECT_EQ(rendered.pixelColor(305, 155), kWhite);
}

TEST(CanvasWidgetScale, ADevicePixelRatioOfTwoGivesTwiceTheDevicePixels) {
    Canvas canvas(1500, 1500, Canvas::Unit::Twip);  // 100 x 100 px at 96 dpi
    canvas.setLineWidth(1);
    canvas.line({750, 0}, {750, 1500}, kBlack);  // a 1-pixel vertical line at x = 50 px
    CanvasWidget widget(canvas);
    widget.resize(widget.sizeHint());

    QPixmap device(200, 200);
    device.setDevicePixelRatio(2);
    widget.render(&device);
    const QImage shown = device.toImage().convertToFormat(QImage::Format_RGB32);
    int black = 0;
    int grey = 0;
    for (int x = 90; x < 110; ++x) {
        const QColor c = shown.pixelColor(x, 100);
        black += c == kBlack ? 1 : 0;
        grey += c != kBlack && c != kWhite ? 1 : 0;
    }
    EXPECT_EQ(black, 2);  // two device pixels wide
    EXPECT_EQ(grey, 0);   // sharp edges, no interpolation

    // The widget can show the canvas larger: a zoom of 2 at ratio 1 gives the same pixels.
    widget.setZoom(2);
    widget.resize(widget.sizeHint());
    EXPECT_EQ(widget.size(), QSize(200, 200));
    const QImage zoomed = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int zoomedBlack = 0;
    for (int zx = 90; zx < 110; ++zx) {
        zoomedBlack += zoomed.pixelColor(zx, 100) == kBlack ? 1 : 0;
    }
    EXPECT_EQ(zoomedBlack, 2);
}

}  // namespace
}  // namespace trellicap
