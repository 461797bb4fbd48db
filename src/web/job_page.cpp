#include "web/job_page.h"

#include <QRegularExpression>

#include "web/html.h"
#include "web/web_models.h"

namespace trellicap::web {

namespace {

QString section(const ReportSection& part) {
    QString html =
        QStringLiteral("<section class=\"job-part\">\n<h2>%1</h2>\n").arg(htmlEscape(part.title));
    if (!part.fields.empty()) {
        html += QStringLiteral("<dl>\n");
        for (const ReportField& field : part.fields) {
            html += QStringLiteral("<div><dt>%1</dt><dd>%2</dd></div>\n")
                        .arg(htmlEscape(field.label), htmlEscape(field.value));
        }
        html += QStringLiteral("</dl>\n");
    }
    for (const QString& line : part.lines) {
        const bool warning = line.startsWith(QLatin1String("Warning: "));
        html += QStringLiteral("<p%1>%2</p>\n")
                    .arg(warning ? QStringLiteral(" class=\"note\"") : QString(), htmlEscape(line));
    }
    return html + QStringLiteral("</section>\n");
}

QString indications(const JobReportContent& content) {
    if (content.indications.empty()) {
        return QStringLiteral("<h2>Indications</h2>\n<p>The job holds no records.</p>\n");
    }
    QString html = QStringLiteral(
        "<section class=\"indications\">\n<h2>Indications</h2>\n<table class=\"results\">\n<tr>");
    for (const QString& cell : content.indicationHeader) {
        html += QStringLiteral("<th>%1</th>").arg(htmlEscape(cell));
    }
    html += QStringLiteral("</tr>\n");
    for (const QStringList& row : content.indications) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : row) {
            html += QStringLiteral("<td>%1</td>").arg(htmlEscape(cell));
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n</section>\n");
}

QString signature(const SignatureBox& box) {
    return QStringLiteral("<div><dt>%1</dt><dd>%2</dd></div>\n")
        .arg(htmlEscape(box.role), htmlEscape(QStringList{box.name, box.certification, box.date}
                                                  .filter(QRegularExpression(QStringLiteral("\\S")))
                                                  .join(QStringLiteral(", "))));
}

// The search for the job's records: by its order number, else its object, else its client.
QString recordsLink(const inspection::Job& job) {
    const QString& key = !job.order.isEmpty()    ? job.order
                         : !job.object.isEmpty() ? job.object
                                                 : job.client;
    if (key.isEmpty()) {
        return {};
    }
    return QStringLiteral("<li><a href=\"/?%1\">Its records in the search</a></li>\n")
        .arg(htmlEscape(queryString({{QStringLiteral("job"), key}})));
}

}  // namespace

QString jobListBody(const std::vector<inspection::JobListing>& jobs) {
    QString html = QStringLiteral("<h1>Jobs</h1>\n");
    if (jobs.empty()) {
        return html + QStringLiteral("<p class=\"count\">The archive holds no jobs.</p>\n");
    }
    html += QStringLiteral("<p class=\"count\">%1 job(s)</p>\n")
                .arg(groupedNumber(static_cast<qint64>(jobs.size())));
    html += QStringLiteral(
        "<table class=\"results jobs\">\n<tr><th>Client</th><th>Order</th><th>Object</th>"
        "<th>Model</th><th>Records</th><th>Result</th><th>Changed</th><th>Version</th></tr>\n");
    for (const inspection::JobListing& job : jobs) {
        const QString link = QStringLiteral("/job/") + job.id;
        html +=
            QStringLiteral(
                "<tr><td><a href=\"%1\">%2</a></td><td>%3</td><td>%4</td><td>%5</td>"
                "<td class=\"num\">%6</td><td>%7</td><td class=\"when\">%8</td>"
                "<td class=\"num\">%9</td></tr>\n")
                .arg(htmlEscape(link),
                     htmlEscape(job.client.isEmpty() ? QStringLiteral("(no client)") : job.client),
                     htmlEscape(job.order), htmlEscape(job.object),
                     htmlEscape(modelName(job.model)))
                .arg(job.records)
                .arg(htmlEscape(job.result), htmlEscape(job.changedAt))
                .arg(job.version);
    }
    return html + QStringLiteral("</table>\n");
}

QString jobPageBody(const inspection::Job& job, const JobReportContent& content) {
    QString html = QStringLiteral("<p class=\"crumbs\"><a href=\"/jobs\">Jobs</a></p>\n");
    html += QStringLiteral("<h1>%1<small>version %2</small></h1>\n")
                .arg(htmlEscape(inspection::jobTitle(job)))
                .arg(job.version);
    // A draft says so in its own first section (the report's cover), with what it lacks.
    html += QStringLiteral(
                "<section class=\"downloads\">\n<ul>\n<li><a href=\"/job/%1/report.pdf\" "
                "download=\"job-%2-v%3.pdf\">Job report (PDF)</a></li>\n%4</ul>\n</section>\n")
                .arg(htmlEscape(job.id), htmlEscape(job.id.left(8)))
                .arg(job.version)
                .arg(recordsLink(job));
    for (const ReportSection& part : content.cover) {
        html += section(part);
    }
    html += indications(content);
    for (const ReportSection& part : content.closing) {
        html += section(part);
    }
    html += QStringLiteral("<section class=\"signatures\">\n<h2>Signatures</h2>\n<dl>\n") +
            signature(content.inspector) + signature(content.reviewer) +
            QStringLiteral("</dl>\n</section>\n");
    return html;
}

}  // namespace trellicap::web
