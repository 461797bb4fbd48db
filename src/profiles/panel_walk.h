// The panel's walk over the settings area of a record: from kSettingsStart each step shows
// `shown` codes from where it stands and moves on by `advance`. The panel texts, the tables'
// time and date, the slot tips, the archive's record facts and the profile checks all read
// the settings through this one walk.
#pragma once

#include <optional>
#include <string_view>

#include "profiles/model_profile.h"

namespace trellicap {

// visit(step, first) for every step of the walk, `first` the record index of its first code.
template <class Visit>
constexpr void walkPanel(const ModelProfile& profile, Visit&& visit) {
    int first = kSettingsStart;
    for (const PanelStep& step : profile.panelSteps) {
        visit(step, first);
        first += step.advance;
    }
}

// The record index of the first code a box of the walk shows; none for a box it does not walk.
[[nodiscard]] constexpr std::optional<int> walkedIndex(const ModelProfile& profile,
                                                       std::string_view control) {
    std::optional<int> found;
    walkPanel(profile, [&](const PanelStep& step, int first) {
        if (!found && step.control == control) {
            found = first;
        }
    });
    return found;
}

// The record index of the time and date of storing; none for a walk without it.
[[nodiscard]] constexpr std::optional<int> timeDateIndex(const ModelProfile& profile) {
    std::optional<int> found;
    walkPanel(profile, [&](const PanelStep& step, int first) {
        if (!found && step.timeDate) {
            found = first;
        }
    });
    return found;
}

}  // namespace trellicap
