// A retained drawing surface: a QImage that keeps everything drawn on it, addressed in a
// drawing unit (point or twip) at 96 dots per inch, with a pen width in pixels and a text
// position that moves to the next line after each print. The A-scan plot and the report's
// canvases draw on it; a CanvasWidget paints it.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;

namespace trellicap {

class Canvas {
public:
    enum class Unit { Point, Twip };

    Canvas(int widthTwips, int heightTwips, Unit unit);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // White everywhere; the text position goes back to (0, 0).
    void clear();
    // Pen width in pixels, whatever the unit; dots are this many pixels across.
    void setLineWidth(int pixels);
    [[nodiscard]] int lineWidth() const { return m_lineWidth; }
    // New height; what is drawn stays at the top-left, new area is white.
    void setHeightTwips(int heightTwips);

    // Coordinates in the canvas unit.
    void line(QPointF from, QPointF to, const QColor& color);
    void dot(QPointF at, const QColor& color);
    void rectangle(QPointF topLeft, QPointF bottomRight, const QColor& color);

    // Text is drawn in black with the canvas font, its top-left corner at the position.
    void setFont(const QFont& font);
    [[nodiscard]] const QFont& font() const { return m_font; }
    void printAt(QPointF topLeft, const QString& text);
    void print(const QString& text);
    [[nodiscard]] QPointF textPosition() const { return m_textPosition; }
    [[nodiscard]] double lineHeight() const;

    // A background picture at its own pixel size.
    void drawImage(QPointF topLeft, const QImage& image);

    [[nodiscard]] const QImage& image() const;
    [[nodiscard]] bool saveBmp(const QString& path) const;
    [[nodiscard]] double pixelsPerUnit() const { return m_pixelsPerUnit; }
    [[nodiscard]] QSize sizePixels() const { return m_image.size(); }
    [[nodiscard]] QPointF toPixels(QPointF at) const { return at * m_pixelsPerUnit; }

private:
    QPainter& painter();
    void endPainting() const;

    double m_pixelsPerUnit;
    QImage m_image;
    // Kept open across drawing calls (opening a painter per dot would dominate a redraw);
    // closed before anyone reads, resizes or saves the image.
    mutable std::unique_ptr<QPainter> m_painter;
    int m_lineWidth = 1;
    QFont m_font;
    QPointF m_textPosition;
};

// 96 dots per inch: 1440 twips and 72 points per inch.
inline constexpr double kPixelsPerTwip = 96.0 / 1440.0;
inline constexpr double kPixelsPerPoint = 96.0 / 72.0;

}  // namespace trellicap
