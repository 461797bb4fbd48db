// The one way a profile's text (a std::string_view: labels, captions, box names, fonts)
// becomes a QString. The profiles are C++ string literals, which GCC, Clang and MSVC with
// /utf-8 store as UTF-8, so they are read as UTF-8. A record's own codes are Windows-1252
// and go through text_codes.h instead. Names the code itself spells in ASCII (model keys,
// control names, column names) are viewed as Latin-1 without a copy.
#pragma once

#include <QLatin1String>
#include <QString>
#include <string_view>

namespace trellicap {

[[nodiscard]] inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

[[nodiscard]] inline QLatin1String latin1(std::string_view name) {
    return QLatin1String(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace trellicap
