#include "archive/iso_time.h"

#include <cstdio>
#include <ctime>

namespace trellicap::archive {

namespace {

// Qt's way, for a moment the C library cannot place.
QString isoWithOffsetByQt(const QDateTime& time) {
    const QDateTime local = time.toLocalTime();
    // Written out by hand: Qt writes "Z" for a zone at UTC, where the offset is wanted.
    const int offset = local.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString isoWithOffset(const QDateTime& time) {
    // Through the C library's local time: Qt's reads the zone file's status again for every
    // conversion, which was a tenth of what keeping a capture cost beside the database.
    const qint64 ms = time.toMSecsSinceEpoch();
    const auto seconds = static_cast<std::time_t>(ms >= 0 ? ms / 1000 : (ms - 999) / 1000);
    std::tm local{};
    if (!time.isValid() || localtime_r(&seconds, &local) == nullptr || local.tm_year + 1900 < 0 ||
        local.tm_year + 1900 > 9999) {
        return isoWithOffsetByQt(time);
    }
    const long offset = local.tm_gmtoff;
    const int minutes = static_cast<int>((offset < 0 ? -offset : offset) / 60) % (24 * 60);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return QString::fromLatin1(text);
}

}  // namespace trellicap::archive
