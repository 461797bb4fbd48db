#include "cli/job_output.h"

#include <algorithm>

namespace trellicap::cli {

namespace {

QString sectionText(const ReportSection& section) {
    QString text = section.title + QLatin1Char('\n');
    for (const ReportField& field : section.fields) {
        text += QStringLiteral("  %1: %2\n").arg(field.label, field.value);
    }
    for (const QString& line : section.lines) {
        text += QStringLiteral("  %1\n").arg(line);
    }
    return text;
}

}  // namespace

QString alignedTable(const std::vector<QStringList>& rows) {
    std::vector<qsizetype> widths;
    for (const QStringList& row : rows) {
        widths.resize(std::max(widths.size(), static_cast<std::size_t>(row.size())), 0);
        for (qsizetype c = 0; c < row.size(); ++c) {
            widths[static_cast<std::size_t>(c)] =
                std::max(widths[static_cast<std::size_t>(c)], row[c].size());
        }
    }
    QString text;
    for (const QStringList& row : rows) {
        QStringList cells;
        for (qsizetype c = 0; c < row.size(); ++c) {
            cells << (c + 1 == row.size() ? row[c]
                                          : row[c].leftJustified(static_cast<int>(
                                                widths[static_cast<std::size_t>(c)])));
        }
        text += cells.join(QStringLiteral("  ")) + QLatin1Char('\n');
    }
    return text;
}

QString jobText(const JobReportContent& content, const QString& id, int version) {
    QString text = QStringLiteral("Job %1, version %2\n%3\n")
                       .arg(id)
                       .arg(version)
                       .arg(content.jobLine.section(QStringLiteral(" - job "), 0, 0));
    text += content.missing.isEmpty() ? QStringLiteral("Mandatory items: complete\n\n")
                                      : QStringLiteral("Missing mandatory items: %1\n\n")
                                            .arg(content.missing.join(QStringLiteral(", ")));
    for (const ReportSection& section : content.cover) {
        if (section.title != QLatin1String("Draft")) {
            text += sectionText(section) + QLatin1Char('\n');
        }
    }
    text += QStringLiteral("Indications\n");
    if (content.indications.empty()) {
        text += QStringLiteral("  The job holds no records.\n");
    } else {
        std::vector<QStringList> rows{content.indicationHeader};
        rows.insert(rows.end(), content.indications.begin(), content.indications.end());
        for (const QString& line :
             alignedTable(rows).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            text += QStringLiteral("  ") + line + QLatin1Char('\n');
        }
    }
    for (const ReportSection& section : content.closing) {
        text += QLatin1Char('\n') + sectionText(section);
    }
    return text;
}

QString jobListText(const std::vector<inspection::JobListing>& jobs) {
    if (jobs.empty()) {
        return QStringLiteral("No jobs are kept in this archive.\n");
    }
    std::vector<QStringList> rows{
        {QStringLiteral("id"), QStringLiteral("version"), QStringLiteral("model"),
         QStringLiteral("client"), QStringLiteral("order"), QStringLiteral("object"),
         QStringLiteral("records"), QStringLiteral("result"), QStringLiteral("changed")}};
    for (const inspection::JobListing& job : jobs) {
        rows.push_back({job.id.left(8), QString::number(job.version), job.model, job.client,
                        job.order, job.object, QString::number(job.records), job.result,
                        job.changedAt});
    }
    return alignedTable(rows);
}

}  // namespace trellicap::cli
