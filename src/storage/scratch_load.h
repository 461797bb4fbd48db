// A load read into a table of its own first: a file that turns out short, damaged or made
// for the other model never touches the slots in use unless the operator asks for what was
// read. The live table takes the whole file in one step, or nothing.
#pragma once

#include <QString>

#include "record/record_store.h"
#include "storage/record_file_reader.h"

namespace trellicap {

class ScratchLoad {
public:
    explicit ScratchLoad(const ModelProfile& profile);

    // Reads path into the scratch table (pre-fill included), as loadRecordFile does.
    const LoadResult& read(const QString& path);
    [[nodiscard]] const LoadResult& result() const { return m_result; }

    // Gives the live table exactly what a load straight into it would have left: the file
    // rows of slot columns 0..199, read or pre-filled. Row recordLast, column 200 and the
    // capture buffer stay as they are. Nothing happens for a file that could not be opened.
    void adoptInto(RecordStore& live) const;

private:
    RecordStore m_table;
    LoadResult m_result;
};

}  // namespace trellicap
