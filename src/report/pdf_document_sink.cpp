#include "report/pdf_document_sink.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>

#include "report/page_placement.h"

namespace trellicap {

PdfDocumentSink::PdfDocumentSink(QIODevice& device, int resolutionDpi)
    : m_device(device), m_resolution(resolutionDpi) {}

PdfDocumentSink::~PdfDocumentSink() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

bool PdfDocumentSink::ready() const {
    return m_device.isOpen() && m_device.isWritable();
}

bool PdfDocumentSink::begin() {
    if (m_pageOpen || !ready()) {
        return false;
    }
    if (!m_writer) {
        m_writer = std::make_unique<QPdfWriter>(&m_device);
        m_writer->setResolution(m_resolution);
        m_writer->setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        m_writer->setCreator(QStringLiteral("Trellicap"));
        m_pageOpen = m_painter.begin(m_writer.get());
    } else {
        m_pageOpen = m_painter.isActive() && m_writer->newPage();
    }
    return m_pageOpen;
}

bool PdfDocumentSink::place(QPoint twips, const QImage& image) {
    if (!m_pageOpen || image.isNull()) {
        return false;
    }
    placeImage(m_painter, twips, image);
    return true;
}

bool PdfDocumentSink::end() {
    if (!m_pageOpen) {
        return false;
    }
    m_pageOpen = false;
    ++m_pages;
    return true;
}

bool PdfDocumentSink::finish() {
    if (m_pageOpen) {
        return false;
    }
    if (!m_painter.isActive()) {
        return m_writer == nullptr;
    }
    const bool ok = m_painter.end();
    m_writer.reset();
    return ok;
}

}  // namespace trellicap
