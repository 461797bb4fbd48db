// Character codes as the instrument and the windows use them: every record value that holds
// text is one Windows-1252 code.
#pragma once

#include <QString>
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

}  // namespace trellicap
