// The panel texts the plot's readings work from (RANGE, DELAY, gain, the DAC mode and the two
// gate markers), read in one place so that the controls they come from are named once.
#pragma once

#include <QLineF>
#include <QString>
#include <array>
#include <optional>

#include "profiles/model_profile.h"

namespace trellicap {

class PanelTexts;

struct PlotTexts {
    QString range;
    QString delay;
    QString gain;
    QString dac;
    // Gate 1 and gate 2 as the plot draws them; nullopt where a gate is not drawn.
    std::array<std::optional<QLineF>, 2> gates;
};

// The controls come from the profile's roles.
[[nodiscard]] PlotTexts plotTexts(const ModelProfile& profile, const PanelTexts& texts);

}  // namespace trellicap
