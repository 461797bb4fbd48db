// info FILE: the model, the marked slots and a short table of the chosen slots.
#include <QLocale>
#include <QStringList>
#include <algorithm>

#include "cli/command.h"
#include "cli/input_options.h"
#include "cli/output_file.h"
#include "cli/slot_list.h"
#include "report/slot_record.h"

namespace trellicap::cli {

namespace {

// The settings the table shows, by their boxes; the model's own header column follows.
constexpr std::string_view kInfoSettings[] = {"txtrange", "txtdelay", "txtgain", "txtgate"};

struct Column {
    QString heading;
    QStringList cells;
};

QString labelOf(const std::vector<Field>& fields, std::string_view control) {
    const auto it = std::find_if(fields.begin(), fields.end(),
                                 [control](const Field& f) { return f.control == control; });
    return it == fields.end() ? QString() : it->label;
}

std::vector<Column> tableColumns(const CliModel& model, const FieldLabels& labels) {
    std::vector<Column> columns{{QStringLiteral("Slot"), {}},
                                {QStringLiteral("Time and date"), {}}};
    for (const std::string_view control : kInfoSettings) {
        columns.push_back({labelOf(labels.settings, control), {}});
    }
    columns.push_back({labelOf(labels.header, model.infoHeaderControl), {}});
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

void addRow(std::vector<Column>& columns, const CliModel& model, const FieldLabels& labels,
            const SlotRecord& record) {
    columns[0].cells.append(QString::number(record.slot));
    columns[1].cells.append(record.timeDate);
    std::size_t c = 2;
    for (const std::string_view control : kInfoSettings) {
        columns[c++].cells.append(cellOf(labels, record, control));
    }
    columns[c].cells.append(cellOf(labels, record, model.infoHeaderControl));
}

qsizetype widthOf(const Column& column) {
    qsizetype width = column.heading.size();
    for (const QString& cell : column.cells) {
        width = std::max(width, cell.size());
    }
    return width;
}

// Columns two blanks apart, each as wide as its widest cell; the slot numbers right-aligned,
// no blanks at the ends of the lines.
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

QString summary(const RecordInput& input, const QString& path) {
    const QString source = input.modelFromSize
                               ? QStringLiteral("from the file's size, %1 bytes")
                                     .arg(QLocale(QLocale::English).toString(input.fileBytes))
                               : QStringLiteral("from --model");
    const std::vector<int> marked = markedSlots(input.marked);
    return QStringLiteral("File: %1\nModel: %2 (%3)\nMarked slots: %4 (%5 of %6)\n")
        .arg(path, displayName(*input.model), source, formatSlotList(marked))
        .arg(marked.size())
        .arg(kSlotCount);
}

void runInfo(const CommandLine& line) {
    const auto requested = requestedSlots(line);
    RecordInput input = openInput(line);
    const FieldLabels labels = fieldLabels(input.model->profile);
    std::vector<Column> columns = tableColumns(*input.model, labels);
    RecalledSlot shown(*input.store);
    for (const int slot : slotsToShow(requested, input)) {
        shown.show(slot);
        const bool marked = input.marked[static_cast<std::size_t>(slot - 1)];
        addRow(columns, *input.model, labels, slotRecord(labels, shown, slot, marked));
    }
    const QString table =
        columns.front().cells.isEmpty() ? QStringLiteral("No slot to list.\n") : layOut(columns);
    writeStandardOutput((summary(input, line.positional(0)) + QLatin1Char('\n') + table).toUtf8());
}

}  // namespace

const Command& infoCommand() {
    static const Command command{
        {QStringLiteral("info"),
         QStringLiteral("FILE [--model tft|dac] [--slots LIST]"),
         QStringLiteral("the model, the marked slots and a table of their settings"),
         QStringLiteral("Names the record file's model and the slots the load marks, then lists\n"
                        "each chosen slot: time and date, RANGE, DELAY, Gain, GATE 1 and the\n"
                        "operator (TFT) or job number (DAC)."),
         {modelOption(), slotsOption()},
         1},
        runInfo};
    return command;
}

}  // namespace trellicap::cli
