// png and svg: one slot's A-scan plot as the window shows it after a recall (trace,
// graticule, gates, DAC curves, axis labels), drawn afresh at the scale asked for rather
// than enlarged from the screen's pixels.
#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/models.h"
#include "cli/output_file.h"
#include "cli/warning.h"
#include "report/slot_view.h"

namespace trellicap::cli {

namespace {

constexpr double kLowestScale = 0.5;
constexpr double kHighestScale = 8;

// One slot's plot, recalled from the file, drawn into a picture file.
void writePicture(const CommandLine& line, ExportFormat format) {
    const QString path = line.required(QStringLiteral("output"));
    const double scale = line.decimal(QStringLiteral("scale"), 1, kLowestScale, kHighestScale);
    const int slot = line.requiredNumber(QStringLiteral("slot"), 1, kSlotCount);
    const RecordInput input = openInput(line);
    const int pictured[] = {slot};
    warnUnmarkedSlots(input, pictured, QStringLiteral("the picture shows the slot"));
    ExportRequest request;
    request.format = format;
    request.slotNumbers = {slot};
    request.scale = scale;
    writeExport(input.session->store(), std::move(request), path);
}

void runPng(const CommandLine& line) {
    writePicture(line, ExportFormat::Png);
}

void runSvg(const CommandLine& line) {
    writePicture(line, ExportFormat::Svg);
}

OptionSyntax slotOption() {
    return {{QStringLiteral("slot")}, QStringLiteral("N"), QStringLiteral("the slot, 1 to 200")};
}

OptionSyntax scaleOption() {
    const QSize plot = Canvas(kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point).sizePixels();
    return {{QStringLiteral("scale")},
            QStringLiteral("S"),
            QStringLiteral("size against the window's plot at 96 dpi (%1 x %2 pixels), 0.5 to 8 "
                           "(default 1)")
                .arg(plot.width())
                .arg(plot.height())};
}

}  // namespace

const Command& pngCommand() {
    static const Command command{
        {QStringLiteral("png"),
         withModelKeys(QStringLiteral("FILE --slot N -o OUT.png [--scale S] [--model {models}]")),
         QStringLiteral("one slot's A-scan plot as a PNG picture"),
         QStringLiteral(
             "Draws the slot's A-scan plot as the window shows it after a recall, sharp\n"
             "at the scale asked for (scale 2 draws at 192 dpi)."),
         {slotOption(), outputOption(QStringLiteral("OUT.png")), scaleOption(), modelOption()},
         1},
        runPng};
    return command;
}

const Command& svgCommand() {
    static const Command command{
        {QStringLiteral("svg"),
         withModelKeys(QStringLiteral("FILE --slot N -o OUT.svg [--scale S] [--model {models}]")),
         QStringLiteral("one slot's A-scan plot as an SVG drawing"),
         QStringLiteral("Draws the slot's A-scan plot as the window shows it after a recall, as\n"
                        "lines and text that stay sharp at any size."),
         {slotOption(), outputOption(QStringLiteral("OUT.svg")), scaleOption(), modelOption()},
         1},
        runSvg};
    return command;
}

}  // namespace trellicap::cli
