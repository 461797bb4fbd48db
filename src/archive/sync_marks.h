// What this archive has sent to which team server, kept in the local archive: one row per
// version (and per record-file note) the server committed. Marks, not a position in the
// file: they stay right whatever the local database does to its row order. The tables come
// with the archive's schema (archive_schema.h).
#pragma once

#include <QString>
#include <QVariantList>

class QSqlDatabase;

namespace trellicap::archive {

// The archive's own identity (archive_info's archive_uuid), empty when it has none.
[[nodiscard]] QString archiveUuid(QSqlDatabase& db);

// Notes versions (uuid, version pairs) and record-file notes (uuid, version, path) as
// held by the server; one local transaction. Returns why it failed, or an empty text.
struct SentVersion {
    QString uuid;
    int version = 0;
};
struct SentSavedIn {
    QString uuid;
    int version = 0;
    QString path;
};
// One key per server, however its address was written (archive.conf as typed, the
// command line's --server): the canonical postgresql:// address, so that the window and
// `trellicap-cli archive sync` read and write the same last sync.
[[nodiscard]] QString serverKey(const QString& serverUrl);

// The last sync that reached the end with the server at this address: the server's
// identity and when (ISO 8601 with the local offset); empty when there was none.
struct SyncHistory {
    QString serverUuid;
    QString lastSync;
};
[[nodiscard]] SyncHistory syncHistory(QSqlDatabase& local, const QString& serverUrl);
[[nodiscard]] QString noteSyncDone(QSqlDatabase& local, const QString& serverUuid,
                                   const QString& serverUrl, const QString& when);

[[nodiscard]] QString markVersionsSent(QSqlDatabase& local, const QString& serverUuid,
                                       const QList<SentVersion>& versions);
[[nodiscard]] QString markSavedInSent(QSqlDatabase& local, const QString& serverUuid,
                                      const QList<SentSavedIn>& notes);

}  // namespace trellicap::archive
