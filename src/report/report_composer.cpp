#include "report/report_composer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointF>
#include <iterator>

#include "display/canvas.h"
#include "record/profile_text.h"
#include "report/page_placement.h"
#include "report/report_fonts.h"

namespace trellicap {

namespace {

const QColor kFrameColor{0, 0, 0};
constexpr int kFrameWidthPixels = 2;

QFont canvasFont(const ReportFont& font) {
    return reportFont(qs(font.family), font.points, font.bold);
}

QPointF at(int x, int y) {
    return QPointF(x, y);
}

// Runs the composition's steps: a step that fails is reported and the next one runs.
class Steps {
public:
    Steps(const QString& workingDir, double dpi, const std::function<void()>& reportFailure)
        : m_dir(workingDir), m_dpi(dpi), m_reportFailure(reportFailure) {}
    [[nodiscard]] double dpi() const { return m_dpi; }

    bool check(bool ok) const {
        if (!ok && m_reportFailure) {
            m_reportFailure();
        }
        return ok;
    }
    [[nodiscard]] QString scratch(int block) const {
        return m_dir.filePath(qs(kScratchBitmaps[static_cast<std::size_t>(block)]));
    }
    bool save(const Canvas& canvas, int block) const {
        return check(canvas.saveBmp(scratch(block), m_dpi));
    }
    QImage load(int block) const {
        QImage image;
        check(image.load(scratch(block), "BMP"));
        return image;
    }
    void remove(int block) const { check(QFile::remove(scratch(block))); }

private:
    QDir m_dir;
    double m_dpi;
    const std::function<void()>& m_reportFailure;
};

enum Block { kAscan = 0, kSettings = 1, kHeading = 2, kNote = 3 };

void frame(Canvas& canvas, const Rect& r) {
    canvas.setLineWidth(kFrameWidthPixels);
    canvas.rectangle(at(r.left, r.top), at(r.right, r.bottom), kFrameColor);
}

void composeAscan(const ModelProfile& profile, const ReportSource& source, const Steps& steps,
                  Canvas& picecho) {
    // The plot goes through its scratch bitmap, as the page's blocks do: a working folder
    // that cannot hold the bitmaps fails here already.
    steps.check(source.plotImage(steps.dpi()).save(steps.scratch(kAscan), "BMP"));
    const QImage background = steps.load(kAscan);
    if (!background.isNull()) {
        picecho.drawImage(at(0, 0), background);
    }
    picecho.setHeightTwips(profile.report.ascanHeightTwips);
    steps.remove(kAscan);

    // The fixed-pitch labels line up with the values printed after each of them.
    constexpr int kReadoutY = 240;
    constexpr int kReadoutX[] = {65, 150, 220};
    picecho.printAt(at(4, kReadoutY), qs(kReadoutLabels));
    for (std::size_t i = 0; i < profile.readouts.size() && i < std::size(kReadoutX); ++i) {
        picecho.printAt(at(kReadoutX[i], kReadoutY),
                        source.controlText(profile.readouts[i].control));
    }
    frame(picecho, profile.report.ascanFrame);
    steps.save(picecho, kAscan);
}

void composeSettings(const ModelProfile& profile, const ReportSource& source, const Steps& steps,
                     Canvas& picsetup) {
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
    steps.save(picsetup, kSettings);
}

void composeNote(const ModelProfile& profile, const ReportSource& source, const Steps& steps,
                 Canvas& picnote) {
    for (const HeaderField& field : profile.headerFields) {
        picnote.print(qs(field.notePrefix) + source.controlText(field.control));
    }
    frame(picnote, profile.report.noteFrame);
    steps.save(picnote, kNote);
}

void composeHeading(const Steps& steps, Canvas& pichead) {
    pichead.print(qs(kHeadingTitle));
    pichead.print(qs(kHeadingColumns));
    steps.save(pichead, kHeading);
}

// One job of one page. The job starts with the first bitmap that can be placed; a sink that
// refuses it is asked again for the next bitmap, so each refused placement is reported.
void printPage(const ModelProfile& profile, const Steps& steps, PageSink& sink) {
    const struct {
        Block block;
        QPoint twips;
    } placements[] = {
        {kHeading, {kHeadingX, kPageBaseY}},
        {kAscan, {kAscanX, kBlocksY}},
        {kSettings, {kSettingsX, kBlocksY}},
        {kNote, {kNoteX, profile.report.noteY}},
    };
    bool jobOpen = false;
    for (const auto& placement : placements) {
        const QImage image = steps.load(placement.block);
        if (image.isNull()) {
            continue;
        }
        if (!jobOpen && !steps.check(jobOpen = sink.begin())) {
            continue;
        }
        steps.check(sink.place(placement.twips, image));
    }
    if (jobOpen) {
        steps.check(sink.end());
    }
}

}  // namespace

void print_report(const ModelProfile& profile, const ReportSource& source, PageSink& sink,
                  const QString& workingDir, const std::function<void()>& reportFailure) {
    registerReportFonts();
    // The canvases of the hidden report window live for this call only: nothing drawn for
    // one report can reach the next.
    Canvas picecho(kBlockWidthTwips, profile.report.ascanDesignHeightTwips, Canvas::Unit::Point);
    Canvas picsetup(kBlockWidthTwips, profile.report.settingsHeightTwips, Canvas::Unit::Point);
    Canvas pichead(kHeadingWidthTwips, kHeadingHeightTwips, Canvas::Unit::Twip);
    Canvas picnote(kNoteWidthTwips, profile.report.noteHeightTwips, Canvas::Unit::Twip);
    picecho.setFont(canvasFont(profile.report.ascanFont));
    picsetup.setFont(canvasFont(profile.report.settingsFont));
    pichead.setFont(canvasFont(profile.report.headingFont));
    picnote.setFont(canvasFont(profile.report.noteFont));

    // The bitmaps are drawn at the page's resolution: sharp on paper, the layout unchanged.
    const Steps steps(workingDir, composeDpi(sink.resolution()), reportFailure);
    composeAscan(profile, source, steps, picecho);
    composeSettings(profile, source, steps, picsetup);
    composeNote(profile, source, steps, picnote);
    composeHeading(steps, pichead);
    printPage(profile, steps, sink);
    for (int block = kAscan; block <= kNote; ++block) {
        steps.remove(block);
    }
}

}  // namespace trellicap
