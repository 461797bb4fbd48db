// An output file that appears whole or not at all: written under a temporary name and
// renamed over OUT when complete (QSaveFile), so a failure part-way, or a stop, never leaves
// a partial file behind, nor spoils an earlier file of that name.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

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

private:
    [[noreturn]] void fail(const QString& reason);

    QString m_path;
    QSaveFile m_file;
};

// Writes bytes to standard output; bad input when they do not all get there.
void writeStandardOutput(const QByteArray& bytes);

}  // namespace trellicap::cli
