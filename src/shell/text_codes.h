// Character codes and numbers as the instrument and the windows use them: Windows-1252
// codes, the leading-number parse of panel texts, 16-bit arithmetic, banker's rounding and
// the label format with a leading blank for non-negative values.
#pragma once

#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap {

// Each code 0..255 taken as a Windows-1252 character; the text keeps every code, 0 included.
[[nodiscard]] QString codesToText(std::span<const RecordValue> codes);
// The Windows-1252 code of one character; characters outside the code page become '?'.
[[nodiscard]] RecordValue charToCode(QChar ch);
[[nodiscard]] std::vector<RecordValue> textToCodes(const QString& text);
// What a text box shows and gives back: the text up to its first code 0.
[[nodiscard]] QString cutAtNul(const QString& text);

// Blanks and tabs anywhere are skipped; an optional sign, digits, an optional point and
// digits are read; reading stops at the first other character; no number gives 0.
[[nodiscard]] double leadingNumber(const QString& text);

// Round to the nearest integer, halves to the even neighbour; nullopt outside 16 bits.
[[nodiscard]] std::optional<std::int16_t> roundToInt16(double value);
// The shortest decimal text of a value (up to 15 significant digits), with one leading
// blank when the value is not negative: 20 -> " 20", -2.5 -> "-2.5".
[[nodiscard]] QString labelText(double value);

}  // namespace trellicap
