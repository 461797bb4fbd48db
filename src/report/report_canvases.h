// The four canvases of a report page (A-scan, settings, heading, note) and what is drawn on
// each from the texts the window shows. The printed page passes them through scratch bitmaps,
// the vector page renders them straight into a PDF: both draw them with these functions, so
// the two pages cannot drift apart.
#pragma once

#include "display/canvas.h"
#include "profiles/model_profile.h"
#include "report/report_source.h"

namespace trellicap {

// The canvases of the hidden report window at their design sizes and fonts, empty.
struct ReportCanvases {
    explicit ReportCanvases(const ModelProfile& profile);

    Canvas picecho;
    Canvas picsetup;
    Canvas pichead;
    Canvas picnote;
};

// The A-scan block after its plot background: the canvas cut to its report height, the
// readout labels and values, the frame.
void drawAscanBlock(const ModelProfile& profile, const ReportSource& source, Canvas& picecho);
// The "Menu Data" block: labels, values, the last row and the frame.
void drawSettingsBlock(const ModelProfile& profile, const ReportSource& source, Canvas& picsetup);
// The header fields under their prefixes, and the frame.
void drawNoteBlock(const ModelProfile& profile, const ReportSource& source, Canvas& picnote);
// The two heading lines.
void drawHeadingBlock(Canvas& pichead);

}  // namespace trellicap
