#include "cli/warning.h"

#include <cstdio>
#include <vector>

#include "cli/slot_list.h"

namespace trellicap::cli {

void warn(const QString& sentence) {
    const QByteArray line = QStringLiteral("trellicap-cli: warning: %1\n").arg(sentence).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

void warnUnmarkedSlots(const RecordInput& input, std::span<const int> chosen, const QString& what) {
    std::vector<int> empty;
    for (const int slot : chosen) {
        if (!input.marked[static_cast<std::size_t>(slot - 1)]) {
            empty.push_back(slot);
        }
    }
    if (empty.empty()) {
        return;
    }
    warn(QStringLiteral("%1 %2 %3 no record (the record there does not name its own slot, so "
                        "the window does not mark it); %4 as it stands.")
             .arg(empty.size() == 1 ? QStringLiteral("slot") : QStringLiteral("slots"),
                  formatSlotList(empty),
                  empty.size() == 1 ? QStringLiteral("holds") : QStringLiteral("hold"), what));
}

}  // namespace trellicap::cli
