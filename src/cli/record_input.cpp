#include "cli/record_input.h"

#include <QFileInfo>
#include <QLocale>

#include "cli/cli_failure.h"
#include "storage/record_file_io.h"
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

const CliModel& modelOfSize(const QString& path, qint64 size) {
    if (const CliModel* model = modelByFileSize(size)) {
        return *model;
    }
    QStringList sizes;
    for (const CliModel& model : cliModels()) {
        sizes.append(QStringLiteral("%1 bytes %2")
                         .arg(bytes(recordFileSize(model.profile)), displayName(model)));
    }
    failInput(QStringLiteral("\"%1\" is %2 bytes, the size of no record file (%3); name its "
                             "model with --model %4.")
                  .arg(path, bytes(size), sizes.join(QStringLiteral(", ")), modelKeys()));
}

}  // namespace

RecordInput loadInput(const QString& path, const CliModel* model) {
    const QFileInfo info(path);
    RecordInput input;
    input.fileBytes = info.size();
    // A file that cannot be opened gets the window's reason; it does not depend on the model.
    const bool readable = info.isFile() && info.isReadable();
    input.modelFromSize = model == nullptr && readable;
    input.model = model != nullptr ? model
                  : readable       ? &modelOfSize(path, input.fileBytes)
                                   : &cliModels().front();
    input.store = std::make_unique<RecordStore>(input.model->profile);
    // The table as the window has it before an Open: start values, then the start-up trace.
    input.store->initMemoryTable();
    input.store->loadStartupTrace();
    const LoadResult result = loadRecordFile(path, *input.store);
    if (result.stop != LoadResult::Stop::Complete) {
        failLoad(result, path);
    }
    input.marked = result.marked;
    return input;
}

}  // namespace trellicap::cli
