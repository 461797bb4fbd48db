#include "storage/record_file_writer.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace trellicap {

namespace {

constexpr int kFieldBytes = 4;
constexpr int kLowestStorable = -99;
constexpr int kHighestStorable = 999;

}  // namespace

void formatRecordField(RecordValue value, std::span<char, 4> field) {
    char text[8];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<int>(value)).ptr;
    const auto length = std::min<std::ptrdiff_t>(end - text, kFieldBytes);
    std::memset(field.data(), ' ', kFieldBytes);
    std::memcpy(field.data(), text, static_cast<std::size_t>(length));
}

QByteArray writeRecordFile(const RecordStore& store) {
    const RowRange rows = store.profile().fileRows;
    QByteArray bytes(qsizetype{kFieldBytes} * rows.count() * kSlotCount, Qt::Uninitialized);
    char* out = bytes.data();
    for (int col = 0; col < kSlotCount; ++col) {
        const auto column = store.column(col);
        for (int row = rows.first; row <= rows.last; ++row) {
            formatRecordField(column[static_cast<std::size_t>(row)], std::span<char, 4>(out, 4));
            out += kFieldBytes;
        }
    }
    return bytes;
}

std::optional<TableCell> firstUnstorableValue(const RecordStore& store) {
    const RowRange rows = store.profile().fileRows;
    for (int col = 0; col < kSlotCount; ++col) {
        const auto column = store.column(col);
        for (int row = rows.first; row <= rows.last; ++row) {
            const RecordValue value = column[static_cast<std::size_t>(row)];
            if (value < kLowestStorable || value > kHighestStorable) {
                return TableCell{col, row, value};
            }
        }
    }
    return std::nullopt;
}

}  // namespace trellicap
