#include "cli/slot_list.h"

#include <QStringList>
#include <algorithm>
#include <optional>

namespace trellicap::cli {

namespace {

// A slot number 1..200 in plain decimal digits; the reason otherwise.
std::optional<int> slotNumber(QStringView text, QString& error) {
    const QStringView trimmed = text.trimmed();
    const bool digits = !trimmed.isEmpty() && std::all_of(trimmed.begin(), trimmed.end(),
                                                          [](QChar c) { return c.isDigit(); });
    if (!digits) {
        error = QStringLiteral("'%1' is not a slot number").arg(trimmed);
        return std::nullopt;
    }
    const int slot = trimmed.toInt();
    if (slot < 1 || slot > kSlotCount || trimmed.size() > 3) {
        error = QStringLiteral("slot %1 lies outside 1 to %2").arg(trimmed).arg(kSlotCount);
        return std::nullopt;
    }
    return slot;
}

// One item, a slot or a range, added to numbers; false with the reason when it is neither.
bool addItem(QStringView item, std::vector<int>& numbers, QString& error) {
    if (item.trimmed().isEmpty()) {
        error = QStringLiteral("an empty item");
        return false;
    }
    const qsizetype dash = item.indexOf(QLatin1Char('-'));
    const auto first = slotNumber(dash < 0 ? item : item.left(dash), error);
    const auto last = dash < 0 ? first : slotNumber(item.mid(dash + 1), error);
    if (!first || !last) {
        return false;
    }
    if (*last < *first) {
        error = QStringLiteral("the range %1 runs backwards").arg(item.trimmed());
        return false;
    }
    for (int slot = *first; slot <= *last; ++slot) {
        numbers.push_back(slot);
    }
    return true;
}

}  // namespace

SlotList parseSlotList(QStringView text) {
    SlotList list;
    for (const QStringView item : text.split(QLatin1Char(','))) {
        QString error;
        if (!addItem(item, list.numbers, error)) {
            list.numbers.clear();
            list.error = QStringLiteral("the slot list '%1' is not valid: %2").arg(text, error);
            return list;
        }
    }
    std::sort(list.numbers.begin(), list.numbers.end());
    list.numbers.erase(std::unique(list.numbers.begin(), list.numbers.end()), list.numbers.end());
    return list;
}

std::vector<int> markedSlots(const std::array<bool, kSlotCount>& marked) {
    std::vector<int> numbers;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (marked[static_cast<std::size_t>(slot - 1)]) {
            numbers.push_back(slot);
        }
    }
    return numbers;
}

QString formatSlotList(const std::vector<int>& numbers) {
    if (numbers.empty()) {
        return QStringLiteral("none");
    }
    QStringList items;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) {
            ++j;
        }
        items.append(j == i ? QString::number(numbers[i])
                            : QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    return items.join(QLatin1Char(','));
}

}  // namespace trellicap::cli
