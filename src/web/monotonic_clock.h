// Milliseconds on a clock that never goes back (the wall clock may be set while the server
// runs): what the login sessions and the rate limiter measure their windows with.
#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

namespace trellicap::web {

[[nodiscard]] inline qint64 monotonicMs() {
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return started.elapsed();
}

}  // namespace trellicap::web
