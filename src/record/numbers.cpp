#include "record/numbers.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace trellicap {

double leadingNumber(const QString& text) {
    std::string number;
    bool signSeen = false;
    bool pointSeen = false;
    bool digitSeen = false;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u' ' || c == u'\t') {
            continue;
        }
        if ((c == u'+' || c == u'-') && !signSeen && !digitSeen && !pointSeen) {
            signSeen = true;
            number.push_back(static_cast<char>(c));
        } else if (c >= u'0' && c <= u'9') {
            digitSeen = true;
            number.push_back(static_cast<char>(c));
        } else if (c == u'.' && !pointSeen) {
            pointSeen = true;
            number.push_back('.');
        } else {
            break;
        }
    }
    if (!digitSeen) {
        return 0.0;
    }
    return std::strtod(number.c_str(), nullptr);
}

std::optional<std::int16_t> roundToInt16(double value) {
    const double rounded = std::nearbyint(value);  // default mode: halves to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

QString labelText(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    QString text = QString::fromLatin1(buffer);
    if (text == QLatin1String("-0")) {
        text = QStringLiteral("0");
    }
    return value >= 0 || text == QLatin1String("0") ? QLatin1Char(' ') + text : text;
}

}  // namespace trellicap
