#include "web/page_frame.h"

#include "web/html.h"

namespace trellicap::web {

QByteArray htmlPage(const PageContext& context, const QString& title, const QString& body) {
    return htmlPage(context, title, body.toUtf8());
}

QByteArray htmlPage(const PageContext& context, const QString& title, const QByteArray& body) {
    QString page =
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>%1 — Trellicap archive</title>\n"
            "<link rel=\"stylesheet\" href=\"/static/style.css\">\n"
            "<link rel=\"icon\" href=\"data:,\">\n</head>\n<body>\n"
            "<header class=\"bar\">\n<a class=\"home\" href=\"/\">Trellicap archive</a>\n"
            "<nav><a href=\"/\">Records</a> <a href=\"/jobs\">Jobs</a></nav>\n"
            "<span class=\"archive\">%2</span>\n")
            .arg(htmlEscape(title), htmlEscape(context.archiveLabel));
    if (!context.user.isEmpty()) {
        page += QStringLiteral(
                    "<form class=\"logout\" method=\"post\" action=\"/logout\">"
                    "<span class=\"user\">%1</span> <button type=\"submit\">Log out</button>"
                    "</form>\n")
                    .arg(htmlEscape(context.user));
    }
    page += QStringLiteral("</header>\n<main>\n");
    return page.toUtf8() + body + QByteArrayLiteral("</main>\n</body>\n</html>\n");
}

}  // namespace trellicap::web
