#include "web/simple_pages.h"

#include "web/html.h"

namespace trellicap::web {

QString loginPageBody(const QString& problem, const QString& user, const QString& next) {
    QString html = QStringLiteral("<h1>Log in</h1>\n");
    if (!problem.isEmpty()) {
        html += QStringLiteral("<div class=\"errors\" role=\"alert\"><p>%1</p></div>\n")
                    .arg(htmlEscape(problem));
    }
    html += QStringLiteral(
                "<form class=\"login\" method=\"post\" action=\"/login\">\n"
                "<label>User <input name=\"user\" autocomplete=\"username\" required "
                "maxlength=\"64\" value=\"%1\"></label>\n"
                "<label>Password <input type=\"password\" name=\"password\" "
                "autocomplete=\"current-password\" required maxlength=\"1024\"></label>\n"
                "<input type=\"hidden\" name=\"next\" value=\"%2\">\n"
                "<button type=\"submit\">Log in</button>\n</form>\n")
                .arg(htmlEscape(user), htmlEscape(next));
    return html;
}

QString messagePageBody(const QString& heading, const QString& text) {
    return QStringLiteral(
               "<h1>%1</h1>\n<p class=\"message\">%2</p>\n<p><a href=\"/\">Search "
               "the records</a></p>\n")
        .arg(htmlEscape(heading), htmlEscape(text));
}

}  // namespace trellicap::web
