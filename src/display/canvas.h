// A retained drawing surface that keeps what was drawn, not pixels: lines, dots, rectangles,
// texts and background images, in a drawing unit (point or twip), with a pen width in
// 1/96-inch pixels and a text position that moves to the next line after each print. It
// renders on demand at any resolution: at 96 dots per inch exactly the pixels of a 96-dpi
// bitmap, at 192 or 600 dpi the same drawing with every line, dot and letter that many times
// finer. The A-scan plot and the report's canvases draw on it; a CanvasWidget shows it.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace trellicap {

// 96 dots per inch: 1440 twips and 72 points per inch.
inline constexpr double kScreenDpi = 96.0;
inline constexpr double kPixelsPerTwip = 96.0 / 1440.0;
inline constexpr double kPixelsPerPoint = 96.0 / 72.0;

// How a rendering scales the drawing: `positions` painter units per 96-dpi pixel for where
// things are, `marks` for how large they are (pen widths, dot sizes, letters, and the
// distance of an anchored mark from its anchor). Equal scales give the same picture at
// another resolution; a larger `positions` gives a larger view with screen-size marks.
struct RenderScale {
    double positions = 1.0;
    double marks = 1.0;
};

// The resolution an image carries in its dots per meter, to the nearest whole dpi; 96 dpi when
// it carries none.
[[nodiscard]] double imageDpi(const QImage& image);

class Canvas {
public:
    enum class Unit { Point, Twip };

    Canvas(int widthTwips, int heightTwips, Unit unit);

    // Nothing drawn any more; the text position goes back to (0, 0).
    void clear();
    // Pen width in 1/96-inch pixels, whatever the unit; dots are this many pixels across.
    void setLineWidth(int pixels);
    [[nodiscard]] int lineWidth() const { return m_lineWidth; }
    // New height; what is drawn stays at the top-left, new area is white (what was drawn
    // below the old height stays cut off).
    void setHeightTwips(int heightTwips);
    [[nodiscard]] int widthTwips() const { return m_widthTwips; }
    [[nodiscard]] int heightTwips() const { return m_heightTwips; }

    // Coordinates in the canvas unit.
    void line(QPointF from, QPointF to, const QColor& color);
    void dot(QPointF at, const QColor& color);
    // A dot that belongs to a mark at `anchor` (a tick hanging from its axis): only the anchor
    // follows the positions scale, the dot's distance from it keeps the mark's own size.
    void dot(QPointF at, QPointF anchor, const QColor& color);
    void rectangle(QPointF topLeft, QPointF bottomRight, const QColor& color);

    // Text is drawn in black with the canvas font, its top-left corner at the position.
    void setFont(const QFont& font);
    [[nodiscard]] const QFont& font() const { return m_font; }
    void printAt(QPointF topLeft, const QString& text);
    // A text that stands by a mark at `anchor` (a label under its grid line), anchored as dot.
    void printAt(QPointF topLeft, QPointF anchor, const QString& text);
    void print(const QString& text);
    [[nodiscard]] QPointF textPosition() const { return m_textPosition; }
    // Line height in the canvas unit, measured at 96 dpi: texts keep their places at any
    // resolution.
    [[nodiscard]] double lineHeight() const;
    // A text's width in the canvas font, in the canvas unit at 96 dpi.
    [[nodiscard]] double textWidth(const QString& text) const;

    // A background picture at its own physical size: its pixels at the resolution it carries
    // (dots per meter), 96 dpi when it carries none.
    void drawImage(QPointF topLeft, const QImage& image);

    // The drawing at a resolution (RGB32, white background, carrying its dots per meter).
    [[nodiscard]] QImage image(double dpi = kScreenDpi) const;
    // The drawing at separate scales (RenderScale), sized by the positions scale; it carries
    // the 96-dpi resolution times that scale.
    [[nodiscard]] QImage image(RenderScale scale) const;
    [[nodiscard]] bool saveBmp(const QString& path, double dpi = kScreenDpi) const;
    // Draws onto a painter whose origin is the canvas's top-left corner, one 96-dpi pixel
    // being `scale` painter units. Aliased, as the images are: only the colours drawn.
    void render(QPainter& painter, double scale) const;
    void render(QPainter& painter, RenderScale scale) const;

    [[nodiscard]] double pixelsPerUnit() const { return m_pixelsPerUnit; }  // at 96 dpi
    [[nodiscard]] QSize sizePixels(double dpi = kScreenDpi) const;
    [[nodiscard]] QPointF toPixels(QPointF at) const { return at * m_pixelsPerUnit; }
    // Changes with every drawing operation: whoever keeps a rendering can tell it is stale.
    [[nodiscard]] quint64 revision() const { return m_revision; }

private:
    struct Stroke {
        enum Kind { Line, Dot, Rectangle } kind;
        QPointF from;
        QPointF to;
        QColor color;
        int width;
        std::optional<QPointF> anchor;
    };
    struct Text {
        QPointF topLeft;
        QString text;
        QFont font;
        std::optional<QPointF> anchor;
    };
    struct Picture {
        QPointF topLeft;
        QImage image;
    };
    struct Operation {
        std::variant<Stroke, Text, Picture> what;
        int clipHeightTwips;  // the canvas height when it was drawn
    };

    void record(std::variant<Stroke, Text, Picture> what);
    // Where a point lands in painter units: anchored points keep their offset at mark size.
    [[nodiscard]] QPointF place(QPointF at, const std::optional<QPointF>& anchor,
                                RenderScale scale) const;
    void renderStroke(QPainter& painter, const Stroke& stroke, RenderScale scale) const;
    void renderText(QPainter& painter, const Text& text, RenderScale scale) const;
    void renderPicture(QPainter& painter, const Picture& picture, double scale) const;

    int m_widthTwips;
    int m_heightTwips;
    double m_pixelsPerUnit;
    std::vector<Operation> m_operations;
    int m_lineWidth = 1;
    QFont m_font;
    QPointF m_textPosition;
    quint64 m_revision = 0;
    // The last 96-dpi rendering, for callers that ask again and again (large renderings for
    // print are not kept: a report must not hold four 600-dpi pages in memory).
    mutable QImage m_cached;
    mutable quint64 m_cachedRevision = ~quint64{0};
};

}  // namespace trellicap
