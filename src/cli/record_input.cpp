#include "cli/record_input.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringList>

#include "cli/cli_failure.h"
#include "storage/record_file_writer.h"
#include "storage/storage_messages.h"

namespace trellicap::cli {

namespace {

QString bytes(qint64 n) {
    return QLocale(QLocale::English).toString(n);
}

// The window's message in one line: its text and the first line of its reason. The rest of
// the reason ("Nothing was loaded", "The slots and rows after that are empty") speaks of
// the window's table, which the tool never shows.
[[noreturn]] void failLoad(const LoadResult& result, const QString& path) {
    const auto message = describeLoadFailure(result, path);
    failInput(message->text + QLatin1Char(' ') +
              message->informative.section(QLatin1Char('\n'), 0, 0));
}

// How a size that fits no model stands to one model's: a short file is truncated (the usual
// fault: a copy or a save broken off), a long one carries bytes the reader would not read.
QString differenceFrom(const CliModel& model, qint64 size) {
    const qint64 expected = recordFileSize(model.profile);
    const QString file =
        QStringLiteral("a %1 record file (%2 bytes)").arg(displayName(model), bytes(expected));
    return size < expected
               ? QStringLiteral("as %1 it is truncated, %2 bytes short")
                     .arg(file, bytes(expected - size))
               : QStringLiteral("it is %1 bytes longer than %2").arg(bytes(size - expected), file);
}

const CliModel& modelOfSize(const QString& path, qint64 size) {
    if (const CliModel* model = modelByFileSize(size)) {
        return *model;
    }
    QStringList differences;
    for (const CliModel& model : cliModels()) {
        differences.append(differenceFrom(model, size));
    }
    failInput(QStringLiteral("\"%1\" is %2 bytes, the size of no record file: %3; name its "
                             "model with --model %4.")
                  .arg(path, bytes(size), differences.join(QStringLiteral("; ")), modelKeys()));
}

// --model against a file of the other model's exact size: the reader would read the other
// model's records with the wrong number of values per slot, and every slot after the first
// would be shifted. Refused, naming both sizes.
void refuseContradiction(const QString& path, qint64 size, const CliModel& named) {
    // Only the size can contradict a model: two profiles of one file size agree with it.
    const CliModel* bySize = modelByFileSize(size);
    if (bySize == nullptr || size == recordFileSize(named.profile)) {
        return;
    }
    failInput(
        QStringLiteral("\"%1\" is %2 bytes, the size of a %3 record file, but --model %4 "
                       "reads %5 bytes; name the file's model (--model %6) or leave "
                       "--model out.")
            .arg(
                path, bytes(size), displayName(*bySize),
                QLatin1String(named.key().data(), static_cast<qsizetype>(named.key().size())),
                bytes(recordFileSize(named.profile)),
                QLatin1String(bySize->key().data(), static_cast<qsizetype>(bySize->key().size()))));
}

}  // namespace

RecordInput loadInput(const QString& path, const CliModel* model) {
    const QFileInfo info(path);
    RecordInput input;
    input.fileBytes = info.size();
    // A file that cannot be opened gets the window's reason; it does not depend on the model.
    const bool readable = info.isFile() && info.isReadable();
    input.modelFromSize = model == nullptr && readable;
    if (model != nullptr && readable) {
        refuseContradiction(path, input.fileBytes, *model);
    }
    input.model = model != nullptr ? model
                  : readable       ? &modelOfSize(path, input.fileBytes)
                                   : &cliModels().front();
    input.session = std::make_unique<Session>(input.model->profile);
    // The table as the window has it before an Open: start values, then the start-up trace.
    input.session->begin();
    input.session->showStartupTrace();
    // Never the part that was read: no report or table is made from a partial load.
    const Session::LoadOutcome load = input.session->load(path);
    if (!load.complete) {
        failLoad(load.result, path);
    }
    input.marked = input.session->marks();
    return input;
}

}  // namespace trellicap::cli
