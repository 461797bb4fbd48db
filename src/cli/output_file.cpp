#include "cli/output_file.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "cli/cli_failure.h"

namespace trellicap::cli {

OutputFile::OutputFile(const QString& path) : m_path(path), m_file(path) {
    // QSaveFile would try to rename its temporary file over the folder.
    if (QFileInfo(path).isDir()) {
        fail(QStringLiteral("it is a folder"));
    }
    if (!m_file.open(QIODevice::WriteOnly)) {
        fail(m_file.errorString());
    }
}

void OutputFile::write(const QByteArray& bytes) {
    if (m_file.write(bytes) != bytes.size()) {
        fail(m_file.errorString());
    }
}

void OutputFile::commit() {
    if (!m_file.commit()) {
        fail(m_file.errorString());
    }
}

void OutputFile::fail(const QString& reason) {
    m_file.cancelWriting();
    failInput(QStringLiteral("\"%1\" could not be written: %2.").arg(m_path, reason));
}

void writeStandardOutput(const QByteArray& bytes) {
    const auto size = static_cast<std::size_t>(bytes.size());
    if (std::fwrite(bytes.constData(), 1, size, stdout) != size || std::fflush(stdout) != 0) {
        failInput(QStringLiteral("standard output could not be written."));
    }
}

void writeExport(const RecordStore& records, ExportRequest request, const QString& path) {
    if (path.isEmpty()) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        ExportJob job(records, std::move(request), buffer);
        if (!job.run()) {
            failInput(QStringLiteral("the output could not be made: %1.").arg(job.error()));
        }
        writeStandardOutput(buffer.data());
        return;
    }
    OutputFile out(path);
    ExportJob job(records, std::move(request), out.device());
    if (!job.run()) {
        out.fail(job.error());
    }
    out.commit();
}

}  // namespace trellicap::cli
