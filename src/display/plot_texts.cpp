#include "display/plot_texts.h"

#include "display/panel_texts.h"
#include "display/plot_geometry.h"

namespace trellicap {

PlotTexts plotTexts(const PanelTexts& texts) {
    PlotTexts out;
    out.range = texts.text("txtrange");
    out.delay = texts.text("txtdelay");
    out.gain = texts.text("txtgain");
    out.dac = texts.text("txtdac");
    out.gates[0] = gateSegment(texts.text("txtgate"), texts.text("txtstart"), texts.text("txtend"),
                               texts.text("txtlevel"), true);
    out.gates[1] = gateSegment(texts.text("txtgate2"), texts.text("txtstart2"),
                               texts.text("txtend2"), texts.text("txtlevel2"), false);
    return out;
}

}  // namespace trellicap
