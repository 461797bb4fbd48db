// The record page: the A-scan of the version shown as SVG (drawn by the display core, gates,
// DAC curve and labels as the window draws them, at /plot/UUID/VERSION.svg: a picture that
// never changes, which the browser keeps), its settings as the "Menu Data" grid, the
// readouts and report header texts, the downloads, and every version of the record with
// where it came from, later arrivals of the same values, the record files it was saved into
// and who sent it.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "archive/archive_pages.h"
#include "web/kept_record.h"

namespace trellicap::web {

struct RecordPageData {
    std::vector<archive::VersionHistory> history;  // oldest first
    std::size_t shown = 0;                         // index into history
    QString localArchive;  // the archive's identity for a laptop's file; empty on a server
    bool teamServer = false;
};

[[nodiscard]] QString recordPageBody(const RecordPageData& data, const KeptRecord& record);

}  // namespace trellicap::web
