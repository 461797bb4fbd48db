#include "cli/input_options.h"

#include <QLocale>

#include "cli/cli_failure.h"
#include "cli/slot_list.h"
#include "storage/record_file_writer.h"

namespace trellicap::cli {

OptionSyntax modelOption() {
    return {{QStringLiteral("model")},
            modelKeys(),
            QStringLiteral("the instrument model; without it the file's size tells (%1)")
                .arg(perModel([](const ModelProfile& profile) {
                    return QLocale(QLocale::English).toString(recordFileSize(profile)) +
                           QStringLiteral(" bytes");
                }))};
}

OptionSyntax slotsOption() {
    return {{QStringLiteral("slots")},
            QStringLiteral("LIST"),
            QStringLiteral("slots such as 1-10,15,200; without it the marked slots (those whose "
                           "record names its own slot, as the window marks them \" *\")")};
}

OptionSyntax outputOption(const QString& valueName) {
    return {{QStringLiteral("o"), QStringLiteral("output")},
            valueName,
            QStringLiteral("the file to write; it appears only when complete")};
}

RecordInput openInput(const CommandLine& line) {
    const CliModel* model = nullptr;
    if (line.isSet(QStringLiteral("model"))) {
        model = modelByKey(line.value(QStringLiteral("model")));
        if (model == nullptr) {
            failUsage(QStringLiteral("--model takes %1, not '%2'.")
                          .arg(modelKeys(), line.value(QStringLiteral("model"))));
        }
    }
    return loadInput(line.positional(0), model);
}

std::optional<std::vector<int>> requestedSlots(const CommandLine& line) {
    if (!line.isSet(QStringLiteral("slots"))) {
        return std::nullopt;
    }
    SlotList list = parseSlotList(line.value(QStringLiteral("slots")));
    if (!list.error.isEmpty()) {
        failUsage(list.error + QLatin1Char('.'));
    }
    return std::move(list.numbers);
}

std::vector<int> slotsToShow(const std::optional<std::vector<int>>& requested,
                             const RecordInput& input) {
    return requested ? *requested : markedSlots(input.marked);
}

}  // namespace trellicap::cli
