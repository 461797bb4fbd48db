#include "display/canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace trellicap {

namespace {

// 96 dots per inch in the unit QImage keeps, so fonts in points render at screen size.
constexpr int kDotsPerMeter = 3780;

int twipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips * kPixelsPerTwip));
}

QImage blankImage(int widthPixels, int heightPixels) {
    QImage image(std::max(1, widthPixels), std::max(1, heightPixels), QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.fill(Qt::white);
    return image;
}

// The font engine only drops glyph smoothing when the font itself asks for it.
QFont aliased(QFont font) {
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace

Canvas::Canvas(int widthTwips, int heightTwips, Unit unit)
    : m_pixelsPerUnit(unit == Unit::Point ? kPixelsPerPoint : kPixelsPerTwip),
      m_image(blankImage(twipsToPixels(widthTwips), twipsToPixels(heightTwips))) {}

Canvas::~Canvas() {
    endPainting();
}

QPainter& Canvas::painter() {
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        // Aliased lines and text: the image holds only the colours drawn, so it prints and
        // compares crisply.
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setFont(aliased(m_font));
    }
    return *m_painter;
}

void Canvas::endPainting() const {
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

void Canvas::clear() {
    endPainting();
    m_image.fill(Qt::white);
    m_textPosition = QPointF(0, 0);
}

void Canvas::setLineWidth(int pixels) {
    m_lineWidth = std::max(1, pixels);
}

void Canvas::setHeightTwips(int heightTwips) {
    endPainting();
    QImage resized = blankImage(m_image.width(), twipsToPixels(heightTwips));
    {
        QPainter copy(&resized);
        copy.drawImage(0, 0, m_image);
    }
    m_image = std::move(resized);
}

void Canvas::line(QPointF from, QPointF to, const QColor& color) {
    QPen pen(color, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPainter& p = painter();
    p.setPen(pen);
    p.drawLine(toPixels(from), toPixels(to));
}

void Canvas::dot(QPointF at, const QColor& color) {
    // A square of the line width, snapped to whole pixels so every dot has the same shape.
    const QPointF centre = toPixels(at);
    const int left = static_cast<int>(std::lround(centre.x() - m_lineWidth / 2.0));
    const int top = static_cast<int>(std::lround(centre.y() - m_lineWidth / 2.0));
    painter().fillRect(QRect(left, top, m_lineWidth, m_lineWidth), color);
}

void Canvas::rectangle(QPointF topLeft, QPointF bottomRight, const QColor& color) {
    QPen pen(color, m_lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    QPainter& p = painter();
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(toPixels(topLeft), toPixels(bottomRight)));
}

void Canvas::setFont(const QFont& font) {
    m_font = font;
    if (m_painter) {
        m_painter->setFont(aliased(m_font));
    }
}

void Canvas::printAt(QPointF topLeft, const QString& text) {
    QPainter& p = painter();
    p.setPen(QPen(Qt::black));
    const QFontMetricsF metrics(m_font, &m_image);
    const QPointF origin = toPixels(topLeft);
    p.drawText(QPointF(origin.x(), origin.y() + metrics.ascent()), text);
    m_textPosition = QPointF(0, topLeft.y() + lineHeight());
}

void Canvas::print(const QString& text) {
    printAt(m_textPosition, text);
}

double Canvas::lineHeight() const {
    return QFontMetricsF(m_font, &m_image).height() / m_pixelsPerUnit;
}

void Canvas::drawImage(QPointF topLeft, const QImage& image) {
    painter().drawImage(toPixels(topLeft), image);
}

const QImage& Canvas::image() const {
    endPainting();
    return m_image;
}

bool Canvas::saveBmp(const QString& path) const {
    return image().save(path, "BMP");
}

}  // namespace trellicap
