#include "display/plot_texts.h"

#include "display/panel_texts.h"
#include "display/plot_geometry.h"

namespace trellicap {

namespace {

std::optional<QLineF> gate(const PanelTexts& texts, const GateRoles& roles, bool gate1) {
    return gateSegment(texts.text(roles.mode), texts.text(roles.start), texts.text(roles.end),
                       texts.text(roles.level), gate1);
}

}  // namespace

PlotTexts plotTexts(const ModelProfile& profile, const PanelTexts& texts) {
    const ControlRoles& roles = profile.roles;
    PlotTexts out;
    out.range = texts.text(roles.range);
    out.delay = texts.text(roles.delay);
    out.gain = texts.text(roles.gain);
    out.dac = texts.text(roles.dac);
    out.gates[0] = gate(texts, roles.gate1, true);
    out.gates[1] = gate(texts, roles.gate2, false);
    return out;
}

}  // namespace trellicap
