#include "link/qt_link_clock.h"

#include <QTimer>
#include <utility>

namespace trellicap {

namespace {

class QtLinkTimer final : public LinkTimer {
public:
    explicit QtLinkTimer(std::function<void()> onTimeout) {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTimeout));
    }
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }
    [[nodiscard]] bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

}  // namespace

QtLinkClock::QtLinkClock() {
    m_elapsed.start();
}

qint64 QtLinkClock::nowMs() const {
    return m_elapsed.elapsed();
}

std::unique_ptr<LinkTimer> QtLinkClock::createTimer(std::function<void()> onTimeout) {
    return std::make_unique<QtLinkTimer>(std::move(onTimeout));
}

}  // namespace trellicap
