#include "shell/archive/archive_picture.h"

#include "display/ascan_plot.h"
#include "display/overlays.h"
#include "display/panel_texts.h"
#include "report/slot_view.h"

namespace trellicap {

QImage keptPicture(const ModelProfile& profile, std::span<const RecordValue> values, double dpi) {
    if (values.size() != static_cast<std::size_t>(profile.recordSize())) {
        return {};
    }
    Canvas plot(kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point);
    displayPattern(plot, values);
    drawOverlays(plot, profile, buildPanelTexts(profile, values), values);
    return plot.image(dpi);
}

}  // namespace trellicap
