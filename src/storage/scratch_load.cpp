#include "storage/scratch_load.h"

#include <algorithm>

#include "storage/record_file_io.h"

namespace trellicap {

ScratchLoad::ScratchLoad(const ModelProfile& profile) : m_table(profile) {}

const LoadResult& ScratchLoad::read(const QString& path) {
    m_result = loadRecordFile(path, m_table);
    return m_result;
}

void ScratchLoad::adoptInto(RecordStore& live) const {
    if (!m_result.tableChanged()) {
        return;
    }
    const RowRange rows = m_table.profile().fileRows;
    for (int col = 0; col < kSlotCount; ++col) {
        const auto from = m_table.column(col);
        std::copy(from.begin() + rows.first, from.begin() + rows.last + 1,
                  live.column(col).begin() + rows.first);
    }
}

}  // namespace trellicap
