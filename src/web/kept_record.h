// One kept version made whole again: its values in its slot of a memory table as an export
// of the archive fills one (every other slot at the start values), the record shown from it
// (plot and texts, as the window recalls it), and the documents a browser downloads. The
// downloads are the bytes trellicap-cli writes for the same record:
//   record file  trellicap-cli archive export --uuids U -o NAME.dat
//   CSV          trellicap-cli archive export --uuids U -o NAME.csv
//   JSON         trellicap-cli json NAME.dat --slots N
//   PDF          trellicap-cli pdf NAME.dat --vector --slots N
// (PDF: but for the creation time and the document's random identity, which every PDF
// written carries.)
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "record/record_store.h"
#include "report/export_job.h"
#include "report/slot_view.h"

namespace trellicap::web {

// What the export job writes for `request`, in memory; nothing with the reason on failure.
[[nodiscard]] std::optional<QByteArray> exportedBytes(const RecordStore& store,
                                                      ExportRequest request, QString* error);

enum class DownloadKind { RecordFile, Csv, Json, Pdf };

struct Download {
    QByteArray bytes;
    QString fileName;     // "mem12-1a2b3c4d-v2.pdf"
    QString contentType;  // "application/pdf"
};

class KeptRecord {
public:
    // values: the version's whole record; slot 1..200.
    KeptRecord(const ModelProfile& profile, const std::vector<RecordValue>& values, int slot,
               QString uuid, int version);

    // The record shown: recalled from its slot, as the window shows it.
    [[nodiscard]] const SlotView& view() const { return *m_view; }
    [[nodiscard]] int slot() const { return m_slot; }

    // "mem12-1a2b3c4d-v2" + the kind's suffix.
    [[nodiscard]] QString fileName(DownloadKind kind) const;
    // The document, or nothing with the reason.
    [[nodiscard]] std::optional<Download> download(DownloadKind kind, QString* error) const;

    // The A-scan as SVG, drawn from the plot canvas (scale 1: the window's plot).
    [[nodiscard]] QByteArray plotSvg(double scale = 1) const;
    [[nodiscard]] std::optional<QByteArray> plotPng(double scale) const;

private:
    const ModelProfile& m_profile;
    int m_slot;
    QString m_uuid;
    int m_version;
    std::unique_ptr<RecordStore> m_store;  // as the export fills it: what the downloads read
    std::unique_ptr<RecordStore> m_shown;  // a copy the view recalls into
    std::unique_ptr<SlotView> m_view;
};

}  // namespace trellicap::web
