#include "web/kept_record.h"

#include <QBuffer>
#include <algorithm>

#include "report/export_job.h"
#include "report/plot_picture.h"
#include "report/vector_report_document.h"
#include "storage/record_file_reader.h"
#include "storage/record_file_writer.h"

namespace trellicap::web {

std::optional<QByteArray> exportedBytes(const RecordStore& store, ExportRequest request,
                                        QString* error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ExportJob job(store, std::move(request), buffer);
    if (!job.run()) {
        *error = job.error();
        return std::nullopt;
    }
    return buffer.data();
}

namespace {

// The table trellicap-cli works on when it reads a record file: start values, the start-up
// trace in the capture buffer, then the file's rows of every slot read aside and taken
// whole, and the slot marks the load found (Session::begin, showStartupTrace and load).
struct LoadedFile {
    std::unique_ptr<RecordStore> store;
    std::array<bool, kSlotCount> marked{};
};

std::optional<LoadedFile> loadedAsTheCli(const ModelProfile& profile, const QByteArray& file,
                                         QString* error) {
    LoadedFile loaded{std::make_unique<RecordStore>(profile), {}};
    loaded.store->initMemoryTable();
    loaded.store->loadStartupTrace();
    RecordStore scratch(profile);
    const LoadResult result = readRecordFile(file, scratch);
    if (result.stop != LoadResult::Stop::Complete) {
        *error = QStringLiteral("the record file made of the record does not read back");
        return std::nullopt;
    }
    const RowRange rows = profile.fileRows;
    for (int column = 0; column < kSlotCount; ++column) {
        const auto from = scratch.column(column);
        std::copy(from.begin() + rows.first, from.begin() + rows.last + 1,
                  loaded.store->column(column).begin() + rows.first);
    }
    loaded.marked = result.marked;
    return loaded;
}

}  // namespace

KeptRecord::KeptRecord(const ModelProfile& profile, const std::vector<RecordValue>& values,
                       int slot, QString uuid, int version)
    : m_profile(profile),
      m_slot(std::clamp(slot, 1, kSlotCount)),
      m_uuid(std::move(uuid)),
      m_version(version),
      m_store(std::make_unique<RecordStore>(profile)) {
    // As an export of the archive fills its table (archive/kept_records.h).
    m_store->initMemoryTable();
    const auto column = m_store->column(m_slot - 1);
    std::copy_n(values.begin(), std::min(values.size(), column.size()), column.begin());
    // The view's recall fills a capture buffer; the downloads start from an untouched one, as
    // trellicap-cli's do.
    m_shown = std::make_unique<RecordStore>(*m_store);
    m_view = std::make_unique<SlotView>(*m_shown);
    m_view->recall(m_slot - 1);
}

QString KeptRecord::fileName(DownloadKind kind) const {
    const char* suffix = kind == DownloadKind::RecordFile ? ".dat"
                         : kind == DownloadKind::Csv      ? ".csv"
                         : kind == DownloadKind::Json     ? ".json"
                                                          : ".pdf";
    return QStringLiteral("mem%1-%2-v%3%4")
        .arg(m_slot)
        .arg(m_uuid.left(8))
        .arg(m_version)
        .arg(QLatin1String(suffix));
}

std::optional<Download> KeptRecord::download(DownloadKind kind, QString* error) const {
    Download made;
    made.fileName = fileName(kind);
    const QByteArray recordFile = writeRecordFile(*m_store);
    switch (kind) {
        case DownloadKind::RecordFile:
            made.bytes = recordFile;
            made.contentType = QStringLiteral("application/octet-stream");
            return made;
        case DownloadKind::Csv: {
            ExportRequest request;
            request.format = ExportFormat::Csv;
            request.slotNumbers = {m_slot};
            request.marked.fill(true);  // an exported record holds a record
            const auto bytes = exportedBytes(*m_store, std::move(request), error);
            if (!bytes) {
                return std::nullopt;
            }
            made.bytes = *bytes;
            made.contentType = QStringLiteral("text/csv; charset=utf-8");
            return made;
        }
        case DownloadKind::Json:
        case DownloadKind::Pdf: {
            const auto loaded = loadedAsTheCli(m_profile, recordFile, error);
            if (!loaded) {
                return std::nullopt;
            }
            ExportRequest request;
            request.slotNumbers = {m_slot};
            if (kind == DownloadKind::Json) {
                request.format = ExportFormat::Json;
                request.marked = loaded->marked;
                made.contentType = QStringLiteral("application/json");
            } else {
                request.format = ExportFormat::VectorPdf;
                request.title = vectorReportTitle(fileName(DownloadKind::RecordFile), {m_slot});
                made.contentType = QStringLiteral("application/pdf");
            }
            const auto bytes = exportedBytes(*loaded->store, std::move(request), error);
            if (!bytes) {
                return std::nullopt;
            }
            made.bytes = *bytes;
            return made;
        }
    }
    return std::nullopt;
}

QByteArray KeptRecord::plotSvg(double scale) const {
    return trellicap::plotSvg(m_view->plot(), scale);
}

std::optional<QByteArray> KeptRecord::plotPng(double scale) const {
    return trellicap::plotPng(m_view->plot(), scale);
}

}  // namespace trellicap::web
