// Schema version 4: the jobs and the equipment register beside the records, on both engines.
// Every table is append-only (a change is a new version), so a sync sends rows and never
// updates one. A job version keeps its JOB.json (without the records' values), one row per
// record naming its values by the content hash the record versions use (so a record is found
// by the jobs it belongs to), and the values themselves once per hash. A laptop also notes
// which of them each team server holds.
#pragma once

#include <array>
#include <string_view>

namespace trellicap::archive {

inline constexpr std::array<std::string_view, 6> kInspectionTables = {
    "CREATE TABLE IF NOT EXISTS job_versions ("
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " model TEXT NOT NULL,"
    " client TEXT NOT NULL,"
    " order_number TEXT NOT NULL,"
    " object TEXT NOT NULL,"
    " result TEXT NOT NULL,"
    " records INTEGER NOT NULL,"
    " changed_by TEXT NOT NULL,"
    " changed_at TEXT NOT NULL,"
    " changed_ms {BIGINT} NOT NULL,"
    " change_note TEXT NOT NULL,"
    " body TEXT NOT NULL,"
    " PRIMARY KEY (uuid, version))",
    "CREATE TABLE IF NOT EXISTS job_records ("
    " uuid TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " item INTEGER NOT NULL,"
    " content_hash TEXT NOT NULL,"
    " result TEXT NOT NULL,"
    " PRIMARY KEY (uuid, version, item))",
    "CREATE TABLE IF NOT EXISTS job_record_values ("
    " content_hash TEXT PRIMARY KEY,"
    " codes {BLOB} NOT NULL)",
    "CREATE TABLE IF NOT EXISTS equipment_versions ("
    " kind TEXT NOT NULL,"
    " item_key TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " changed_by TEXT NOT NULL,"
    " changed_at TEXT NOT NULL,"
    " changed_ms {BIGINT} NOT NULL,"
    " body TEXT NOT NULL,"
    " PRIMARY KEY (kind, item_key, version))",
    "CREATE INDEX IF NOT EXISTS job_records_hash ON job_records (content_hash)",
    "CREATE INDEX IF NOT EXISTS job_versions_changed ON job_versions (changed_ms)",
};

// What a laptop has sent to which server: a job version (kind "job", key the job's UUID) or
// an entry's version (kind the entry's kind, key its key).
inline constexpr std::array<std::string_view, 1> kInspectionSyncMarks = {
    "CREATE TABLE IF NOT EXISTS sync_sent_inspection ("
    " server_uuid TEXT NOT NULL,"
    " kind TEXT NOT NULL,"
    " item_key TEXT NOT NULL,"
    " version INTEGER NOT NULL,"
    " PRIMARY KEY (server_uuid, kind, item_key, version))",
};

}  // namespace trellicap::archive
