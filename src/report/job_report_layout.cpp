#include "report/job_report_layout.h"

#include <QFontMetricsF>
#include <algorithm>
#include <array>

#include "report/report_fonts.h"

namespace trellicap {

namespace {

constexpr double kLeft = 42;
constexpr double kRight = kJobPageWidth - 42;
constexpr double kTop = 56;
constexpr double kBottom = kJobPageHeight - 56;
constexpr double kHeaderY = 26;
constexpr double kFooterY = kJobPageHeight - 40;
constexpr double kBody = 9;
constexpr double kSmall = 7.5;
constexpr double kSectionSize = 10.5;
constexpr double kTitleSize = 15;
constexpr double kLabelWidth = 150;
constexpr double kCellPad = 2;
constexpr double kSignatureHeight = 96;

// The indication table's columns, in points; they fill the width between the margins.
constexpr std::array<double, 11> kColumns = {22, 92, 26, 34, 36, 40, 32, 78, 38, 55, 58};

double lineHeight(double size) {
    return size * 1.25;
}

// Flows blocks down the pages; a block that does not fit starts a new page.
class Flow {
public:
    explicit Flow(std::vector<JobPage>& pages) : m_pages(pages) { newPage(); }

    double y() const { return m_y; }
    JobPage& page() { return m_pages.back(); }
    // Room for `height` more on this page, else a new one.
    void need(double height) {
        if (m_y + height > kBottom && m_y > kTop) {
            newPage();
        }
    }
    void advance(double height) { m_y += height; }
    void newPage() {
        m_pages.emplace_back();
        m_y = kTop;
    }
    void text(double x, double width, const QString& text, double size, bool bold,
              bool right = false) {
        page().texts.push_back({QPointF(x, m_y), width, text, size, bold, right});
    }
    void line(double x1, double y1, double x2, double y2) {
        page().lines.emplace_back(QPointF(x1, y1), QPointF(x2, y2));
    }

private:
    std::vector<JobPage>& m_pages;
    double m_y = kTop;
};

void paragraph(Flow& flow, const QString& text, double size, bool bold, double x = kLeft) {
    for (const QString& line : wrapText(text, kRight - x, size, bold)) {
        flow.need(lineHeight(size));
        flow.text(x, kRight - x, line, size, bold);
        flow.advance(lineHeight(size));
    }
}

void sectionTitle(Flow& flow, const QString& title) {
    // A title never stands alone at the foot of a page.
    flow.need(lineHeight(kSectionSize) + 3 * lineHeight(kBody));
    flow.advance(6);
    flow.text(kLeft, kRight - kLeft, title, kSectionSize, true);
    flow.advance(lineHeight(kSectionSize));
    flow.line(kLeft, flow.y(), kRight, flow.y());
    flow.advance(3);
}

void section(Flow& flow, const ReportSection& section) {
    sectionTitle(flow, section.title);
    const double valueX = kLeft + kLabelWidth;
    for (const ReportField& field : section.fields) {
        const QStringList lines = wrapText(field.value, kRight - valueX, kBody, false);
        flow.need(lineHeight(kBody) * static_cast<double>(lines.size()));
        flow.text(kLeft, kLabelWidth - 6, field.label, kBody, false);
        for (const QString& line : lines) {
            flow.text(valueX, kRight - valueX, line, kBody, false);
            flow.advance(lineHeight(kBody));
        }
    }
    for (const QString& line : section.lines) {
        paragraph(flow, line, kBody, false);
    }
}

std::vector<QStringList> cellLines(const QStringList& cells, bool bold) {
    std::vector<QStringList> lines;
    for (qsizetype c = 0; c < cells.size() && c < static_cast<qsizetype>(kColumns.size()); ++c) {
        lines.push_back(
            wrapText(cells[c], kColumns[static_cast<std::size_t>(c)] - 2 * kCellPad, kSmall, bold));
    }
    return lines;
}

double rowHeight(const std::vector<QStringList>& lines) {
    qsizetype most = 1;
    for (const QStringList& cell : lines) {
        most = std::max(most, cell.size());
    }
    return lineHeight(kSmall) * static_cast<double>(most) + 2 * kCellPad;
}

void tableRow(Flow& flow, const std::vector<QStringList>& lines, bool bold) {
    const double top = flow.y();
    const double height = rowHeight(lines);
    double x = kLeft;
    for (std::size_t c = 0; c < lines.size(); ++c) {
        double y = top + kCellPad;
        for (const QString& line : lines[c]) {
            flow.page().texts.push_back(
                {QPointF(x + kCellPad, y), kColumns[c] - 2 * kCellPad, line, kSmall, bold});
            y += lineHeight(kSmall);
        }
        x += kColumns[c];
    }
    flow.line(kLeft, top + height, kRight, top + height);
    flow.advance(height);
}

void indicationTable(Flow& flow, const JobReportContent& content) {
    sectionTitle(flow, QStringLiteral("Indications"));
    const auto header = cellLines(content.indicationHeader, true);
    const auto heading = [&flow, &header] {
        flow.line(kLeft, flow.y(), kRight, flow.y());
        tableRow(flow, header, true);
    };
    if (content.indications.empty()) {
        paragraph(flow, QStringLiteral("The job holds no records."), kBody, false);
        return;
    }
    flow.need(rowHeight(header) + lineHeight(kSmall) * 2);
    heading();
    for (const QStringList& row : content.indications) {
        const auto lines = cellLines(row, false);
        if (flow.y() + rowHeight(lines) > kBottom) {
            flow.newPage();
            heading();
        }
        tableRow(flow, lines, false);
    }
}

void signatureBox(Flow& flow, double x, double width, const SignatureBox& box) {
    const double top = flow.y();
    flow.line(x, top, x + width, top);
    flow.line(x, top + kSignatureHeight, x + width, top + kSignatureHeight);
    flow.line(x, top, x, top + kSignatureHeight);
    flow.line(x + width, top, x + width, top + kSignatureHeight);
    const std::array<QString, 5> lines = {
        box.role, QStringLiteral("Name: %1").arg(box.name),
        QStringLiteral("Certification: %1").arg(box.certification),
        QStringLiteral("Date: %1").arg(box.date), QStringLiteral("Signature:")};
    double y = top + 4;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        flow.page().texts.push_back({QPointF(x + 6, y), width - 12, lines[i], kBody, i == 0});
        y += i == 2 ? lineHeight(kBody) * 2 : lineHeight(kBody) * 1.4;
    }
}

void signatures(Flow& flow, const JobReportContent& content) {
    flow.need(kSignatureHeight + 16);
    flow.advance(12);
    const double width = (kRight - kLeft - 20) / 2;
    signatureBox(flow, kLeft, width, content.inspector);
    signatureBox(flow, kLeft + width + 20, width, content.reviewer);
    flow.advance(kSignatureHeight);
}

QFont measuringFont(double size, bool bold) {
    registerReportFonts();
    // Measured a hundred times larger, in pixels, so that hinting plays no part.
    QFont font = reportFont(QStringLiteral("Arial"), size, bold);
    font.setPixelSize(static_cast<int>(size * 100));
    return font;
}

}  // namespace

double reportTextWidth(const QString& text, double size, bool bold) {
    static const QFontMetricsF regular(measuringFont(1, false));
    static const QFontMetricsF heavy(measuringFont(1, true));
    return (bold ? heavy : regular).horizontalAdvance(text) / 100.0 * size;
}

QStringList wrapText(const QString& text, double width, double size, bool bold) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (reportTextWidth(joined, size, bold) <= width || line.isEmpty()) {
            line = joined;
        } else {
            lines << line;
            line = word;
        }
        // A word longer than the line is cut where it fills it.
        while (reportTextWidth(line, size, bold) > width && line.size() > 1) {
            qsizetype fits = line.size() - 1;
            while (fits > 1 && reportTextWidth(line.left(fits), size, bold) > width) {
                --fits;
            }
            lines << line.left(fits);
            line = line.mid(fits);
        }
    }
    lines << line;
    return lines;
}

std::vector<JobPage> layoutJobReport(const JobReportContent& content) {
    std::vector<JobPage> pages;
    Flow flow(pages);
    flow.text(kLeft, kRight - kLeft, content.title, kTitleSize, true);
    flow.advance(lineHeight(kTitleSize) + 4);
    for (const ReportSection& part : content.cover) {
        section(flow, part);
    }
    indicationTable(flow, content);
    for (const ReportSection& part : content.closing) {
        section(flow, part);
    }
    signatures(flow, content);

    const int count = static_cast<int>(pages.size());
    for (int n = 0; n < count; ++n) {
        JobPage& page = pages[static_cast<std::size_t>(n)];
        page.texts.push_back(
            {QPointF(kLeft, kHeaderY), kRight - kLeft - 90, content.jobLine, kSmall, false});
        if (content.draft()) {
            page.texts.push_back({QPointF(kRight - 90, kHeaderY - 6), 90, QStringLiteral("DRAFT"),
                                  kTitleSize, true, true});
        }
        page.lines.emplace_back(QPointF(kLeft, kHeaderY + 14), QPointF(kRight, kHeaderY + 14));
        page.texts.push_back({QPointF(kLeft, kFooterY), 300,
                              QStringLiteral("Made %1 with Trellicap; %2 record page(s) follow")
                                  .arg(content.madeOn)
                                  .arg(content.records),
                              kSmall, false});
        page.texts.push_back({QPointF(kRight - 120, kFooterY), 120,
                              QStringLiteral("Page %1 of %2").arg(n + 1).arg(count), kBody, false,
                              true});
    }
    return pages;
}

}  // namespace trellicap
