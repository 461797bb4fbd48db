#include "report/vector_report_document.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QStringList>

#include "report/page_placement.h"
#include "report/report_canvases.h"
#include "report/report_composer.h"

namespace trellicap {

namespace {

constexpr double kScale = VectorReportDocument::kResolutionDpi / kScreenDpi;

QRectF blockRect(QPoint twips, const Canvas& canvas) {
    const double perTwip = VectorReportDocument::kResolutionDpi / kTwipsPerInch;
    return QRectF(twips.x() * perTwip, twips.y() * perTwip, canvas.widthTwips() * perTwip,
                  canvas.heightTwips() * perTwip);
}

// A block as the printed page places its bitmap: an opaque white rectangle (a later block
// covers what an earlier one drew where they overlap), the drawing cut at its edges. The
// A-scan block has the plot underneath its own drawing, as its bitmap has the plot image.
void drawBlock(QPainter& painter, QPoint twips, const Canvas& canvas,
               const Canvas* underneath = nullptr) {
    const QRectF area = blockRect(twips, canvas);
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.setClipRect(area);
    painter.translate(area.topLeft());
    if (underneath != nullptr) {
        underneath->render(painter, kScale);
    }
    canvas.render(painter, kScale);
    painter.restore();
}

// "1-3, 7": runs of consecutive numbers joined.
QString slotRuns(const QList<int>& numbers) {
    QStringList runs;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) {
            ++j;
        }
        runs << (j == i ? QString::number(numbers[i])
                        : QStringLiteral("%1-%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    return runs.join(QStringLiteral(", "));
}

}  // namespace

QString vectorReportTitle(const QString& fileName, const QList<int>& numbers) {
    const QString mem =
        numbers.isEmpty() ? QStringLiteral("Mem") : QStringLiteral("Mem %1").arg(slotRuns(numbers));
    return fileName.isEmpty() ? mem : QStringLiteral("%1, %2").arg(fileName, mem);
}

VectorReportDocument::VectorReportDocument(QIODevice& device, QString title)
    : m_device(device), m_title(std::move(title)) {}

VectorReportDocument::~VectorReportDocument() {
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

bool VectorReportDocument::startPage() {
    if (!m_device.isOpen() || !m_device.isWritable()) {
        return false;
    }
    if (m_writer) {
        return m_painter.isActive() && m_writer->newPage();
    }
    m_writer = std::make_unique<QPdfWriter>(&m_device);
    // PDF/A-1b: fonts embedded, no transparency, the metadata an archive expects (title and
    // creation date in the document information and its XMP twin).
    m_writer->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    m_writer->setResolution(kResolutionDpi);
    m_writer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    m_writer->setCreator(QStringLiteral("Trellicap"));
    m_writer->setTitle(m_title);
    return m_painter.begin(m_writer.get());
}

bool VectorReportDocument::addPage(const ModelProfile& profile, const ReportSource& source,
                                   const Canvas& plot) {
    ReportCanvases canvases(profile);
    drawAscanBlock(profile, source, canvases.picecho);
    drawSettingsBlock(profile, source, canvases.picsetup);
    drawNoteBlock(profile, source, canvases.picnote);
    drawHeadingBlock(canvases.pichead);
    if (!startPage()) {
        return false;
    }
    // The printed page's order, so that overlapping blocks cover each other the same way.
    drawBlock(m_painter, {kHeadingX, kPageBaseY}, canvases.pichead);
    drawBlock(m_painter, {kAscanX, kBlocksY}, canvases.picecho, &plot);
    drawBlock(m_painter, {kSettingsX, kBlocksY}, canvases.picsetup);
    drawBlock(m_painter, {kNoteX, profile.report.noteY}, canvases.picnote);
    ++m_pages;
    return true;
}

bool VectorReportDocument::addDrawnPage(const std::function<void(QPainter&)>& draw) {
    if (!startPage()) {
        return false;
    }
    m_painter.save();
    draw(m_painter);
    m_painter.restore();
    ++m_pages;
    return true;
}

void VectorReportDocument::drawOnLastPage(const std::function<void(QPainter&)>& draw) {
    if (m_pages > 0 && m_painter.isActive()) {
        m_painter.save();
        draw(m_painter);
        m_painter.restore();
    }
}

bool VectorReportDocument::finish() {
    if (!m_painter.isActive()) {
        return m_writer == nullptr;
    }
    const bool ok = m_painter.end();
    m_writer.reset();
    return ok;
}

}  // namespace trellicap
