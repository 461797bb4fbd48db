// The main window's side of the archive: records that come back from it into their slots,
// and the clean end of a run.
#include <algorithm>

#include "shell/archive_hooks.h"
#include "shell/frmmain.h"

namespace trellicap {

void frmmain::fileRecord(int column, std::span<const RecordValue> values) {
    if (column < 0 || column >= kSlotCount) {
        return;
    }
    const auto target = m_store.column(column);
    const std::size_t count = std::min(values.size(), target.size());
    std::copy_n(values.begin(), count, target.begin());
    recordFiled(column);
}

void frmmain::endRunCleanly() {
    if (m_archive) {
        m_archive->endRunCleanly();
    }
}

}  // namespace trellicap
