#include "report/report_canvases.h"

#include <QPointF>
#include <iterator>

#include "record/profile_text.h"
#include "report/report_composer.h"
#include "report/report_fonts.h"

namespace trellicap {

namespace {

const QColor kFrameColor{0, 0, 0};
constexpr int kFrameWidthPixels = 2;

QFont canvasFont(const ReportFont& font) {
    registerReportFonts();  // before the first font: the substitutes apply to it
    return reportFont(qs(font.family), font.points, font.bold);
}

QPointF at(int x, int y) {
    return QPointF(x, y);
}

void frame(Canvas& canvas, const Rect& r) {
    canvas.setLineWidth(kFrameWidthPixels);
    canvas.rectangle(at(r.left, r.top), at(r.right, r.bottom), kFrameColor);
}

Canvas withFont(Canvas canvas, const ReportFont& font) {
    canvas.setFont(canvasFont(font));
    return canvas;
}

}  // namespace

ReportCanvases::ReportCanvases(const ModelProfile& profile)
    : picecho(withFont(
          Canvas(kBlockWidthTwips, profile.report.ascanDesignHeightTwips, Canvas::Unit::Point),
          profile.report.ascanFont)),
      picsetup(withFont(
          Canvas(kBlockWidthTwips, profile.report.settingsHeightTwips, Canvas::Unit::Point),
          profile.report.settingsFont)),
      pichead(withFont(Canvas(kHeadingWidthTwips, kHeadingHeightTwips, Canvas::Unit::Twip),
                       profile.report.headingFont)),
      picnote(withFont(Canvas(kNoteWidthTwips, profile.report.noteHeightTwips, Canvas::Unit::Twip),
                       profile.report.noteFont)) {}

void drawAscanBlock(const ModelProfile& profile, const ReportSource& source, Canvas& picecho) {
    picecho.setHeightTwips(profile.report.ascanHeightTwips);
    // The fixed-pitch labels line up with the values printed after each of them.
    constexpr int kReadoutY = 240;
    constexpr int kReadoutX[] = {65, 150, 220};
    picecho.printAt(at(4, kReadoutY), qs(kReadoutLabels));
    for (std::size_t i = 0; i < profile.readouts.size() && i < std::size(kReadoutX); ++i) {
        picecho.printAt(at(kReadoutX[i], kReadoutY),
                        source.controlText(profile.readouts[i].control));
    }
    frame(picecho, profile.report.ascanFrame);
}

void drawSettingsBlock(const ModelProfile& profile, const ReportSource& source, Canvas& picsetup) {
    const ReportLayout& layout = profile.report;
    for (const ReportSettingsRow& row : layout.settingsRows) {
        double labelY = row.labelY;
        if (row.labelY == kNextTextLine) {
            picsetup.print(QString());  // an empty line first
            labelY = picsetup.textPosition().y();
        }
        if (!row.labelLine.empty()) {
            picsetup.printAt(QPointF(0, labelY), qs(row.labelLine));
        }
        for (std::size_t c = 0; c < row.labels.size(); ++c) {
            if (!row.labels[c].empty()) {
                picsetup.printAt(QPointF(layout.settingsColumns[c], labelY), qs(row.labels[c]));
            }
        }
        for (std::size_t c = 0; c < row.values.size(); ++c) {
            if (!row.values[c].empty()) {
                picsetup.printAt(at(layout.settingsColumns[c], row.valueY),
                                 source.controlText(row.values[c]));
            }
        }
    }
    for (const ReportText& item : layout.settingsLastRow) {
        QString line = qs(item.prefix);
        if (!item.control.empty()) {
            line += source.controlText(item.control);
        }
        picsetup.printAt(at(item.x, item.y), line);
    }
    frame(picsetup, layout.settingsFrame);
}

void drawNoteBlock(const ModelProfile& profile, const ReportSource& source, Canvas& picnote) {
    for (const HeaderField& field : profile.headerFields) {
        picnote.print(qs(field.notePrefix) + source.controlText(field.control));
    }
    frame(picnote, profile.report.noteFrame);
}

void drawHeadingBlock(Canvas& pichead) {
    pichead.print(qs(kHeadingTitle));
    pichead.print(qs(kHeadingColumns));
}

}  // namespace trellicap
