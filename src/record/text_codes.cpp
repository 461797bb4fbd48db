#include "record/text_codes.h"

#include <array>

namespace trellicap {

namespace {

// Windows-1252 codes 0x80..0x9F; the five unassigned codes map to the C1 control of the
// same number, as the platform's own conversion does.
constexpr std::array<char16_t, 32> kHighCodes = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar codeToChar(RecordValue code) {
    const int c = code & 0xFF;
    if (c >= 0x80 && c <= 0x9F) {
        return QChar(kHighCodes[static_cast<std::size_t>(c - 0x80)]);
    }
    return QChar(static_cast<char16_t>(c));
}

}  // namespace

QString codesToText(std::span<const RecordValue> codes) {
    QString text;
    text.reserve(static_cast<qsizetype>(codes.size()));
    for (RecordValue code : codes) {
        text.append(codeToChar(code));
    }
    return text;
}

RecordValue charToCode(QChar ch) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return static_cast<RecordValue>(u);
    }
    for (std::size_t i = 0; i < kHighCodes.size(); ++i) {
        if (kHighCodes[i] == u) {
            return static_cast<RecordValue>(0x80 + i);
        }
    }
    return RecordValue{'?'};
}

std::vector<RecordValue> textToCodes(const QString& text) {
    std::vector<RecordValue> codes;
    codes.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        codes.push_back(charToCode(ch));
    }
    return codes;
}

QString cutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

}  // namespace trellicap
