// The one way the archive writes a moment: ISO 8601 local time with its offset from UTC,
// "2026-12-08T14:02:11+01:00" (never "Z", also at UTC), for arrivals, saves, runs and the
// team server's last sync alike.
#pragma once

#include <QDateTime>
#include <QString>

namespace trellicap::archive {

[[nodiscard]] QString isoWithOffset(const QDateTime& time);

}  // namespace trellicap::archive
