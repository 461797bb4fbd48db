#include "cli/info_table.h"

#include <QStringList>
#include <algorithm>

namespace trellicap::cli {

namespace {

struct Column {
    QString heading;
    QStringList cells;
};

QString labelOf(const std::vector<Field>& fields, std::string_view control) {
    const auto it = std::find_if(fields.begin(), fields.end(),
                                 [control](const Field& f) { return f.control == control; });
    return it == fields.end() ? QString() : it->label;
}

std::vector<Column> tableColumns(const ModelProfile& profile, const FieldLabels& labels) {
    std::vector<Column> columns{{QStringLiteral("Slot"), {}},
                                {QStringLiteral("Time and date"), {}}};
    for (const std::string_view control : profile.roles.infoSettings) {
        columns.push_back({labelOf(labels.settings, control), {}});
    }
    columns.push_back({labelOf(labels.header, profile.roles.infoHeader), {}});
    return columns;
}

QString cellOf(const FieldLabels& labels, const SlotRecord& record, std::string_view control) {
    for (std::size_t i = 0; i < labels.settings.size(); ++i) {
        if (labels.settings[i].control == control) {
            return record.settings[i];
        }
    }
    for (std::size_t i = 0; i < labels.header.size(); ++i) {
        if (labels.header[i].control == control) {
            return record.header[i];
        }
    }
    return {};
}

void addRow(std::vector<Column>& columns, const ModelProfile& profile, const FieldLabels& labels,
            const SlotRecord& record) {
    columns[0].cells.append(QString::number(record.slot));
    columns[1].cells.append(record.timeDate);
    std::size_t c = 2;
    for (const std::string_view control : profile.roles.infoSettings) {
        columns[c++].cells.append(cellOf(labels, record, control));
    }
    columns[c].cells.append(cellOf(labels, record, profile.roles.infoHeader));
}

qsizetype widthOf(const Column& column) {
    qsizetype width = column.heading.size();
    for (const QString& cell : column.cells) {
        width = std::max(width, cell.size());
    }
    return width;
}

QString layOut(const std::vector<Column>& columns) {
    std::vector<qsizetype> widths;
    for (const Column& column : columns) {
        widths.push_back(widthOf(column));
    }
    QString text;
    for (qsizetype row = -1; row < columns.front().cells.size(); ++row) {
        QString line;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const QString& cell = row < 0 ? columns[c].heading : columns[c].cells[row];
            line += c == 0 ? cell.rightJustified(widths[c])
                           : QStringLiteral("  ") + cell.leftJustified(widths[c]);
        }
        while (line.endsWith(QLatin1Char(' '))) {
            line.chop(1);
        }
        text += line + QLatin1Char('\n');
    }
    return text;
}

}  // namespace

QString infoTable(const ModelProfile& profile, const FieldLabels& labels,
                  const std::vector<SlotRecord>& records) {
    if (records.empty()) {
        return QStringLiteral("No slot to list.\n");
    }
    std::vector<Column> columns = tableColumns(profile, labels);
    for (const SlotRecord& record : records) {
        addRow(columns, profile, labels, record);
    }
    return layOut(columns);
}

QString infoSettingLabels(const ModelProfile& profile) {
    const FieldLabels labels = fieldLabels(profile);
    QStringList names;
    for (const std::string_view control : profile.roles.infoSettings) {
        names.append(labelOf(labels.settings, control));
    }
    return names.join(QStringLiteral(", "));
}

}  // namespace trellicap::cli
