// png and svg: one slot's A-scan plot as the window shows it after a recall (trace,
// graticule, gates, DAC curves, axis labels), drawn afresh at the scale asked for rather
// than enlarged from the screen's pixels.
#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <memory>

#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/output_file.h"
#include "cli/warning.h"
#include "report/slot_view.h"

namespace trellicap::cli {

namespace {

constexpr double kLowestScale = 0.5;
constexpr double kHighestScale = 8;

// The picture asked for: where it goes, its scale, and the slot recalled from the file.
struct Picture {
    QString path;
    double scale = 1;
    RecordInput input;
    SlotView* shown = nullptr;  // the record shown of the input's session
};

Picture recallForPicture(const CommandLine& line) {
    Picture picture;
    picture.path = line.required(QStringLiteral("output"));
    picture.scale = line.decimal(QStringLiteral("scale"), 1, kLowestScale, kHighestScale);
    const int slot = line.requiredNumber(QStringLiteral("slot"), 1, kSlotCount);
    picture.input = openInput(line);
    picture.input.session->recall(slot - 1);
    picture.shown = &picture.input.session->view();
    const int pictured[] = {slot};
    warnUnmarkedSlots(picture.input, pictured, QStringLiteral("the picture shows the slot"));
    return picture;
}

void runPng(const CommandLine& line) {
    const Picture picture = recallForPicture(line);
    const QImage image = picture.shown->plot().image(kScreenDpi * picture.scale);
    OutputFile out(picture.path);
    if (!image.save(&out.device(), "PNG")) {
        failInput(QStringLiteral("\"%1\" could not be written: %2.")
                      .arg(picture.path, out.device().errorString()));
    }
    out.commit();
}

// Drawn into memory first: the generator cannot tell whether its device took the bytes.
QByteArray svgBytes(const Canvas& plot, double scale) {
    const QSize size = plot.sizePixels(kScreenDpi * scale);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setResolution(static_cast<int>(kScreenDpi));  // so the canvas's fonts keep their size
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("A-scan"));
    QPainter painter(&svg);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    plot.render(painter, scale);
    painter.end();
    return buffer.data();
}

void runSvg(const CommandLine& line) {
    const Picture picture = recallForPicture(line);
    OutputFile out(picture.path);
    out.write(svgBytes(picture.shown->plot(), picture.scale));
    out.commit();
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
         QStringLiteral("FILE --slot N -o OUT.png [--scale S] [--model tft|dac]"),
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
         QStringLiteral("FILE --slot N -o OUT.svg [--scale S] [--model tft|dac]"),
         QStringLiteral("one slot's A-scan plot as an SVG drawing"),
         QStringLiteral("Draws the slot's A-scan plot as the window shows it after a recall, as\n"
                        "lines and text that stay sharp at any size."),
         {slotOption(), outputOption(QStringLiteral("OUT.svg")), scaleOption(), modelOption()},
         1},
        runSvg};
    return command;
}

}  // namespace trellicap::cli
