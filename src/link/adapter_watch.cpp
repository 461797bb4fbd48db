#include "link/adapter_watch.h"

#include <algorithm>

namespace trellicap {

AdapterWatch::AdapterWatch(LinkClock& clock, Locate locate, QObject* parent)
    : QObject(parent),
      m_clock(clock),
      m_timer(clock.createTimer([this] { look(); })),
      m_locate(std::move(locate)) {}

AdapterWatch::~AdapterWatch() = default;

void AdapterWatch::start(const AdapterIdentity& identity) {
    m_identity = identity;
    m_watching = true;
    m_looks = 0;
    m_timer->start(kLookEveryMs);
}

void AdapterWatch::stop() {
    m_watching = false;
    m_timer->stop();
}

void AdapterWatch::look() {
    if (!m_watching) {
        return;
    }
    ++m_looks;
    const qint64 started = m_clock.nowMs();
    const std::optional<QString> device = m_locate(m_identity);
    const qint64 took = m_clock.nowMs() - started;
    if (device) {
        emit adapterPresent(*device);  // may stop the watch, or start it over
    } else {
        emit adapterAbsent();
    }
    if (m_watching && !m_timer->isActive()) {
        m_timer->start(static_cast<int>(std::max<qint64>(kLookEveryMs, took * kQuietFactor)));
    }
}

}  // namespace trellicap
