// The one way a profile's text (a std::string_view: labels, captions, box names, fonts)
// becomes a QString. The profiles are C++ string literals, which GCC, Clang and MSVC with
// /utf-8 store as UTF-8, so they are read as UTF-8. A record's own codes are Windows-1252
// and go through text_codes.h instead.
#pragma once

#include <QString>
#include <string_view>

namespace trellicap {

[[nodiscard]] inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace trellicap
