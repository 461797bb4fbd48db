// Writing the memory table as a record file: 4-byte decimal fields, left-aligned and
// blank-padded, slot-major over the profile's file rows of columns 0..199. No header,
// no separators; the blank that ends every field is what the reader splits on.
#pragma once

#include <QByteArray>
#include <optional>
#include <span>

#include "record/record_store.h"

namespace trellicap {

// A value's place in the memory table.
struct TableCell {
    int column;  // 0..199, slot column + 1
    int row;
    RecordValue value;
};

// The text of one value cut or padded to exactly 4 bytes: 0 -> "0   ", -7 -> "-7  ".
void formatRecordField(RecordValue value, std::span<char, 4> field);

// The size of a whole file of the model: 4 bytes for every file row of columns 0..199. A file
// of another size was not written for this model (or not written whole).
[[nodiscard]] qsizetype recordFileSize(const ModelProfile& profile);

// The whole file: 4 bytes for every row of profile().fileRows of columns 0..199.
[[nodiscard]] QByteArray writeRecordFile(const RecordStore& store);

// Only -99..999 leave a blank in their field; a longer value would run into the next field
// and the file would no longer read back. The first such value in file order, if any.
[[nodiscard]] std::optional<TableCell> firstUnstorableValue(const RecordStore& store);

}  // namespace trellicap
