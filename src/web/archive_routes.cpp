// The archive's pages and files: the search (/), a record (/record/ID), its downloads
// (/record/ID/report.pdf, table.csv, data.json, record.dat), the pictures of a version (its
// thumbnail /thumb/ID/V.png, its plot /plot/ID/V.svg) and the stylesheet. A record is named by its
// UUID only: whatever else stands in its place is refused before the archive is asked, and no path
// from a request ever reaches a file.
#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>

#include "web/record_page.h"
#include "web/web_models.h"
#include "web/web_state.h"

namespace trellicap::web {

namespace {

bool isRecordId(const QString& text) {
    static const QRegularExpression uuid(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    return uuid.match(text).hasMatch();
}

// ?version=N: nothing when absent, -1 when it is no version number.
std::optional<int> versionParam(const httplib::Request& request) {
    if (!request.has_param("version")) {
        return std::nullopt;
    }
    bool number = false;
    const int version = QString::fromStdString(request.get_param_value("version")).toInt(&number);
    return number && version >= 1 ? version : -1;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text.left(60) +
           (text.size() > 60 ? QStringLiteral("…\"") : QStringLiteral("\""));
}

// The ID and version of the request checked; false when a refusal was sent.
bool readKey(WebState& state, const httplib::Request& request, httplib::Response& response,
             QString* uuid, std::optional<int>* version) {
    *uuid = QString::fromStdString(request.matches[1]).toLower();
    if (!isRecordId(*uuid)) {
        sendMessage(state, request, response, 400, QStringLiteral("No such record"),
                    QStringLiteral("%1 is not a record ID (a record is named by its UUID, such "
                                   "as 1a2b3c4d-0000-4000-8000-000000000000).")
                        .arg(quoted(QString::fromStdString(request.matches[1]))));
        return false;
    }
    *version = versionParam(request);
    if (*version && **version < 1) {
        sendMessage(state, request, response, 400, QStringLiteral("No such version"),
                    QStringLiteral("%1 is not a version number.")
                        .arg(quoted(QString::fromStdString(request.get_param_value("version")))));
        return false;
    }
    return true;
}

void archiveFailed(WebState& state, const httplib::Request& request, httplib::Response& response,
                   const QString& error) {
    response.set_header("Retry-After", "10");
    sendMessage(state, request, response, 503, QStringLiteral("The archive cannot be read"), error);
}

void notFound(WebState& state, const httplib::Request& request, httplib::Response& response,
              const QString& uuid, std::optional<int> version) {
    sendMessage(state, request, response, 404, QStringLiteral("No such record"),
                version ? QStringLiteral("The archive holds no version %1 of record %2.")
                              .arg(*version)
                              .arg(uuid)
                        : QStringLiteral("The archive holds no record %1.").arg(uuid));
}

QueryParams paramsOf(const httplib::Request& request) {
    QueryParams params;
    for (const auto& [name, value] : request.params) {
        params.emplace(QString::fromStdString(name), QString::fromStdString(value));
    }
    return params;
}

void searchRoute(WebState& state, const httplib::Request& request, httplib::Response& response) {
    const SearchRequest search = readSearchRequest(paramsOf(request));
    std::optional<SearchResults> results;
    QString failure;
    if (search.errors.isEmpty()) {
        results = state.reader.search(search, &failure);
    }
    const int status = !search.errors.isEmpty() ? 400 : !failure.isEmpty() ? 503 : 200;
    sendPage(response, status,
             htmlPage(contextOf(state, request), QStringLiteral("Search"),
                      searchPageBody(search, results, failure)));
}

void recordRoute(WebState& state, const httplib::Request& request, httplib::Response& response) {
    QString uuid;
    std::optional<int> version;
    if (!readKey(state, request, response, &uuid, &version)) {
        return;
    }
    QString error;
    const auto read = state.reader.record(uuid, version, &error);
    if (!read) {
        error.isEmpty() ? notFound(state, request, response, uuid, version)
                        : archiveFailed(state, request, response, error);
        return;
    }
    const archive::KeptVersion& kept = read->history[read->shown].kept;
    const ModelProfile* profile = profileByKey(kept.model);
    if (!profile) {
        archiveFailed(state, request, response, QStringLiteral("unknown model"));
        return;
    }
    const KeptRecord record(*profile, read->values, kept.slot, kept.uuid, kept.version);
    RecordPageData data{read->history, read->shown, {}, state.config.teamServer};
    if (!state.config.teamServer) {
        data.localArchive = state.reader.localIdentity();
    }
    sendPage(response, 200,
             htmlPage(contextOf(state, request),
                      QStringLiteral("Mem %1, %2").arg(kept.slot).arg(kept.uuid.left(8)),
                      recordPageBody(data, record)));
}

void downloadRoute(WebState& state, const httplib::Request& request, httplib::Response& response) {
    QString uuid;
    std::optional<int> version;
    if (!readKey(state, request, response, &uuid, &version)) {
        return;
    }
    const std::string what = request.matches[2];
    const DownloadKind kind = what == "report.pdf"  ? DownloadKind::Pdf
                              : what == "table.csv" ? DownloadKind::Csv
                              : what == "data.json" ? DownloadKind::Json
                                                    : DownloadKind::RecordFile;
    QString error;
    const auto read = state.reader.version(uuid, version, &error);
    if (!read) {
        error.isEmpty() ? notFound(state, request, response, uuid, version)
                        : archiveFailed(state, request, response, error);
        return;
    }
    const ModelProfile* profile = profileByKey(read->kept.model);
    const KeptRecord record(*profile, read->values, read->kept.slot, read->kept.uuid,
                            read->kept.version);
    const auto made = record.download(kind, &error);
    if (!made) {
        sendMessage(state, request, response, 500, QStringLiteral("Failure"),
                    QStringLiteral("The download could not be made: %1.").arg(error));
        return;
    }
    response.set_header("Content-Disposition",
                        "attachment; filename=\"" + made->fileName.toStdString() + "\"");
    response.set_header("Cache-Control", "private, no-cache");
    response.set_content(made->bytes.constData(), static_cast<std::size_t>(made->bytes.size()),
                         made->contentType.toStdString());
}

enum class Picture { Thumbnail, Plot };

// A version's picture: the thumbnail of the results (PNG) or the record page's plot (SVG),
// drawn once and kept; a version's values never change, and so neither do its pictures.
void pictureRoute(WebState& state, const httplib::Request& request, httplib::Response& response,
                  Picture kind) {
    const QString uuid = QString::fromStdString(request.matches[1]).toLower();
    bool number = false;
    const int version = QString::fromStdString(request.matches[2]).toInt(&number);
    if (!isRecordId(uuid) || !number || version < 1) {
        sendMessage(state, request, response, 400, QStringLiteral("No such record"),
                    QStringLiteral("That is not a record ID and version."));
        return;
    }
    const QString key = uuid + QLatin1Char('/') + QString::number(version);
    const std::string etag =
        "\"" + key.toStdString() + (kind == Picture::Thumbnail ? "-t\"" : "-p\"");
    response.set_header("ETag", etag);
    response.set_header("Cache-Control", "private, max-age=31536000, immutable");
    if (request.get_header_value("If-None-Match") == etag) {
        response.status = 304;
        return;
    }
    PictureCache& cache = kind == Picture::Thumbnail ? state.thumbnails : state.plots;
    std::optional<QByteArray> picture = cache.find(key);
    if (!picture) {
        QString error;
        const auto read = state.reader.version(uuid, version, &error);
        if (!read) {
            response.set_header("Cache-Control", "no-store");
            error.isEmpty() ? notFound(state, request, response, uuid, version)
                            : archiveFailed(state, request, response, error);
            return;
        }
        const ModelProfile* profile = profileByKey(read->kept.model);
        const KeptRecord record(*profile, read->values, read->kept.slot, uuid, version);
        picture = kind == Picture::Thumbnail ? record.plotPng(kThumbnailScale)
                                             : std::optional<QByteArray>(record.plotSvg());
        if (!picture || picture->isEmpty()) {
            response.set_header("Cache-Control", "no-store");
            sendMessage(state, request, response, 500, QStringLiteral("Failure"),
                        QStringLiteral("The picture could not be drawn."));
            return;
        }
        cache.insert(key, *picture);
    }
    response.set_content(picture->constData(), static_cast<std::size_t>(picture->size()),
                         kind == Picture::Thumbnail ? "image/png" : "image/svg+xml");
}

void stylesheetRoute(const httplib::Request& request, httplib::Response& response) {
    static const QByteArray css = [] {
        QFile file(QStringLiteral(":/web/style.css"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    static const std::string etag =
        "\"" +
        QCryptographicHash::hash(css, QCryptographicHash::Sha256).toHex().left(16).toStdString() +
        "\"";
    response.set_header("ETag", etag);
    response.set_header("Cache-Control", "max-age=3600");
    if (request.get_header_value("If-None-Match") == etag) {
        response.status = 304;
        return;
    }
    response.set_content(css.constData(), static_cast<std::size_t>(css.size()),
                         "text/css; charset=utf-8");
}

}  // namespace

void addArchiveRoutes(httplib::Server& server, WebState& state) {
    server.Get("/", [&state](const httplib::Request& request, httplib::Response& response) {
        searchRoute(state, request, response);
    });
    server.Get("/static/style.css", stylesheetRoute);
    server.Get(R"(/thumb/([^/]+)/([0-9]{1,9})\.png)",
               [&state](const httplib::Request& request, httplib::Response& response) {
                   pictureRoute(state, request, response, Picture::Thumbnail);
               });
    server.Get(R"(/plot/([^/]+)/([0-9]{1,9})\.svg)",
               [&state](const httplib::Request& request, httplib::Response& response) {
                   pictureRoute(state, request, response, Picture::Plot);
               });
    server.Get(R"(/record/([^/]+)/(report\.pdf|table\.csv|data\.json|record\.dat))",
               [&state](const httplib::Request& request, httplib::Response& response) {
                   downloadRoute(state, request, response);
               });
    // Anything after /record/ that is not a download: an ID (checked), or a refusal.
    server.Get(R"(/record/(.+))",
               [&state](const httplib::Request& request, httplib::Response& response) {
                   recordRoute(state, request, response);
               });
}

}  // namespace trellicap::web
