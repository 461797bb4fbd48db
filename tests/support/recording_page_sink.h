// A page sink that keeps each job's placements in memory and can render a page as a 96-dpi
// image (1 pixel = 15 twips), so tests can probe what a printer would have received.
#pragma once

#include <QImage>
#include <QPoint>
#include <vector>

#include "report/page_sink.h"

namespace trellicap {

struct Placement {
    QPoint twips;
    QImage image;
};

struct RecordedJob {
    std::vector<Placement> placements;
    bool ended = false;
};

class RecordingPageSink : public PageSink {
public:
    // A4 at 96 dpi.
    static constexpr int kPageWidthTwips = 11906;
    static constexpr int kPageHeightTwips = 16838;

    [[nodiscard]] double resolution() const override { return 96; }
    [[nodiscard]] bool ready() const override { return m_ready; }
    bool begin() override;
    bool place(QPoint twips, const QImage& image) override;
    bool end() override;

    // A sink that is not ready refuses every call, as a missing printer does.
    void setReady(bool ready) { m_ready = ready; }
    [[nodiscard]] const std::vector<RecordedJob>& jobs() const { return m_jobs; }
    // The job's page: white, with the placements drawn in order at 1 pixel = 15 twips.
    [[nodiscard]] QImage pageImage(std::size_t job) const;

private:
    bool m_ready = true;
    bool m_open = false;
    std::vector<RecordedJob> m_jobs;
};

}  // namespace trellicap
