#include "record/iso_time_date.h"

#include <QDate>
#include <QTime>
#include <optional>

#include "record/text_codes.h"

namespace trellicap {

namespace {

constexpr std::size_t kCodes = 10;
constexpr int kCentury = 2000;

std::optional<int> digit(RecordValue code) {
    if (code >= '0' && code <= '9') {
        return code - '0';
    }
    return std::nullopt;
}

// Two codes as a number 0..99: two digits, or a blank and a digit (" 7").
std::optional<int> pair(std::span<const RecordValue> codes, std::size_t at) {
    const auto units = digit(codes[at + 1]);
    const auto tens = codes[at] == ' ' ? std::optional<int>(0) : digit(codes[at]);
    if (!tens || !units) {
        return std::nullopt;
    }
    return *tens * 10 + *units;
}

}  // namespace

QString isoTimeDate(std::span<const RecordValue> codes) {
    const auto ten = codes.first(std::min(codes.size(), kCodes));
    if (ten.size() == kCodes) {
        const auto hour = pair(ten, 0);
        const auto minute = pair(ten, 2);
        const auto day = pair(ten, 4);
        const auto month = pair(ten, 6);
        const auto year = pair(ten, 8);
        if (hour && minute && day && month && year) {
            const QDate date(kCentury + *year, *month, *day);
            const QTime time(*hour, *minute);
            if (date.isValid() && time.isValid()) {
                return date.toString(Qt::ISODate) + QLatin1Char('T') + time.toString(u"HH:mm");
            }
        }
    }
    return cutAtNul(codesToText(ten));
}

}  // namespace trellicap
