#include "web/search_page.h"

#include <QFileInfo>

#include "display/canvas.h"
#include "inspection/job.h"
#include "report/slot_view.h"
#include "web/html.h"
#include "web/web_models.h"

namespace trellicap::web {

namespace {

QString option(const QString& value, const QString& label, const QString& chosen) {
    return QStringLiteral("<option value=\"%1\"%2>%3</option>")
        .arg(htmlEscape(value), value == chosen ? QStringLiteral(" selected") : QString(),
             htmlEscape(label));
}

QString form(const SearchForm& form) {
    QString html =
        QStringLiteral("<form class=\"search\" method=\"get\" action=\"/\" role=\"search\">\n");
    html += QStringLiteral(
                "<label class=\"text\">Text <input type=\"search\" name=\"q\" maxlength=\"%1\" "
                "value=\"%2\" placeholder=\"header fields, record file names\"></label>\n")
                .arg(kLongestSearchText)
                .arg(htmlEscape(form.text));
    html += QStringLiteral(
                "<label>From <input type=\"date\" name=\"from\" value=\"%1\"></label>\n"
                "<label>To <input type=\"date\" name=\"to\" value=\"%2\"></label>\n")
                .arg(htmlEscape(form.from), htmlEscape(form.to));
    html += QStringLiteral(
                "<label>Mem <input type=\"number\" name=\"slot\" min=\"1\" max=\"%1\" "
                "value=\"%2\"></label>\n")
                .arg(kSlotCount)
                .arg(htmlEscape(form.slot));
    html += QStringLiteral("<label>Model <select name=\"model\">") +
            option(QString(), QStringLiteral("any"), form.model);
    for (const ModelProfile* profile : webModels()) {
        const QString key = QString::fromLatin1(profile->modelKey.data(),
                                                static_cast<qsizetype>(profile->modelKey.size()));
        html += option(key, modelName(key), form.model);
    }
    html += QStringLiteral("</select></label>\n<label>Origin <select name=\"source\">") +
            option(QString(), QStringLiteral("any"), form.source);
    for (const char* source : {"capture", "unsolicited", "file", "restore", "edit"}) {
        html += option(QString::fromLatin1(source), QString::fromLatin1(source), form.source);
    }
    html += QStringLiteral("</select></label>\n");
    html += QStringLiteral(
                "<label>Job <input type=\"search\" name=\"job\" maxlength=\"%1\" "
                "value=\"%2\" placeholder=\"client, order, object\"></label>\n")
                .arg(kLongestSearchText)
                .arg(htmlEscape(form.job));
    html += QStringLiteral("<label>Result <select name=\"result\">") +
            option(QString(), QStringLiteral("any"), form.result);
    for (const inspection::Result result :
         {inspection::Result::Reject, inspection::Result::Acceptable,
          inspection::Result::BelowRecordingLevel, inspection::Result::NoIndication,
          inspection::Result::OutsideDac}) {
        const QString text = inspection::resultText(result);
        html += option(text, text, form.result);
    }
    html += QStringLiteral("</select></label>\n");
    html += QStringLiteral(
                "<label class=\"check\"><input type=\"checkbox\" name=\"all\" "
                "value=\"1\"%1> All versions</label>\n")
                .arg(form.allVersions ? QStringLiteral(" checked") : QString());
    if (form.sort != QLatin1String("arrived") || form.ascending) {
        html += QStringLiteral("<input type=\"hidden\" name=\"sort\" value=\"%1\">")
                    .arg(htmlEscape(form.sort));
        html += QStringLiteral("<input type=\"hidden\" name=\"dir\" value=\"%1\">")
                    .arg(form.ascending ? QStringLiteral("asc") : QStringLiteral("desc"));
    }
    if (form.pageSize != kDefaultPageSize) {
        html +=
            QStringLiteral("<input type=\"hidden\" name=\"size\" value=\"%1\">").arg(form.pageSize);
    }
    html += QStringLiteral("<button type=\"submit\">Search</button>\n</form>\n");
    return html;
}

// A heading that sorts by its column: a second click turns the order round.
QString heading(const SearchForm& form, const QString& label, const QString& sort) {
    if (sort.isEmpty()) {
        return QStringLiteral("<th scope=\"col\">%1</th>").arg(htmlEscape(label));
    }
    const bool current = form.sort == sort;
    // Newest arrival first is what an office wants first; the other columns start ascending.
    const bool ascending = current ? !form.ascending : sort != QLatin1String("arrived");
    const QString mark = !current         ? QString()
                         : form.ascending ? QStringLiteral(" ▲")
                                          : QStringLiteral(" ▼");
    return QStringLiteral("<th scope=\"col\"%1><a href=\"%2\">%3%4</a></th>")
        .arg(current ? QStringLiteral(" aria-sort=\"%1\"")
                           .arg(form.ascending ? QStringLiteral("ascending")
                                               : QStringLiteral("descending"))
                     : QString(),
             htmlEscape(sortLink(form, sort, ascending)), htmlEscape(label), mark);
}

QString recordLink(const archive::KeptVersion& kept) {
    return QStringLiteral("/record/%1?version=%2").arg(kept.uuid).arg(kept.version);
}

QString gates(const archive::KeptVersion& kept) {
    QStringList on;
    if (!kept.gate1.isEmpty()) {
        on.append(QStringLiteral("1: ") + kept.gate1);
    }
    if (!kept.gate2.isEmpty()) {
        on.append(QStringLiteral("2: ") + kept.gate2);
    }
    return on.join(QStringLiteral(", "));
}

QString row(const archive::KeptVersion& kept) {
    static const QSize thumb = Canvas(kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point)
                                   .sizePixels(kScreenDpi * kThumbnailScale);
    QString html = QStringLiteral("<tr>");
    html += QStringLiteral(
                "<td class=\"thumb\"><a href=\"%1\"><img src=\"/thumb/%2/%3.png\" width=\"%4\" "
                "height=\"%5\" loading=\"lazy\" alt=\"A-scan of Mem %6\"></a></td>")
                .arg(htmlEscape(recordLink(kept)), htmlEscape(kept.uuid))
                .arg(kept.version)
                .arg(thumb.width())
                .arg(thumb.height())
                .arg(kept.slot);
    html += QStringLiteral("<td class=\"when\"><a href=\"%1\">%2</a></td>")
                .arg(htmlEscape(recordLink(kept)), timeElement(kept.arrived));
    html += QStringLiteral("<td>%1</td><td class=\"num\">%2</td><td class=\"num\">%3</td>")
                .arg(htmlEscape(modelName(kept.model)))
                .arg(kept.slot)
                .arg(kept.version);
    html += QStringLiteral("<td>%1</td><td class=\"when\">%2</td><td class=\"header\">%3</td>")
                .arg(htmlEscape(originText(kept.source, kept.path)),
                     kept.timeDate.isEmpty() ? QString() : timeElement(kept.timeDate),
                     htmlEscape(headerLine(kept)));
    html += QStringLiteral(
                "<td class=\"num\">%1</td><td class=\"num\">%2</td>"
                "<td class=\"num\">%3</td><td>%4</td>")
                .arg(htmlEscape(kept.range), htmlEscape(kept.delay), htmlEscape(kept.gain),
                     htmlEscape(gates(kept)));
    html += QStringLiteral("</tr>\n");
    return html;
}

QString pager(const SearchRequest& request, qint64 pages) {
    const qint64 page = request.page;
    const auto link = [&request](qint64 to, const QString& label, const QString& rel) {
        return QStringLiteral("<a href=\"%1\"%2>%3</a>")
            .arg(htmlEscape(searchLink(request.form, to)),
                 rel.isEmpty() ? QString() : QStringLiteral(" rel=\"%1\"").arg(rel),
                 htmlEscape(label));
    };
    const auto inactive = [](const QString& label) {
        return QStringLiteral("<span class=\"off\">%1</span>").arg(htmlEscape(label));
    };
    QString html = QStringLiteral("<nav class=\"pager\" aria-label=\"Pages\">");
    html += page > 1 ? link(1, QStringLiteral("« First"), QString()) +
                           link(page - 1, QStringLiteral("‹ Previous"), QStringLiteral("prev"))
                     : inactive(QStringLiteral("« First")) + inactive(QStringLiteral("‹ Previous"));
    html += QStringLiteral("<span class=\"where\">Page %1 of %2</span>")
                .arg(groupedNumber(page), groupedNumber(pages));
    html += page < pages ? link(page + 1, QStringLiteral("Next ›"), QStringLiteral("next")) +
                               link(pages, QStringLiteral("Last »"), QString())
                         : inactive(QStringLiteral("Next ›")) + inactive(QStringLiteral("Last »"));
    html += QStringLiteral("</nav>\n");
    return html;
}

}  // namespace

QString timeElement(const QString& iso) {
    QString shown = iso;
    if (shown.size() >= 19 && shown.at(10) == QLatin1Char('T')) {
        shown = shown.left(10) + QLatin1Char(' ') + shown.mid(11, 8);
    }
    return QStringLiteral("<time datetime=\"%1\">%2</time>")
        .arg(htmlEscape(iso), htmlEscape(shown));
}

QString headerLabel(const QString& model, const QString& control) {
    if (const ModelProfile* profile = profileByKey(model)) {
        for (const HeaderField& field : profile->headerFields) {
            if (control ==
                QLatin1String(field.control.data(), static_cast<qsizetype>(field.control.size()))) {
                QString label = QString::fromLatin1(field.label.data(),
                                                    static_cast<qsizetype>(field.label.size()));
                // The window's labels run out in dots towards their boxes.
                while (label.endsWith(QLatin1Char('.')) || label.endsWith(QLatin1Char(' '))) {
                    label.chop(1);
                }
                return label;
            }
        }
    }
    return control;
}

QString headerLine(const archive::KeptVersion& kept) {
    QStringList parts;
    for (const auto& [control, text] : kept.header) {
        if (!text.trimmed().isEmpty()) {
            parts.append(headerLabel(kept.model, control) + QStringLiteral(": ") + text.trimmed());
        }
    }
    return parts.join(QStringLiteral(" · "));
}

QString originText(const QString& source, const QString& path) {
    return path.isEmpty() ? source : source + QLatin1Char(' ') + QFileInfo(path).fileName();
}

QString searchPageBody(const SearchRequest& request, const std::optional<SearchResults>& results,
                       const QString& failure) {
    QString html = QStringLiteral("<h1>Search the records</h1>\n") + form(request.form);
    if (!request.errors.isEmpty()) {
        html += QStringLiteral(
            "<div class=\"errors\" role=\"alert\"><p>The search did not run:</p><ul>");
        for (const QString& error : request.errors) {
            html += QStringLiteral("<li>%1</li>").arg(htmlEscape(error));
        }
        html += QStringLiteral("</ul></div>\n");
        return html;
    }
    if (!failure.isEmpty()) {
        html += QStringLiteral(
                    "<div class=\"errors\" role=\"alert\"><p>The archive could not be "
                    "searched: %1</p></div>\n")
                    .arg(htmlEscape(failure));
        return html;
    }
    if (!results) {
        return html;
    }
    const qint64 pages =
        std::max<qint64>(1, (results->total + request.form.pageSize - 1) / request.form.pageSize);
    const QString what =
        request.form.allVersions ? QStringLiteral("version") : QStringLiteral("record");
    html += QStringLiteral("<p class=\"count\" id=\"count\">%1 %2%3 found</p>\n")
                .arg(groupedNumber(results->total), what,
                     results->total == 1 ? QString() : QStringLiteral("s"));
    if (results->rows.empty()) {
        if (request.page > 1 && results->total > 0) {
            html += QStringLiteral("<p>There is no page %1 of this search; it has %2.</p>\n")
                        .arg(groupedNumber(request.page), groupedNumber(pages));
            html += pager(request, pages);
        }
        return html;
    }
    html += QStringLiteral("<table class=\"results\">\n<thead><tr>");
    html += heading(request.form, QStringLiteral("A-scan"), QString());
    html += heading(request.form, QStringLiteral("Arrived"), QStringLiteral("arrived"));
    html += heading(request.form, QStringLiteral("Model"), QStringLiteral("model"));
    html += heading(request.form, QStringLiteral("Mem"), QStringLiteral("slot"));
    html += heading(request.form, QStringLiteral("Version"), QStringLiteral("version"));
    html += heading(request.form, QStringLiteral("Origin"), QStringLiteral("source"));
    html += heading(request.form, QStringLiteral("Stored"), QStringLiteral("stored"));
    html += heading(request.form, QStringLiteral("Report header"), QString());
    html += heading(request.form, QStringLiteral("RANGE"), QStringLiteral("range"));
    html += heading(request.form, QStringLiteral("DELAY"), QString());
    html += heading(request.form, QStringLiteral("Gain"), QStringLiteral("gain"));
    html += heading(request.form, QStringLiteral("Gates"), QString());
    html += QStringLiteral("</tr></thead>\n<tbody>\n");
    for (const archive::KeptVersion& kept : results->rows) {
        html += row(kept);
    }
    html += QStringLiteral("</tbody>\n</table>\n");
    html += pager(request, pages);
    return html;
}

}  // namespace trellicap::web
