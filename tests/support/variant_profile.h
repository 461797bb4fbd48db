// A third, test-only instrument: the TFT model with its RANGE box renamed ("txtspan") and
// its DELAY box moved (read from the record before VEL M/S, shown in VEL M/S's place in the
// grid). Code that names a box instead of asking the profile's roles breaks on it; the
// profile checks hold it to the same rules as the real ones.
#pragma once

#include <algorithm>
#include <array>
#include <iterator>

#include "profiles/model_profile.h"
#include "profiles/profile_checks.h"
#include "profiles/tft.h"

namespace trellicap::variant {

constexpr std::string_view renamed(std::string_view control) {
    return control == "txtrange" ? std::string_view("txtspan") : control;
}

inline constexpr auto kPanelSteps = [] {
    std::array<PanelStep, std::size(tft::kPanelSteps)> steps{};
    std::copy(std::begin(tft::kPanelSteps), std::end(tft::kPanelSteps), steps.begin());
    for (PanelStep& step : steps) {
        step.control = renamed(step.control);
    }
    std::swap(steps[2], steps[3]);  // DELAY's seven codes now come before VEL M/S's
    return steps;
}();

inline constexpr auto kPanelCells = [] {
    std::array<PanelCell, std::size(tft::kPanelCells)> cells{};
    std::copy(std::begin(tft::kPanelCells), std::end(tft::kPanelCells), cells.begin());
    for (PanelCell& cell : cells) {
        cell.control = renamed(cell.control);
    }
    std::swap(cells[2].column, cells[3].column);  // DELAY stands where VEL M/S stood
    return cells;
}();

inline constexpr auto kReportRows = [] {
    std::array<ReportSettingsRow, std::size(tft::kReportRows)> rows{};
    std::copy(std::begin(tft::kReportRows), std::end(tft::kReportRows), rows.begin());
    for (ReportSettingsRow& row : rows) {
        for (std::string_view& control : row.values) {
            control = renamed(control);
        }
    }
    return rows;
}();

inline constexpr ModelProfile kProfile = [] {
    ModelProfile profile = tft::kProfile;
    profile.programName = "TrellicapVariant";
    profile.modelKey = "variant";
    profile.panelSteps = kPanelSteps;
    profile.panelCells = kPanelCells;
    profile.report.settingsRows = kReportRows;
    profile.roles.range = "txtspan";
    profile.roles.infoSettings[0] = "txtspan";
    return profile;
}();

static_assert(profileIsValid(kProfile));

}  // namespace trellicap::variant
