// Numbers as the panel texts and the axis labels need them: the leading-number parse of a
// panel text, banker's rounding within 16 bits, and the label format with a leading blank
// for non-negative values.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace trellicap {

// Blanks and tabs anywhere are skipped; an optional sign, digits, an optional point and
// digits are read; reading stops at the first other character; no number gives 0.
[[nodiscard]] double leadingNumber(const QString& text);
// The same parse, but nullopt where the text holds no leading number at all (a blank gain),
// for tables that must tell "0" from "nothing".
[[nodiscard]] std::optional<double> numberIn(const QString& text);

// Round to the nearest integer, halves to the even neighbour; nullopt outside 16 bits.
[[nodiscard]] std::optional<std::int16_t> roundToInt16(double value);
// The shortest decimal text of a value (up to 15 significant digits), with one leading
// blank when the value is not negative: 20 -> " 20", -2.5 -> "-2.5".
[[nodiscard]] QString labelText(double value);

}  // namespace trellicap
