// The plot under the mouse and the keyboard: real QTest events set, drag and clear the
// cursors, zoom and pan along the path; at rest the widget shows the record's canvas as is.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QSet>
#include <QTest>
#include <QWheelEvent>

#include "display/ascan_plot.h"
#include "display/overlays.h"
#include "display/panel_texts.h"
#include "display/plot_texts.h"
#include "display/ui/plot_widget.h"
#include "profiles/tft.h"
#include "record_builder.h"

namespace trellicap {
namespace {

using testing::blankSettings;
using testing::putText;

class PlotWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        record = blankSettings(tft::kProfile);
        record[105] = 63;
        record[200] = 20;
        putText(record, 267, "100    ");
        putText(record, 281, "0.0    ");
        putText(record, 295, "ON     30%    70%    40%    ");
        displayPattern(canvas, record);
        const PanelTexts texts = buildPanelTexts(tft::kProfile, record);
        drawOverlays(canvas, tft::kProfile, texts, record);
        widget.setMarks(CanvasWidget::Marks::KeepScreenSize);
        widget.resize(widget.sizeHint());
        widget.show();
        widget.showRecord(tft::kProfile, record, plotTexts(tft::kProfile, texts));
    }

    // The widget position of a plot x, half-way down the plot.
    QPoint at(double plotX) const {
        return {static_cast<int>(std::lround(widget.widgetXOf(plotX))), 150};
    }
    std::optional<int> cursor(PlotView::Cursor which) const { return widget.view().cursor(which); }
    void wheel(double plotX, int notches) {
        const QPointF pos(widget.widgetXOf(plotX), 150);
        QWheelEvent event(pos, widget.mapToGlobal(pos), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &event);
    }
    QImage shown() { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    std::vector<RecordValue> record;
    Canvas canvas{5205, 4665, Canvas::Unit::Point};
    PlotWidget widget{canvas};
};

TEST_F(PlotWidgetTest, ClicksSetCursorsADragMovesOneAndEscOrADoubleClickClearsThem) {
    QTest::mouseClick(&widget, Qt::LeftButton, {}, at(106));
    EXPECT_EQ(cursor(PlotView::Cursor::A), 105);
    EXPECT_FALSE(cursor(PlotView::Cursor::B).has_value());
    QTest::mouseClick(&widget, Qt::LeftButton, {}, at(201));
    EXPECT_EQ(cursor(PlotView::Cursor::B), 200);
    EXPECT_EQ(widget.view().cursorText(),
              QStringLiteral("A 42.0 mm 63 %   B 80.0 mm 20 %   \u0394 38.0 mm 10.0 dB"));

    // Dragging A from its line to x = 151 reads sample 150.
    QTest::mousePress(&widget, Qt::LeftButton, {}, at(106));
    QTest::mouseMove(&widget, at(130));
    QTest::mouseMove(&widget, at(151));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, at(151));
    EXPECT_EQ(cursor(PlotView::Cursor::A), 150);
    EXPECT_EQ(cursor(PlotView::Cursor::B), 200);

    // The arrow keys move the cursor last used: one sample, ten with Shift.
    widget.setFocus();
    QTest::keyClick(&widget, Qt::Key_Right);
    EXPECT_EQ(cursor(PlotView::Cursor::A), 151);
    QTest::keyClick(&widget, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(cursor(PlotView::Cursor::A), 141);

    QTest::keyClick(&widget, Qt::Key_Escape);
    EXPECT_FALSE(widget.view().hasCursors());
    EXPECT_TRUE(widget.view().cursorText().isEmpty());

    // Shift+click sets B straight away; a double-click clears everything.
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::ShiftModifier, at(51));
    EXPECT_EQ(cursor(PlotView::Cursor::B), 50);
    EXPECT_FALSE(cursor(PlotView::Cursor::A).has_value());
    QTest::mouseDClick(&widget, Qt::LeftButton, {}, at(51));
    EXPECT_FALSE(widget.view().hasCursors());
}

TEST_F(PlotWidgetTest, WheelAndKeysZoomAlongThePathAndDraggingPans) {
    wheel(126, 1);  // one notch in, around path 50: 75 long from 15 (a whole label step)
    EXPECT_DOUBLE_EQ(widget.view().span().length(), 75);
    EXPECT_DOUBLE_EQ(widget.view().span().start(), 15);
    EXPECT_EQ(widget.view().span().labels().front().text, QStringLiteral(" 15"));
    widget.setFocus();
    QTest::keyClick(&widget, Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(widget.view().span().length(), 60);
    QTest::keyClick(&widget, Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(widget.view().span().length(), 75);
    wheel(126, 1);
    EXPECT_DOUBLE_EQ(widget.view().span().length(), 60);
    const double start = widget.view().span().start();
    ASSERT_GE(start, 12);

    // Middle-button drag 50 points to the right shows 12 mm earlier path (50 * 60 / 250).
    QTest::mousePress(&widget, Qt::MiddleButton, {}, at(126));
    QTest::mouseMove(&widget, at(176));
    QTest::mouseRelease(&widget, Qt::MiddleButton, {}, at(176));
    EXPECT_DOUBLE_EQ(widget.view().span().start(), start - 12);
    // Ctrl+drag pans too, and sets no cursor.
    QTest::mousePress(&widget, Qt::LeftButton, Qt::ControlModifier, at(176));
    QTest::mouseMove(&widget, at(126));
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::ControlModifier, at(126));
    EXPECT_DOUBLE_EQ(widget.view().span().start(), start);
    EXPECT_FALSE(widget.view().hasCursors());

    // A cursor set in the zoomed view reads the sample under the pointer there.
    QTest::mouseClick(&widget, Qt::LeftButton, {}, at(126));
    const int expected = widget.view().span().sampleAt(widget.viewXAt(at(126)));
    EXPECT_EQ(cursor(PlotView::Cursor::A), expected);
    EXPECT_NEAR(widget.view().span().samplePath(expected), widget.view().span().pathAt(126), 0.3);

    QTest::keyClick(&widget, Qt::Key_0);
    EXPECT_FALSE(widget.view().span().zoomed());
}

TEST_F(PlotWidgetTest, AtRestItIsTheCanvasAndTheViewIsCrispAtEveryRatio) {
    CanvasWidget plain(canvas);
    plain.resize(widget.size());
    const QImage rest = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown(), rest);

    QTest::mouseClick(&widget, Qt::LeftButton, {}, at(106));
    const QImage withCursor = shown();
    EXPECT_NE(withCursor, rest);
    // Cursor A's line, red, at its sample's place.
    EXPECT_EQ(withCursor.pixelColor(at(106).x(), 100), QColor(200, 0, 0));

    ReferenceTrace reference;
    reference.name = QStringLiteral("Mem 7");
    reference.range = QStringLiteral("100");
    reference.delay = QStringLiteral("0.0");
    reference.samples.fill(30);
    widget.setReference(reference);
    wheel(126, 2);
    for (const double ratio : {1.0, 2.0}) {
        QPixmap device(widget.size() * ratio);
        device.setDevicePixelRatio(ratio);
        widget.render(&device);
        const QImage image = device.toImage().convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                colours.insert(image.pixel(x, y));
            }
        }
        // Only the plot's own colours: aliased lines and letters, nothing blurred.
        const QSet<QRgb> palette{qRgb(255, 255, 255), qRgb(0, 0, 0),   qRgb(0, 170, 0),
                                 qRgb(224, 112, 0),   qRgb(200, 0, 0), qRgb(0, 0, 220)};
        EXPECT_TRUE(colours.subtract(palette).isEmpty()) << "ratio " << ratio;
        // The reference (30 % at y = 150 pt) is drawn, in its colour.
        const int y = static_cast<int>(150 * 4.0 / 3 * ratio);
        int orange = 0;
        for (int x = 0; x < image.width(); ++x) {
            orange += image.pixel(x, y) == qRgb(224, 112, 0) ? 1 : 0;
        }
        EXPECT_GT(orange, image.width() / 2);
    }

    widget.clearReference();
    widget.clearCursors();
    widget.showAll();
    EXPECT_EQ(shown(), rest);
}

}  // namespace
}  // namespace trellicap
