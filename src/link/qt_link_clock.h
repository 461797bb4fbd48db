// LinkClock on QTimer and QElapsedTimer: the clock of the running program.
#pragma once

#include <QElapsedTimer>

#include "link/link_clock.h"

namespace trellicap {

class QtLinkClock final : public LinkClock {
public:
    QtLinkClock();

    [[nodiscard]] qint64 nowMs() const override;
    [[nodiscard]] std::unique_ptr<LinkTimer> createTimer(std::function<void()> onTimeout) override;

private:
    QElapsedTimer m_elapsed;
};

}  // namespace trellicap
