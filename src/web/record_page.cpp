#include "web/record_page.h"

#include <algorithm>
#include <map>

#include "record/profile_text.h"
#include "web/html.h"
#include "web/search_page.h"
#include "web/web_models.h"

namespace trellicap::web {

namespace {

// The window's "Menu Data" grid, row by row, each box under its label.
QString settingsGrid(const ModelProfile& profile, const PanelTexts& texts) {
    std::map<int, std::vector<const PanelCell*>> rows;
    for (const PanelCell& cell : profile.panelCells) {
        rows[cell.row].push_back(&cell);
    }
    QString html = QStringLiteral("<table class=\"menu-data\">\n<caption>Menu Data</caption>\n");
    for (auto& [row, cells] : rows) {
        std::sort(cells.begin(), cells.end(),
                  [](const PanelCell* a, const PanelCell* b) { return a->column < b->column; });
        html += QStringLiteral("<tr>");
        for (const PanelCell* cell : cells) {
            const QString label = latin1(cell->label);
            const QString value = cell->control.empty() ? QString() : texts.text(cell->control);
            html +=
                QStringLiteral(
                    "<td%1><span class=\"label\">%2</span><span class=\"value\"%3>%4</span></td>")
                    .arg(cell->columnSpan > 1
                             ? QStringLiteral(" colspan=\"%1\"").arg(cell->columnSpan)
                             : QString(),
                         htmlEscape(label.isEmpty() ? QStringLiteral("\u00a0") : label),
                         cell->control.empty() ? QString()
                                               : QStringLiteral(" data-control=\"%1\"")
                                                     .arg(htmlEscape(qs(cell->control))),
                         htmlEscape(value));
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</table>\n");
    return html;
}

QString headerFields(const ModelProfile& profile, const PanelTexts& texts) {
    QString html =
        QStringLiteral("<section class=\"report-header\">\n<h2>Report header</h2>\n<dl>\n");
    for (const HeaderField& field : profile.headerFields) {
        const QString model = latin1(profile.modelKey);
        html += QStringLiteral("<div><dt>%1</dt><dd data-control=\"%2\">%3</dd></div>\n")
                    .arg(htmlEscape(headerLabel(model, latin1(field.control))),
                         htmlEscape(qs(field.control)), htmlEscape(texts.text(field.control)));
    }
    html += QStringLiteral("</dl>\n");
    if (!profile.readouts.empty()) {
        html += QStringLiteral("<h2>Readouts</h2>\n<dl class=\"readouts\">\n");
        for (const Readout& readout : profile.readouts) {
            html += QStringLiteral("<div><dt>%1</dt><dd data-control=\"%2\">%3</dd></div>\n")
                        .arg(htmlEscape(qs(readout.label)), htmlEscape(qs(readout.control)),
                             htmlEscape(texts.text(readout.control)));
        }
        html += QStringLiteral("</dl>\n");
    }
    html += QStringLiteral("</section>\n");
    return html;
}

QString downloads(const archive::KeptVersion& kept, const KeptRecord& record) {
    const auto link = [&](const char* what, DownloadKind kind, const QString& label) {
        return QStringLiteral(
                   "<li><a href=\"/record/%1/%2?version=%3\" download=\"%4\">%5</a></li>\n")
            .arg(htmlEscape(kept.uuid), QLatin1String(what))
            .arg(kept.version)
            .arg(htmlEscape(record.fileName(kind)), htmlEscape(label));
    };
    QString html = QStringLiteral("<section class=\"downloads\">\n<h2>Downloads</h2>\n<ul>\n");
    html += link("report.pdf", DownloadKind::Pdf, QStringLiteral("Report page (PDF)"));
    html += link("table.csv", DownloadKind::Csv, QStringLiteral("Table (CSV)"));
    html += link("data.json", DownloadKind::Json, QStringLiteral("Data with the samples (JSON)"));
    html += link("record.dat", DownloadKind::RecordFile,
                 QStringLiteral("Record file, the record in Mem %1 (.dat)").arg(kept.slot));
    html += QStringLiteral("</ul>\n</section>\n");
    return html;
}

QString list(const QStringList& items) {
    if (items.isEmpty()) {
        return QStringLiteral("—");
    }
    QString html = QStringLiteral("<ul>");
    for (const QString& item : items) {
        html += QStringLiteral("<li>%1</li>").arg(htmlEscape(item));
    }
    return html + QStringLiteral("</ul>");
}

QString versions(const RecordPageData& data) {
    QString html = QStringLiteral(
        "<section class=\"versions\">\n<h2>Versions</h2>\n<table>\n<thead><tr>"
        "<th scope=\"col\">Version</th><th scope=\"col\">Origin</th><th scope=\"col\">Arrived</th>"
        "<th scope=\"col\">Arrived again</th><th scope=\"col\">Saved into</th>"
        "<th scope=\"col\">Sent by</th></tr></thead>\n<tbody>\n");
    for (std::size_t i = 0; i < data.history.size(); ++i) {
        const archive::VersionHistory& entry = data.history[i];
        const archive::KeptVersion& kept = entry.kept;
        const QString number = QString::number(kept.version);
        html += i == data.shown
                    ? QStringLiteral("<tr class=\"shown\"><td>%1 (shown)</td>").arg(number)
                    : QStringLiteral("<tr><td><a href=\"/record/%1?version=%2\">%2</a></td>")
                          .arg(htmlEscape(kept.uuid), number);
        const QString origin =
            kept.path.isEmpty() ? kept.source : kept.source + QLatin1Char(' ') + kept.path;
        QStringList again;
        for (const archive::LaterArrival& arrival : entry.laterArrivals) {
            again.append((arrival.path.isEmpty()
                              ? arrival.source
                              : arrival.source + QLatin1Char(' ') + arrival.path) +
                         QStringLiteral(", ") + arrival.arrived);
        }
        QString sender;
        if (entry.sentFrom) {
            sender = QStringLiteral("%1 on laptop %2 (%3), received %4")
                         .arg(entry.sentFrom->inspector, entry.sentFrom->laptop.left(8),
                              entry.sentFrom->workingFolder, entry.sentFrom->received);
        } else if (data.teamServer) {
            sender = QStringLiteral("not recorded");
        } else {
            sender =
                data.localArchive.isEmpty()
                    ? QStringLiteral("this computer's archive")
                    : QStringLiteral("this computer's archive (%1)").arg(data.localArchive.left(8));
        }
        html += QStringLiteral(
                    "<td>%1</td><td class=\"when\">%2</td><td>%3</td><td>%4</td>"
                    "<td>%5</td></tr>\n")
                    .arg(htmlEscape(origin), timeElement(kept.arrived), list(again),
                         list(kept.savedIn), htmlEscape(sender));
    }
    html += QStringLiteral("</tbody>\n</table>\n</section>\n");
    return html;
}

}  // namespace

QString recordPageBody(const RecordPageData& data, const KeptRecord& record) {
    const archive::KeptVersion& kept = data.history.at(data.shown).kept;
    const ModelProfile& profile = record.view().profile();
    const QString title = QStringLiteral("Mem %1").arg(kept.slot);
    QString html = QStringLiteral("<nav class=\"crumbs\"><a href=\"/\">Search</a> › %1</nav>\n")
                       .arg(htmlEscape(title));
    html += QStringLiteral("<h1>%1 <small>%2 · record %3 · version %4 of %5</small></h1>\n")
                .arg(htmlEscape(title), htmlEscape(modelName(kept.model)), htmlEscape(kept.uuid))
                .arg(kept.version)
                .arg(data.history.back().kept.version);
    if (data.shown + 1 != data.history.size()) {
        html += QStringLiteral(
                    "<p class=\"note\">An older version. <a href=\"/record/%1\">The "
                    "newest is version %2.</a></p>\n")
                    .arg(htmlEscape(kept.uuid))
                    .arg(data.history.back().kept.version);
    }
    html += QStringLiteral("<p class=\"arrived\">Arrived %1 · %2</p>\n")
                .arg(timeElement(kept.arrived), htmlEscape(originText(kept.source, kept.path)));
    html += QStringLiteral("<div class=\"record\">\n<figure class=\"plot\">\n");
    const QSize size = record.view().plot().sizePixels();
    html += QStringLiteral(
                "<img class=\"ascan\" src=\"/plot/%1/%2.svg\" width=\"%3\" height=\"%4\" "
                "alt=\"A-scan of Mem %5\">")
                .arg(htmlEscape(kept.uuid))
                .arg(kept.version)
                .arg(size.width())
                .arg(size.height())
                .arg(kept.slot);
    QString after =
        QStringLiteral("\n<figcaption>A-scan, Mem %1</figcaption>\n</figure>\n").arg(kept.slot);
    after += QStringLiteral("<section class=\"settings\">\n") +
             settingsGrid(profile, record.view().texts()) + QStringLiteral("</section>\n</div>\n");
    after += headerFields(profile, record.view().texts());
    after += downloads(kept, record);
    after += versions(data);
    return html + after;
}

}  // namespace trellicap::web
