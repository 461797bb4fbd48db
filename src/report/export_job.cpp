#include "report/export_job.h"

#include "report/export_writers.h"
#include "report/slot_view.h"

namespace trellicap {

ExportRequest jobReportRequest(const inspection::Job& job,
                               std::shared_ptr<const JobReportContent> content) {
    ExportRequest request;
    request.format = ExportFormat::JobReport;
    request.title = inspection::jobTitle(job);
    for (const inspection::JobItem& item : job.items) {
        request.records.push_back(item.values);
    }
    request.jobReport = std::move(content);
    return request;
}

ExportJob::ExportJob(const RecordStore& records, ExportRequest request, QIODevice& device)
    : m_records(records),
      m_request(std::move(request)),
      m_device(&device),
      m_shown(std::make_unique<SlotView>(m_records)) {}

ExportJob::ExportJob(const RecordStore& records, ExportRequest request, const QString& path)
    : m_records(records),
      m_request(std::move(request)),
      m_path(path),
      m_file(std::make_unique<QSaveFile>(path)),
      m_device(m_file.get()),
      m_shown(std::make_unique<SlotView>(m_records)) {}

ExportJob::~ExportJob() {
    // The document ends before its file goes; an unfinished export leaves no file.
    m_writer.reset();
    if (m_file) {
        m_file->cancelWriting();
    }
}

bool ExportJob::fail(const QString& reason) {
    if (m_error.isEmpty()) {
        m_error = reason;
    }
    return false;
}

bool ExportJob::start() {
    if (m_started) {
        return m_error.isEmpty();
    }
    m_started = true;
    if (m_file && !m_file->open(QIODevice::WriteOnly)) {
        return fail(m_file->errorString());
    }
    m_writer = makeExportWriter(m_records.profile(), m_request, *m_device);
    const QString problem = m_writer->begin();
    return problem.isEmpty() || fail(problem);
}

bool ExportJob::addShown(const SlotView& shown) {
    if (!m_writer || !m_error.isEmpty()) {
        return fail(QStringLiteral("the export has not started"));
    }
    if (!m_writer->takesShown()) {
        return fail(QStringLiteral("a table has no page of the record shown"));
    }
    const QString problem = m_writer->add(shown, 0);
    return problem.isEmpty() || fail(problem);
}

bool ExportJob::step() {
    if (!m_writer || !m_error.isEmpty()) {
        return m_error.isEmpty() && fail(QStringLiteral("the export has not started"));
    }
    if (atEnd()) {
        return true;
    }
    const std::size_t index = m_next++;
    if (index >= m_request.slotNumbers.size()) {
        return stepRecord(m_request.records[index - m_request.slotNumbers.size()]);
    }
    const int slot = m_request.slotNumbers[index];
    if (slot < 1 || slot > kSlotCount) {
        return fail(QStringLiteral("there is no slot %1").arg(slot));
    }
    m_shown->recall(slot - 1);
    const QString problem = m_writer->add(*m_shown, slot);
    return problem.isEmpty() || fail(problem);
}

bool ExportJob::stepRecord(const std::vector<RecordValue>& values) {
    const ModelProfile& profile = m_records.profile();
    if (static_cast<int>(values.size()) != profile.recordSize()) {
        return fail(QStringLiteral("a record of %1 values is not of this model (%2 values)")
                        .arg(values.size())
                        .arg(profile.recordSize()));
    }
    // The record's page names its slot as the record does; the column is only a place to
    // show it from.
    const auto column = m_records.column(0);
    std::copy(values.begin(), values.end(), column.begin());
    m_shown->recall(0);
    const QString problem = m_writer->add(*m_shown, 0);
    return problem.isEmpty() || fail(problem);
}

bool ExportJob::finish() {
    if (!m_writer || !m_error.isEmpty()) {
        return m_error.isEmpty() && fail(QStringLiteral("the export has not started"));
    }
    if (const QString problem = m_writer->end(); !problem.isEmpty()) {
        return fail(problem);
    }
    m_writer.reset();
    if (m_file && !m_file->commit()) {
        return fail(m_file->errorString());
    }
    return true;
}

bool ExportJob::run() {
    if (!start()) {
        return false;
    }
    while (!atEnd()) {
        if (!step()) {
            return false;
        }
    }
    return finish();
}

void ExportJob::cancel() {
    m_writer.reset();
    if (m_file) {
        m_file->cancelWriting();
    }
}

}  // namespace trellicap
