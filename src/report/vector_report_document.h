// Report pages as lines and real text: the canvases of the printed page (the same blocks, the
// same positions, the same fonts) rendered straight into one PDF/A-1b document, the A-scan
// drawn from the plot canvas itself rather than from a bitmap of it. A reader can search the
// pages and copy a value off them; the fonts travel inside the file.
#pragma once

#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <functional>
#include <memory>

#include "display/canvas.h"
#include "profiles/model_profile.h"
#include "report/report_source.h"

namespace trellicap {

// The document's title: the record file's name and the slots, "shift-12.dat, Mem 1-3, 7";
// "Mem" alone names the record shown when no slot is given.
[[nodiscard]] QString vectorReportTitle(const QString& fileName, const QList<int>& numbers);

class VectorReportDocument {
public:
    // The resolution of the page's coordinates: fine enough that every line and letter sits
    // where the printed page puts it.
    static constexpr int kResolutionDpi = 1200;

    // The device must be open for writing (a QSaveFile, so that a run that fails part-way
    // leaves no half document under the final name); the document starts with the first page.
    VectorReportDocument(QIODevice& device, QString title);
    ~VectorReportDocument();
    VectorReportDocument(const VectorReportDocument&) = delete;
    VectorReportDocument& operator=(const VectorReportDocument&) = delete;

    // One A4 page of the record `source` shows, its A-scan from `plot`; false when the page
    // could not be started.
    bool addPage(const ModelProfile& profile, const ReportSource& source, const Canvas& plot);
    // One A4 page of the caller's own drawing, in the page's coordinates (kResolutionDpi, the
    // top-left corner of the sheet at 0, 0); false when the page could not be started.
    bool addDrawnPage(const std::function<void(QPainter&)>& draw);
    // Draws onto the page added last (a mark beside a report page's blocks).
    void drawOnLastPage(const std::function<void(QPainter&)>& draw);
    // Ends the document and writes its last bytes; false when writing failed. A document
    // without a page writes nothing.
    [[nodiscard]] bool finish();
    [[nodiscard]] int pages() const { return m_pages; }

private:
    bool startPage();

    QIODevice& m_device;
    QString m_title;
    int m_pages = 0;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;  // declared after the writer: ends before the writer goes
};

}  // namespace trellicap
