// The settings area of a record as the panel reads it: the profile's steps in record order
// from index 260, each at the record index of its first code. The panel's texts, the
// archive's record facts and the position of a box's codes all walk it here, so a step
// added to a profile moves every reader alike.
#pragma once

#include <optional>
#include <string_view>

#include "profiles/model_profile.h"

namespace trellicap {

// Calls visit(step, index) for each step in the profile's order.
template <typename Visit>
void walkPanel(const ModelProfile& profile, Visit&& visit) {
    int at = kSettingsStart;
    for (const PanelStep& step : profile.panelSteps) {
        visit(step, at);
        at += step.advance;
    }
}

// The record index of a box's first code; nullopt for a box the walk does not fill.
[[nodiscard]] inline std::optional<int> panelIndex(const ModelProfile& profile,
                                                   std::string_view control) {
    std::optional<int> found;
    walkPanel(profile, [&](const PanelStep& step, int at) {
        if (!found && step.control == control) {
            found = at;
        }
    });
    return found;
}

}  // namespace trellicap
