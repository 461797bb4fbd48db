// info FILE: the model, the marked slots and a short table of the chosen slots.
#include <QLocale>
#include <QStringList>

#include "cli/command.h"
#include "cli/info_table.h"
#include "cli/input_options.h"
#include "cli/models.h"
#include "cli/output_file.h"
#include "cli/slot_list.h"
#include "record/profile_text.h"
#include "report/slot_record.h"

namespace trellicap::cli {

namespace {

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
    const ModelProfile& profile = input.model->profile;
    const FieldLabels labels = fieldLabels(profile);
    std::vector<SlotRecord> records;
    const SlotView& shown = input.session->view();
    for (const int slot : slotsToShow(requested, input)) {
        (void)input.session->recall(slot - 1);  // a session without a port refuses no slot
        const bool marked = input.marked[static_cast<std::size_t>(slot - 1)];
        records.push_back(slotRecord(labels, shown, slot, marked));
    }
    const QString table = infoTable(profile, labels, records);
    writeStandardOutput((summary(input, line.positional(0)) + QLatin1Char('\n') + table).toUtf8());
}

// "operator (TFT) or job number (DAC)"
QString infoHeaderWords() {
    QStringList parts;
    for (const CliModel& model : cliModels()) {
        parts.append(QStringLiteral("%1 (%2)").arg(qs(model.profile.roles.infoHeaderWords),
                                                   displayName(model)));
    }
    return parts.join(QStringLiteral(" or "));
}

}  // namespace

const Command& infoCommand() {
    static const Command command{
        {QStringLiteral("info"),
         withModelKeys(QStringLiteral("FILE [--model {models}] [--slots LIST]")),
         QStringLiteral("the model, the marked slots and a table of their settings"),
         QStringLiteral("Names the record file's model and the slots the load marks, then lists\n"
                        "each chosen slot: time and date, %1 and the\n"
                        "%2.")
             .arg(infoSettingLabels(cliModels().front().profile), infoHeaderWords()),
         {modelOption(), slotsOption()},
         1},
        runInfo};
    return command;
}

}  // namespace trellicap::cli
