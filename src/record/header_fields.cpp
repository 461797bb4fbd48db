#include "record/header_fields.h"

#include <cassert>

#include "record/text_codes.h"

namespace trellicap {

void storeHeaderFields(const ModelProfile& profile, std::span<const QString> texts,
                       std::span<RecordValue> column) {
    assert(texts.size() == profile.headerFields.size());
    for (std::size_t f = 0; f < profile.headerFields.size(); ++f) {
        const HeaderField& field = profile.headerFields[f];
        const std::vector<RecordValue> codes = textToCodes(texts[f].left(field.maxChars));
        // (The DAC runs hold one code more than the box takes; that row is left as it was.)
        for (int k = 0; k < field.maxChars; ++k) {
            const auto index = static_cast<std::size_t>(k);
            column[static_cast<std::size_t>(field.firstRow + k)] =
                index < codes.size() ? codes[index] : RecordValue{32};
        }
    }
}

}  // namespace trellicap
