// Slot lists as an office writes them: "1-10,15,200". Slots are numbered 1..200 as on the
// instrument and in the window's slot list ("Mem 1" .. "Mem 200").
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap::cli {

struct SlotList {
    std::vector<int> numbers;  // ascending, each once
    QString error;             // why the text is not a slot list; empty when it is
};

// Items separated by commas, each a slot or a range "first-last" with first <= last; blanks
// around items are allowed. Slots named twice count once.
[[nodiscard]] SlotList parseSlotList(QStringView text);

// The marked slots of a load, ascending.
[[nodiscard]] std::vector<int> markedSlots(const std::array<bool, kSlotCount>& marked);

// The slots as a slot list again, runs joined: {1, 2, 3, 7} -> "1-3,7"; "none" when empty.
[[nodiscard]] QString formatSlotList(const std::vector<int>& numbers);

}  // namespace trellicap::cli
