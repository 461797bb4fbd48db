#include "support/recording_page_sink.h"

#include <QPainter>

#include "report/page_placement.h"

namespace trellicap {

namespace {
constexpr int kTwipsPerPixel = 15;
}

bool RecordingPageSink::begin() {
    if (!m_ready || m_open) {
        return false;
    }
    m_jobs.push_back({});
    m_open = true;
    return true;
}

bool RecordingPageSink::place(QPoint twips, const QImage& image) {
    if (!m_ready || !m_open || image.isNull()) {
        return false;
    }
    m_jobs.back().placements.push_back({twips, image});
    return true;
}

bool RecordingPageSink::end() {
    if (!m_ready || !m_open) {
        return false;
    }
    m_jobs.back().ended = true;
    m_open = false;
    return true;
}

QImage RecordingPageSink::pageImage(std::size_t job) const {
    QImage page(kPageWidthTwips / kTwipsPerPixel, kPageHeightTwips / kTwipsPerPixel,
                QImage::Format_RGB32);
    page.setDotsPerMeterX(3780);  // 96 dpi, so placeImage maps twips to pixels exactly
    page.setDotsPerMeterY(3780);
    page.fill(Qt::white);
    if (job < m_jobs.size()) {
        QPainter painter(&page);
        for (const Placement& placement : m_jobs[job].placements) {
            placeImage(painter, placement.twips, placement.image);
        }
    }
    return page;
}

}  // namespace trellicap
