// The job pages: the list (/jobs), one job (/job/UUID) and its report (/job/UUID/report.pdf),
// the job named by its UUID only, checked before the archive is asked.
#include <QDate>
#include <QRegularExpression>

#include "report/export_job.h"
#include "web/job_page.h"
#include "web/kept_record.h"
#include "web/web_models.h"
#include "web/web_state.h"

namespace trellicap::web {

namespace {

struct JobShown {
    JobRead read;
    const ModelProfile* profile = nullptr;
    JobReportContent content;
};

// The job the request names, with its report's content; nothing when a refusal was sent.
std::optional<JobShown> jobOfRequest(WebState& state, const httplib::Request& request,
                                     httplib::Response& response) {
    static const QRegularExpression uuidPattern(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    const QString uuid = QString::fromStdString(request.matches[1]).toLower();
    if (!uuidPattern.match(uuid).hasMatch()) {
        sendMessage(state, request, response, 400, QStringLiteral("No such job"),
                    QStringLiteral("That is not a job ID (a job is named by its UUID)."));
        return std::nullopt;
    }
    QString error;
    auto read = state.jobs.job(uuid, &error);
    if (!read) {
        if (error.isEmpty()) {
            sendMessage(state, request, response, 404, QStringLiteral("No such job"),
                        QStringLiteral("The archive holds no job %1.").arg(uuid));
        } else {
            response.set_header("Retry-After", "10");
            sendMessage(state, request, response, 503, QStringLiteral("The archive cannot be read"),
                        error);
        }
        return std::nullopt;
    }
    // A job without records has no model yet: its report is the job's own pages.
    const ModelProfile* profile =
        read->job.model.isEmpty() ? webModels().front() : profileByKey(read->job.model);
    if (!profile) {
        sendMessage(state, request, response, 500, QStringLiteral("Failure"),
                    QStringLiteral("The job's model \"%1\" is not one this viewer knows.")
                        .arg(read->job.model));
        return std::nullopt;
    }
    JobShown shown{std::move(*read), profile, {}};
    shown.content =
        jobReportContent(*profile, shown.read.job, shown.read.equipment, QDate::currentDate());
    return shown;
}

void jobListRoute(WebState& state, const httplib::Request& request, httplib::Response& response) {
    QString error;
    const auto jobs = state.jobs.jobs(&error);
    if (!jobs) {
        response.set_header("Retry-After", "10");
        sendMessage(state, request, response, 503, QStringLiteral("The archive cannot be read"),
                    error);
        return;
    }
    sendPage(response, 200,
             htmlPage(contextOf(state, request), QStringLiteral("Jobs"), jobListBody(*jobs)));
}

void jobRoute(WebState& state, const httplib::Request& request, httplib::Response& response) {
    const auto shown = jobOfRequest(state, request, response);
    if (shown) {
        sendPage(response, 200,
                 htmlPage(contextOf(state, request), inspection::jobTitle(shown->read.job),
                          jobPageBody(shown->read.job, shown->content)));
    }
}

// The report as trellicap-cli job report --draft writes it (DRAFT on every page of a job that
// lacks mandatory items: the office reads it as it stands).
void jobReportRoute(WebState& state, const httplib::Request& request, httplib::Response& response) {
    auto shown = jobOfRequest(state, request, response);
    if (!shown) {
        return;
    }
    const inspection::Job& job = shown->read.job;
    RecordStore store(*shown->profile);
    store.initMemoryTable();
    QString error;
    const auto bytes = exportedBytes(
        store, jobReportRequest(job, std::make_shared<JobReportContent>(std::move(shown->content))),
        &error);
    if (!bytes) {
        sendMessage(state, request, response, 500, QStringLiteral("Failure"),
                    QStringLiteral("The report could not be made: %1.").arg(error));
        return;
    }
    const std::string name =
        QStringLiteral("job-%1-v%2.pdf").arg(job.id.left(8)).arg(job.version).toStdString();
    response.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
    response.set_header("Cache-Control", "private, no-cache");
    response.set_content(bytes->constData(), static_cast<std::size_t>(bytes->size()),
                         "application/pdf");
}

}  // namespace

void addJobRoutes(httplib::Server& server, WebState& state) {
    server.Get("/jobs", [&state](const httplib::Request& request, httplib::Response& response) {
        jobListRoute(state, request, response);
    });
    server.Get(R"(/job/([^/]+)/report\.pdf)",
               [&state](const httplib::Request& request, httplib::Response& response) {
                   jobReportRoute(state, request, response);
               });
    server.Get(R"(/job/([^/]+))",
               [&state](const httplib::Request& request, httplib::Response& response) {
                   jobRoute(state, request, response);
               });
}

}  // namespace trellicap::web
