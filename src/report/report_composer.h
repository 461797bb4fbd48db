// The report composer (Module1.print_report): one "Ultrasonic  Test  Report" page from what
// the main window shows. Four canvases (A-scan, settings, heading, note) are drawn, saved as
// scratch bitmaps in the working folder, read back and placed on one page of the sink; the
// scratch bitmaps are deleted before it returns.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string_view>

#include "profiles/model_profile.h"
#include "report/page_sink.h"
#include "report/report_source.h"

namespace trellicap {

inline constexpr std::string_view kReportFailureText = "The Report can't be printed.";

// Scratch bitmaps: A-scan, settings, heading, note.
inline constexpr std::array<std::string_view, 4> kScratchBitmaps = {"gtp101.bmp", "gtp102.bmp",
                                                                    "gtp103.bmp", "gtp104.bmp"};

// Canvas sizes in twips that both models share.
inline constexpr int kBlockWidthTwips = 5175;  // A-scan and settings canvases
inline constexpr int kHeadingWidthTwips = 9615;
inline constexpr int kHeadingHeightTwips = 615;
inline constexpr int kNoteWidthTwips = 10300;

// Page positions in twips from the top-left corner of the printable area.
inline constexpr int kPageBaseY = 5000;
inline constexpr int kHeadingX = 1300;
inline constexpr int kAscanX = 870;
inline constexpr int kSettingsX = 5990;  // where the A-scan frame ends: 870 + 256 * 20
inline constexpr int kBlocksY = kPageBaseY + 700;
inline constexpr int kNoteX = 870;

// The two heading lines; the blanks put "A Scan" and "Menu Data" over their blocks.
inline constexpr std::string_view kHeadingTitle =
    "                                                 Ultrasonic  Test  Report ";
inline constexpr std::string_view kHeadingColumns =
    "                       A Scan                                                      Menu "
    "Data";

inline constexpr std::string_view kReadoutLabels = "Beam Path:      Surface:      Depth:";

// Composes and prints one page. Every step that fails (a scratch bitmap that cannot be
// written, read or deleted, a sink that refuses the job or a placement) calls reportFailure
// once and the composition goes on with the next step, so the scratch bitmaps are deleted
// even after a failure. The page job starts with the first placement, so a report whose
// bitmaps all failed leaves no blank page behind.
void print_report(const ModelProfile& profile, const ReportSource& source, PageSink& sink,
                  const QString& workingDir, const std::function<void()>& reportFailure);

}  // namespace trellicap
