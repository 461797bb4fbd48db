#include "display/canvas.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace trellicap {

namespace {

constexpr double kInchesPerMeter = 1 / 0.0254;

int scaledPixels(int twips, double dpi) {
    return std::max(1, static_cast<int>(std::lround(twips * dpi / 1440.0)));
}

int dotsPerMeter(double dpi) {
    return static_cast<int>(std::lround(dpi * kInchesPerMeter));
}

// A 96-dpi device for measuring texts: the canvas's positions are the same at every
// resolution, so lines are as far apart as at 96 dpi.
const QPaintDevice& screenDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(dotsPerMeter(kScreenDpi));
        image.setDotsPerMeterY(dotsPerMeter(kScreenDpi));
        return image;
    }();
    return device;
}

// The font engine only drops glyph smoothing when the font itself asks for it.
QFont aliased(QFont font) {
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace

double imageDpi(const QImage& image) {
    const int dpm = image.dotsPerMeterX();
    return dpm > 0 ? std::round(dpm / kInchesPerMeter) : kScreenDpi;
}

Canvas::Canvas(int widthTwips, int heightTwips, Unit unit)
    : m_widthTwips(widthTwips),
      m_heightTwips(heightTwips),
      m_pixelsPerUnit(unit == Unit::Point ? kPixelsPerPoint : kPixelsPerTwip) {}

void Canvas::record(std::variant<Stroke, Text, Picture> what) {
    m_operations.push_back({std::move(what), m_heightTwips});
    ++m_revision;
}

void Canvas::clear() {
    m_operations.clear();
    m_textPosition = QPointF(0, 0);
    ++m_revision;
}

void Canvas::setLineWidth(int pixels) {
    m_lineWidth = std::max(1, pixels);
}

void Canvas::setHeightTwips(int heightTwips) {
    m_heightTwips = heightTwips;
    ++m_revision;
}

void Canvas::line(QPointF from, QPointF to, const QColor& color) {
    record(Stroke{Stroke::Line, from, to, color, m_lineWidth, std::nullopt});
}

void Canvas::dot(QPointF at, const QColor& color) {
    record(Stroke{Stroke::Dot, at, at, color, m_lineWidth, std::nullopt});
}

void Canvas::dot(QPointF at, QPointF anchor, const QColor& color) {
    record(Stroke{Stroke::Dot, at, at, color, m_lineWidth, anchor});
}

void Canvas::rectangle(QPointF topLeft, QPointF bottomRight, const QColor& color) {
    record(Stroke{Stroke::Rectangle, topLeft, bottomRight, color, m_lineWidth, std::nullopt});
}

void Canvas::setFont(const QFont& font) {
    m_font = font;
}

void Canvas::printAt(QPointF topLeft, const QString& text) {
    record(Text{topLeft, text, m_font, std::nullopt});
    m_textPosition = QPointF(0, topLeft.y() + lineHeight());
}

void Canvas::printAt(QPointF topLeft, QPointF anchor, const QString& text) {
    record(Text{topLeft, text, m_font, anchor});
    m_textPosition = QPointF(0, topLeft.y() + lineHeight());
}

void Canvas::print(const QString& text) {
    printAt(m_textPosition, text);
}

double Canvas::lineHeight() const {
    return QFontMetricsF(m_font, &screenDevice()).height() / m_pixelsPerUnit;
}

double Canvas::textWidth(const QString& text) const {
    return QFontMetricsF(m_font, &screenDevice()).horizontalAdvance(text) / m_pixelsPerUnit;
}

void Canvas::drawImage(QPointF topLeft, const QImage& image) {
    record(Picture{topLeft, image});
}

QSize Canvas::sizePixels(double dpi) const {
    return {scaledPixels(m_widthTwips, dpi), scaledPixels(m_heightTwips, dpi)};
}

QImage Canvas::image(double dpi) const {
    const bool screen = dpi == kScreenDpi;
    if (screen && m_cachedRevision == m_revision) {
        return m_cached;
    }
    QImage image(sizePixels(dpi), QImage::Format_RGB32);
    // Fonts are sized by the painter from 96 dpi; the image says its real resolution after.
    image.setDotsPerMeterX(dotsPerMeter(kScreenDpi));
    image.setDotsPerMeterY(dotsPerMeter(kScreenDpi));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        render(painter, dpi / kScreenDpi);
    }
    image.setDotsPerMeterX(dotsPerMeter(dpi));
    image.setDotsPerMeterY(dotsPerMeter(dpi));
    if (screen) {
        m_cached = image;
        m_cachedRevision = m_revision;
    }
    return image;
}

QImage Canvas::image(RenderScale scale) const {
    if (scale.positions == scale.marks) {
        return image(kScreenDpi * scale.positions);
    }
    QImage image(sizePixels(kScreenDpi * scale.positions), QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeter(kScreenDpi));
    image.setDotsPerMeterY(dotsPerMeter(kScreenDpi));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        render(painter, scale);
    }
    image.setDotsPerMeterX(dotsPerMeter(kScreenDpi * scale.positions));
    image.setDotsPerMeterY(dotsPerMeter(kScreenDpi * scale.positions));
    return image;
}

bool Canvas::saveBmp(const QString& path, double dpi) const {
    return image(dpi).save(path, "BMP");
}

void Canvas::render(QPainter& painter, double scale) const {
    render(painter, RenderScale{scale, scale});
}

void Canvas::render(QPainter& painter, RenderScale scale) const {
    painter.save();
    // Aliased lines and text: the image holds only the colours drawn, so it prints and
    // compares crisply at any resolution.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const double width = m_widthTwips * kPixelsPerTwip * scale.positions;
    for (const Operation& op : m_operations) {
        // Within the caller's own clip (a page that cuts the canvas at its edges), never
        // instead of it.
        const bool cut = op.clipHeightTwips < m_heightTwips;
        if (cut) {
            painter.save();
            painter.setClipRect(
                QRectF(0, 0, width, op.clipHeightTwips * kPixelsPerTwip * scale.positions),
                Qt::IntersectClip);
        }
        if (const auto* stroke = std::get_if<Stroke>(&op.what)) {
            renderStroke(painter, *stroke, scale);
        } else if (const auto* text = std::get_if<Text>(&op.what)) {
            renderText(painter, *text, scale);
        } else {
            renderPicture(painter, std::get<Picture>(op.what), scale.positions);
        }
        if (cut) {
            painter.restore();
        }
    }
    painter.restore();
}

QPointF Canvas::place(QPointF at, const std::optional<QPointF>& anchor, RenderScale scale) const {
    // Equal scales take the plain product, so the picture is the same to the last bit.
    if (!anchor || scale.positions == scale.marks) {
        return at * (m_pixelsPerUnit * scale.positions);
    }
    return *anchor * (m_pixelsPerUnit * scale.positions) +
           (at - *anchor) * (m_pixelsPerUnit * scale.marks);
}

void Canvas::renderStroke(QPainter& painter, const Stroke& stroke, RenderScale scale) const {
    const double width = stroke.width * scale.marks;
    const QPointF from = place(stroke.from, stroke.anchor, scale);
    const QPointF to = place(stroke.to, stroke.anchor, scale);
    switch (stroke.kind) {
        case Stroke::Line:
            painter.setPen(QPen(stroke.color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawLine(from, to);
            return;
        case Stroke::Dot: {
            // A square of the line width, snapped to whole pixels so every dot has one shape.
            const int side = std::max(1, static_cast<int>(std::lround(width)));
            const int left = static_cast<int>(std::lround(from.x() - side / 2.0));
            const int top = static_cast<int>(std::lround(from.y() - side / 2.0));
            painter.fillRect(QRect(left, top, side, side), stroke.color);
            return;
        }
        case Stroke::Rectangle:
            painter.setPen(QPen(stroke.color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(from, to));
            return;
    }
}

void Canvas::renderText(QPainter& painter, const Text& text, RenderScale scale) const {
    // Point sizes are resolved against the device's own resolution; scale them so the
    // letters are as large, in 96-dpi pixels, as the scale asks.
    QFont font = text.font;
    const double deviceDpi = painter.device()->logicalDpiY();
    const double factor = scale.marks * kScreenDpi / deviceDpi;
    if (factor != 1.0) {
        if (font.pixelSize() > 0) {
            font.setPixelSize(
                std::max(1, static_cast<int>(std::lround(font.pixelSize() * factor))));
        } else {
            font.setPointSizeF(font.pointSizeF() * factor);
        }
    }
    painter.setPen(QPen(Qt::black));
    painter.setFont(aliased(font));
    const QFontMetricsF metrics(font, painter.device());
    const QPointF origin = place(text.topLeft, text.anchor, scale);
    painter.drawText(QPointF(origin.x(), origin.y() + metrics.ascent()), text.text);
}

void Canvas::renderPicture(QPainter& painter, const Picture& picture, double scale) const {
    const QPointF origin = picture.topLeft * (m_pixelsPerUnit * scale);
    const double factor = scale * kScreenDpi / imageDpi(picture.image);
    if (factor == 1.0) {
        painter.drawImage(origin, picture.image);
        return;
    }
    painter.drawImage(QRectF(origin, QSizeF(picture.image.size()) * factor), picture.image);
}

}  // namespace trellicap
