#include "record/numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace trellicap {

double leadingNumber(const QString& text) {
    return numberIn(text).value_or(0.0);
}

std::optional<double> numberIn(const QString& text) {
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
            if (c == u'-') {
                number.push_back('-');  // from_chars takes no '+'
            }
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
        return std::nullopt;
    }
    // from_chars, unlike strtod, never reads the process locale: "2.5" is 2.5 on a German PC.
    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

std::optional<std::int16_t> roundToInt16(double value) {
    const double rounded = std::nearbyint(value);  // default mode: halves to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

QString labelText(double value) {
    // As printf's "%.15g" in the C locale, whatever locale the process runs in.
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    QString text = QString::fromLatin1(buffer, end - buffer);
    if (text == QLatin1String("-0")) {
        text = QStringLiteral("0");
    }
    return value >= 0 || text == QLatin1String("0") ? QLatin1Char(' ') + text : text;
}

}  // namespace trellicap
