#include "storage/record_file_writer.h"

#include <algorithm>
#include <array>
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

namespace {

// The fields of every value a table normally holds, formatted once: a save copies 4 bytes
// per value instead of formatting 140,000 numbers.
class FieldTable {
public:
    FieldTable() {
        for (int value = kLowestStorable; value <= kHighestStorable; ++value) {
            formatRecordField(static_cast<RecordValue>(value),
                              std::span<char, 4>(m_fields[index(value)].data(), 4));
        }
    }
    void put(RecordValue value, char* out) const {
        if (value >= kLowestStorable && value <= kHighestStorable) {
            std::memcpy(out, m_fields[index(value)].data(), kFieldBytes);
        } else {
            formatRecordField(value, std::span<char, 4>(out, 4));
        }
    }

private:
    static std::size_t index(int value) {
        return static_cast<std::size_t>(value - kLowestStorable);
    }
    std::array<std::array<char, kFieldBytes>, kHighestStorable - kLowestStorable + 1> m_fields{};
};

}  // namespace

qsizetype recordFileSize(const ModelProfile& profile) {
    return qsizetype{kFieldBytes} * profile.fileRows.count() * kSlotCount;
}

QByteArray writeRecordFile(const RecordStore& store) {
    const RowRange rows = store.profile().fileRows;
    QByteArray bytes(recordFileSize(store.profile()), Qt::Uninitialized);
    char* out = bytes.data();
    static const FieldTable fields;
    for (int col = 0; col < kSlotCount; ++col) {
        const auto column = store.column(col);
        for (int row = rows.first; row <= rows.last; ++row) {
            fields.put(column[static_cast<std::size_t>(row)], out);
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
