#include "cli/archive_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include "cli/models.h"

namespace trellicap::cli {

namespace {

QString headerCell(const archive::KeptVersion& kept) {
    QStringList texts;
    for (const auto& [name, text] : kept.header) {
        if (!text.isEmpty()) {
            texts.append(text);
        }
    }
    return texts.join(QStringLiteral(" / "));
}

}  // namespace

QByteArray archiveTable(const std::vector<archive::KeptVersion>& found) {
    std::vector<QStringList> rows;
    rows.push_back({QStringLiteral("uuid"), QStringLiteral("version"), QStringLiteral("model"),
                    QStringLiteral("slot"), QStringLiteral("source"), QStringLiteral("arrived"),
                    QStringLiteral("time_date"), QStringLiteral("header"),
                    QStringLiteral("saved_in")});
    for (const archive::KeptVersion& kept : found) {
        rows.push_back({kept.uuid, QString::number(kept.version), kept.model,
                        QString::number(kept.slot), kept.source, kept.arrived, kept.timeDate,
                        headerCell(kept), kept.savedIn.join(QStringLiteral(", "))});
    }
    std::vector<qsizetype> widths(rows.front().size(), 0);
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            widths[static_cast<std::size_t>(i)] =
                std::max(widths[static_cast<std::size_t>(i)], row[i].size());
        }
    }
    QString text;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const bool last = i + 1 == row.size();
            line += last ? row[i] : row[i].leftJustified(widths[static_cast<std::size_t>(i)] + 2);
        }
        text += line.trimmed() + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QByteArray archiveJson(QSqlDatabase& db, const std::vector<archive::KeptVersion>& found) {
    QJsonArray records;
    for (const archive::KeptVersion& kept : found) {
        // The version's columns as the archive's column table names them, the header fields
        // named as `trellicap-cli json` names them; then the whole record and its files.
        const CliModel* model = modelByKey(kept.model);
        QJsonObject record = archive::versionJson(kept, model ? &model->profile : nullptr);
        QJsonArray values;
        if (model) {
            if (const auto kept_values =
                    archive::keptValues(db, kept.uuid, kept.version, model->profile.recordSize())) {
                for (RecordValue value : *kept_values) {
                    values.append(value);
                }
            }
        }
        record.insert(QStringLiteral("record"), values);
        record.insert(QStringLiteral("saved_in"), QJsonArray::fromStringList(kept.savedIn));
        records.append(record);
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("records"), records}})
        .toJson(QJsonDocument::Indented);
}

}  // namespace trellicap::cli
