// The profile's texts are UTF-8 string views; the windows want QStrings.
#pragma once

#include <QString>
#include <string_view>

namespace trellicap {

[[nodiscard]] inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace trellicap
