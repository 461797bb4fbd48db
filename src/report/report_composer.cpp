#include "report/report_composer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPointF>

#include "display/canvas.h"
#include "record/profile_text.h"
#include "report/page_placement.h"
#include "report/report_canvases.h"

namespace trellicap {

namespace {

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

void composeAscan(const ModelProfile& profile, const ReportSource& source, const Steps& steps,
                  Canvas& picecho) {
    // The plot goes through its scratch bitmap, as the page's blocks do: a working folder
    // that cannot hold the bitmaps fails here already.
    steps.check(source.plotImage(steps.dpi()).save(steps.scratch(kAscan), "BMP"));
    const QImage background = steps.load(kAscan);
    if (!background.isNull()) {
        picecho.drawImage(QPointF(0, 0), background);
    }
    steps.remove(kAscan);
    drawAscanBlock(profile, source, picecho);
    steps.save(picecho, kAscan);
}

void composeSettings(const ModelProfile& profile, const ReportSource& source, const Steps& steps,
                     Canvas& picsetup) {
    drawSettingsBlock(profile, source, picsetup);
    steps.save(picsetup, kSettings);
}

void composeNote(const ModelProfile& profile, const ReportSource& source, const Steps& steps,
                 Canvas& picnote) {
    drawNoteBlock(profile, source, picnote);
    steps.save(picnote, kNote);
}

void composeHeading(const Steps& steps, Canvas& pichead) {
    drawHeadingBlock(pichead);
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
    // The canvases of the hidden report window live for this call only: nothing drawn for
    // one report can reach the next.
    ReportCanvases canvases(profile);

    // The bitmaps are drawn at the page's resolution: sharp on paper, the layout unchanged.
    const Steps steps(workingDir, composeDpi(sink.resolution()), reportFailure);
    composeAscan(profile, source, steps, canvases.picecho);
    composeSettings(profile, source, steps, canvases.picsetup);
    composeNote(profile, source, steps, canvases.picnote);
    composeHeading(steps, canvases.pichead);
    printPage(profile, steps, sink);
    for (int block = kAscan; block <= kNote; ++block) {
        steps.remove(block);
    }
}

}  // namespace trellicap
