// A main window stand-in for the report tests: the start-up trace drawn on a plot canvas,
// the panel's design-time texts, readouts and header fields; plus pixel probes.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "display/canvas.h"
#include "profiles/model_profile.h"
#include "report/report_source.h"

namespace trellicap::test {

class FakeReportSource : public ReportSource {
public:
    explicit FakeReportSource(const ModelProfile& profile);

    [[nodiscard]] QImage plotImage(double dpi) const override;
    [[nodiscard]] QString controlText(std::string_view control) const override;

    void set(const std::string& control, const QString& text) { m_texts[control] = text; }
    // The plot canvas the image is drawn from (the vector page draws it as it stands).
    [[nodiscard]] const Canvas& plot() const { return *m_plot; }
    void clearTexts() { m_texts.clear(); }

    // Every control the composer asked for.
    [[nodiscard]] const std::set<std::string>& asked() const { return m_asked; }

private:
    std::unique_ptr<Canvas> m_plot;
    std::map<std::string, QString> m_texts;
    mutable std::set<std::string> m_asked;
};

// Pixels in the rectangle that satisfy the test.
[[nodiscard]] int countDark(const QImage& image, const QRect& area);
[[nodiscard]] int countGreen(const QImage& image, const QRect& area);
[[nodiscard]] int countColour(const QImage& image, const QRect& area, QColor colour);

// The first page of a PDF rendered by pdftoppm at dpi (poppler-utils is one of the test
// dependencies: a missing pdftoppm gives a null image, which the caller's check reports).
[[nodiscard]] QImage renderPdfPage(const QString& pdf, int dpi, const QString& workDir);
// Page `page` (from 1) of a PDF, rendered the same way.
[[nodiscard]] QImage renderPdfPageNumber(const QString& pdf, int page, int dpi,
                                         const QString& workDir);
// The page count pdfinfo (poppler-utils) reads from a PDF; -1 when it cannot read one.
[[nodiscard]] int pdfPageCount(const QString& pdf);

// An image of a PDF as pdfimages -list describes it.
struct PdfImage {
    QString encoding;  // "image" (Flate), "jpeg", ...
    int xPpi = 0;
    int yPpi = 0;
};
// Every image of a PDF; empty when pdfimages (poppler-utils) is missing or fails.
[[nodiscard]] std::vector<PdfImage> listPdfImages(const QString& pdf);

// The centre, in pixels, of the first run of dark pixels met walking from `from` by `step`
// (a row or column scan); -1 when none is met within `limit` steps.
[[nodiscard]] double darkRunCentre(const QImage& image, QPoint from, QPoint step, int limit);

// A 10 x 10 red BMP, standing in for a stale scratch bitmap.
void writeStaleBitmap(const QString& path);

}  // namespace trellicap::test
