#include "record/header_fields.h"

#include <cassert>

#include "record/profile_text.h"
#include "record/text_codes.h"

namespace trellicap {

void storeHeaderFields(const ModelProfile& profile, std::span<const QString> texts,
                       std::span<RecordValue> column) {
    assert(texts.size() == profile.headerFields.size());
    for (std::size_t f = 0; f < profile.headerFields.size(); ++f) {
        const HeaderField& field = profile.headerFields[f];
        // The whole run: a DAC box may show all 40 codes of a recalled record, although the
        // operator can type only 39.
        const std::vector<RecordValue> codes = textToCodes(texts[f].left(field.runLength));
        for (int k = 0; k < field.runLength; ++k) {
            const auto index = static_cast<std::size_t>(k);
            column[static_cast<std::size_t>(field.firstRow + k)] =
                index < codes.size() ? codes[index] : RecordValue{32};
        }
    }
}

QString headerFieldLabel(const HeaderField& field) {
    return qs(field.label).remove(QLatin1Char('.')).trimmed();
}

}  // namespace trellicap
