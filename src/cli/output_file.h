// An output file that appears whole or not at all: written under a temporary name and
// renamed over OUT when complete (QSaveFile), so a failure part-way, or a stop, never leaves
// a partial file behind, nor spoils an earlier file of that name.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include "record/record_store.h"
#include "report/export_job.h"

namespace trellicap::cli {

class OutputFile {
public:
    // Opens the temporary file beside path; bad input when that cannot be done.
    explicit OutputFile(const QString& path);

    [[nodiscard]] QSaveFile& device() { return m_file; }
    void write(const QByteArray& bytes);
    // Renames the complete file over path; bad input when the system refuses. Without a
    // commit the temporary file is removed when the OutputFile goes.
    void commit();

    // Bad input naming the file and the reason; the temporary file is removed.
    [[noreturn]] void fail(const QString& reason);

private:
    QString m_path;
    QSaveFile m_file;
};

// Writes bytes to standard output; bad input when they do not all get there.
void writeStandardOutput(const QByteArray& bytes);

// Runs the export of `records` to its end into the file `path` (bad input, naming the file,
// when it fails part-way: the file is then not written), or to standard output when `path`
// is empty.
void writeExport(const RecordStore& records, ExportRequest request, const QString& path);

}  // namespace trellicap::cli
