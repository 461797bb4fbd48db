// Sends the local archive's record versions that the team server does not hold yet.
// Idempotent by (UUID, version): whatever the server holds already is left as it is and
// counted, so a second sync stores nothing and two laptops never collide. At most
// kSyncBatchSize versions go in one server transaction: by libpq's COPY into a staging table
// of the session, then one INSERT ... SELECT ... ON CONFLICT DO NOTHING per table
// (server_copy.h); where COPY cannot be had, each table's rows in one multi-row INSERT ... ON
// CONFLICT DO NOTHING. After each commit the local archive notes them as sent, so a server
// that goes away mid-sync keeps every batch it committed and the next sync resumes after it.
// A batch whose commit reached the server but whose answer did not is sent again and found
// there.
#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <functional>

class QSqlDatabase;

namespace trellicap::archive {

inline constexpr int kSyncBatchSize = 500;

struct SyncResult {
    bool ok = false;
    int sent = 0;          // newly stored on the server
    int alreadyThere = 0;  // local versions the server held before this sync
    int waiting = 0;       // local versions still not on the server when the sync ended
    bool copied = false;   // the versions went by COPY (else by multi-row INSERT)
    QString finished;      // when it ended well (ISO 8601, local offset); empty otherwise
    QString error;         // the server's (or the local archive's) reason, on one line
    // The jobs' and the equipment register's versions (inspection_sync.h), after the records.
    int inspectionSent = 0;
    int inspectionAlreadyThere = 0;
    QStringList inspectionConflicts;
};

struct SyncSource {
    QString workingFolder;  // the folder the archive belongs to, kept with each version
    QString serverUrl;      // how this laptop names the server, for the last sync's note
};

// Called after each committed batch with the counts so far; returning false stops the
// sync after that batch (the program is closing).
using SyncProgress = std::function<bool(const SyncResult& soFar)>;

// How the versions travel: by COPY where the connection offers it, else by INSERT; or by
// INSERT always (what a program without libpq's COPY functions does).
enum class SyncRoute { Fastest, Inserts };

// local: the archive.sqlite connection; server: an open connection to the team server
// (the schema is brought up to date first). Both connections belong to the calling thread.
[[nodiscard]] SyncResult syncArchive(QSqlDatabase& local, QSqlDatabase& server,
                                     const SyncSource& source, const SyncProgress& progress = {},
                                     SyncRoute route = SyncRoute::Fastest);

// How many local versions the server named by serverUuid has not had from this archive
// (all of them when serverUuid is empty: no sync yet); -1 when the archive cannot be read.
[[nodiscard]] int versionsWaiting(QSqlDatabase& local, const QString& serverUuid);

}  // namespace trellicap::archive

// Handed from the sync's thread to the window's in queued signals.
Q_DECLARE_METATYPE(trellicap::archive::SyncResult)
