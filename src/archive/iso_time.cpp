#include "archive/iso_time.h"

namespace trellicap::archive {

QString isoWithOffset(const QDateTime& time) {
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

}  // namespace trellicap::archive
