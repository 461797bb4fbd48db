// Watching for an adapter that went away: about once a second it looks whether the adapter
// is there again (locateAdapter over the system's devices) and says where. It is driven by a
// timer of the link's clock, so tests move it by hand, and between looks it costs nothing.
// A look is mostly a stat() of a link; where it has to list the system's serial devices and
// that takes long (a listing can take milliseconds), the looks are spaced so that waiting
// never takes more than 1 % of the time.
//
// It goes on looking until stop(): an adapter that is there but cannot be opened yet (udev
// gives it its group a moment after it appears) is tried again at the next look.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "link/adapter_identity.h"
#include "link/link_clock.h"

namespace trellicap {

class AdapterWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kLookEveryMs = 1000;
    // The next look comes at least this many times the last look's duration later.
    static constexpr int kQuietFactor = 100;

    // Where the adapter is now, or nothing while it is away.
    using Locate = std::function<std::optional<QString>(const AdapterIdentity& identity)>;

    // `clock` must outlive the watch.
    AdapterWatch(LinkClock& clock, Locate locate, QObject* parent = nullptr);
    ~AdapterWatch() override;

    // Looks for `identity` from kLookEveryMs on, until stop(); a watch under way starts over.
    void start(const AdapterIdentity& identity);
    void stop();
    [[nodiscard]] bool watching() const { return m_watching; }
    [[nodiscard]] const AdapterIdentity& identity() const { return m_identity; }
    // Looks taken since start().
    [[nodiscard]] int looks() const { return m_looks; }

signals:
    // The adapter is there; `device` opens it. A receiver that opened it calls stop().
    void adapterPresent(const QString& device);
    // A look found nothing (or only other adapters).
    void adapterAbsent();

private:
    void look();

    LinkClock& m_clock;
    std::unique_ptr<LinkTimer> m_timer;
    Locate m_locate;
    AdapterIdentity m_identity;
    bool m_watching = false;
    int m_looks = 0;
};

}  // namespace trellicap
