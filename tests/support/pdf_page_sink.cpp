#include "support/pdf_page_sink.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include "report/page_placement.h"

namespace trellicap {

PdfPageSink::PdfPageSink(QString filePattern, int resolutionDpi)
    : m_pattern(std::move(filePattern)), m_resolution(resolutionDpi) {}

PdfPageSink::~PdfPageSink() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

bool PdfPageSink::begin() {
    if (m_painter.isActive() || !ready()) {
        return false;
    }
    ++m_jobs;
    m_current = m_pattern.contains(QLatin1String("%1")) ? m_pattern.arg(m_jobs) : m_pattern;
    m_writer = std::make_unique<QPdfWriter>(m_current);
    m_writer->setResolution(m_resolution);
    m_writer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    m_writer->setCreator(QStringLiteral("Trellicap"));
    return m_painter.begin(m_writer.get());
}

bool PdfPageSink::place(QPoint twips, const QImage& image) {
    if (!m_painter.isActive() || image.isNull()) {
        return false;
    }
    placeImage(m_painter, twips, image);
    return true;
}

bool PdfPageSink::end() {
    if (!m_painter.isActive()) {
        return false;
    }
    const bool ok = m_painter.end();
    m_writer.reset();
    if (ok) {
        m_files.append(m_current);
    }
    return ok;
}

}  // namespace trellicap
