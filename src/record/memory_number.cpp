#include "record/memory_number.h"

#include <cmath>

#include "record/numbers.h"
#include "record/text_codes.h"

namespace trellicap {

double memoryNumber(std::span<const RecordValue> record) {
    return leadingNumber(codesToText(record.subspan(kMemoryNumberFirst, 3)));
}

std::optional<int> columnForMemoryNumber(double number) {
    if (number < 1 || number > kSlotCount || number != std::floor(number)) {
        return std::nullopt;
    }
    return static_cast<int>(number) - 1;
}

}  // namespace trellicap
