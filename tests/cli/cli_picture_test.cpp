// png and svg: one slot's plot as the window shows it after a recall (trace, gate, DAC curve,
// graticule, axis labels), drawn afresh at the scale asked for.
#include <gtest/gtest.h>

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

#include "crafted_files.h"
#include "support/report_fixture.h"

namespace trellicap {
namespace {

using testing::runCli;

const QColor kGreen(0, 170, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

// The colour at a point of the plot (in points) of an image drawn at dpi.
QColor at(const QImage& image, double dpi, QPointF points) {
    const QPointF px = points * (dpi / 72.0);
    return image.pixelColor(static_cast<int>(px.x()), static_cast<int>(px.y()));
}

class Picture : public ::testing::TestWithParam<double> {
protected:
    QTemporaryDir dir;
    QString tft = testing::writeTftFile(QDir(dir.path()));
    QString out = dir.filePath("plot");
};

// TFT slot 3: sample 44 (44 %) at x = 45 pt, gate 1 from 75 to 175 pt at 50 % (y = 110 pt),
// the DAC curve from (20, 50) to (100, 90) pt, labels 0 to 100 under the baseline.
TEST_P(Picture, pngIsTheSlotViewsPlotAtTheScale) {
    const double scale = GetParam();
    const double dpi = 96 * scale;
    ASSERT_EQ(
        runCli({"png", tft, "--slot", "3", "--scale", QString::number(scale), "-o", out}).exitCode,
        0);
    const QImage image(out, "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(static_cast<int>(std::lround(347 * scale)),
                                  static_cast<int>(std::lround(311 * scale))));
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, dpi, 0.05);
    EXPECT_EQ(at(image, dpi, {45, 122}), kGreen);   // trace
    EXPECT_EQ(at(image, dpi, {148, 110}), kGreen);  // gate 1
    EXPECT_EQ(at(image, dpi, {70, 110}), kWhite);   // before the gate's start
    EXPECT_EQ(at(image, dpi, {62, 71}), kGreen);    // DAC curve
    EXPECT_EQ(at(image, dpi, {133, 210}), kBlack);  // baseline
    const QRect labels(0, static_cast<int>(216 * dpi / 72), image.width(),
                       static_cast<int>(14 * dpi / 72));
    EXPECT_GT(test::countColour(image, labels, kBlack), 40 * scale * scale);
}

INSTANTIATE_TEST_SUITE_P(Scales, Picture, ::testing::Values(1.0, 2.0));

TEST_F(Picture, svgDrawsTheSamePlotAsLinesAndText) {
    ASSERT_EQ(runCli({"svg", tft, "--slot", "3", "-o", out}).exitCode, 0);
    QSvgRenderer svg(out);
    ASSERT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(0, 0, 347, 311));
    QImage image(QSize(347, 311) * 2, QImage::Format_RGB32);
    image.fill(Qt::red);  // the drawing brings its own white background
    {
        QPainter painter(&image);
        svg.render(&painter);
    }
    EXPECT_EQ(test::countColour(image, image.rect(), Qt::red), 0);
    const auto near = [&image](QPointF points) {
        const QPoint p = (points * (192.0 / 72)).toPoint();
        return test::countGreen(image, QRect(p - QPoint(2, 2), QSize(5, 5)));
    };
    EXPECT_GT(near({45, 122}), 0);
    EXPECT_GT(near({148, 110}), 0);
    EXPECT_EQ(near({70, 105}), 0);
}

TEST_F(Picture, drawsWithoutADisplayOrAPlatformGiven) {
    const auto run = runCli({"png", tft, "--slot", "7", "-o", out},
                            {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    EXPECT_FALSE(QImage(out, "PNG").isNull());
}

}  // namespace
}  // namespace trellicap
