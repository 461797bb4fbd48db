// The archive of one run of a window program: every change of the memory table goes into a
// queue and is written at once, in order. When the archive cannot write (a full disk, a
// lock held by another program, a read-only file), the changes wait in the queue, the
// status says why, and a timer tries again until they are written; a damaged file is moved
// aside and a new one started. Nothing here ever stops a capture or a save.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>
#include <span>

#include "archive/archive_event.h"
#include "archive/archive_failure.h"
#include "archive/restore_offer.h"
#include "profiles/model_profile.h"

namespace trellicap::archive {

class ArchiveFile;
class ArchiveWriter;

class ArchiveKeeper : public QObject {
    Q_OBJECT
public:
    ArchiveKeeper(const ModelProfile& profile, QString path, QObject* parent = nullptr);
    // Indexes what the run kept since its last idle time (at most kIndexBatch versions).
    ~ArchiveKeeper() override;

    // Opens the archive, reads what earlier runs left unsaved, and begins this run.
    void start();

    // The roads into the archive. Columns are memory-table columns 0..199.
    void keepFiled(int column, std::span<const RecordValue> values, Source source);
    void keepHeaderStore(int column, std::span<const RecordValue> values);
    // A record file replaced the memory table: its marked slots. `whole`: the table is that
    // file now (false for "Load the part that was read": the table is then no file's).
    void keepLoaded(const QString& path, std::vector<SlotValues> loaded, bool whole = true);
    // The memory table was saved into `path` (call it once the file is written: its size
    // and content hash are read then).
    void noteSaved(const QString& path);
    // File > New: the memory table is a fresh start's. Nothing of it is unsaved any more
    // (nothing discarded is offered after a crash) and no kept version is in it (a later
    // save notes only what the saved file holds).
    void keepCleared();
    // The run ended the way its operator chose: nothing of it is offered at the next start.
    void endRunCleanly();

    // What earlier runs left unsaved (read by start()).
    [[nodiscard]] const RestoreOffer& restoreOffer() const { return m_offer; }
    // The offer was taken: its records are filed again through keepFiled(..., Restore).
    void restoreTaken();

    [[nodiscard]] bool failing() const { return m_failure.has_value(); }
    [[nodiscard]] int waiting() const { return static_cast<int>(m_queue.size()); }
    // Empty while the archive works; else what failed, why, and how much waits.
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] const QString& path() const { return m_path; }

    // How long the archive waits before it tries again after a failure.
    void setRetryInterval(int ms) { m_retry.setInterval(ms); }
    // Writes what waits now (the timer does this on its own).
    void retryNow() { flush(); }

    // While nothing is written (a second after the last change), never in a capture's
    // commit: the journal is copied into the archive file, then the versions kept since are
    // added to the search index (search_index.h), whose transaction starts the journal anew
    // (the first commit of a new journal flushes it twice: that is never a capture's). Done
    // once some dozens of versions wait, the journal is long, or nothing was written for some
    // seconds; until then the idle time looks again later. False when it did nothing.
    bool idleNow();
    // The index's slices go on shortly after (idleNow again) until nothing waits.
    [[nodiscard]] bool catchingUp() const { return m_catchingUp; }
    void setCheckpointDelay(int ms) { m_idleDelayMs = ms; }
    // How long nothing is written before the idle time does its work whatever waits.
    void setQuietTime(int ms) { m_quietMs = ms; }

signals:
    void statusChanged();
    // A damaged archive file was renamed to `aside`, and a new one started.
    void damagedFileMoved(const QString& path, const QString& aside);

private:
    void enqueue(ArchiveEvent event);
    void flush();
    bool ensureOpen();
    void fail(const ArchiveFailure& failure);
    bool moveDamagedAside();
    // Whether the idle time's work pays now, before the quiet time: enough waits for it.
    bool catchingUpPays();
    // The idle time's two steps, on an open file with nothing queued:
    // Copies the journal when versions wait for the index or it is long.
    void checkpointNow();
    // Indexes a slice of the versions waiting for the index; true when more wait (the idle
    // time goes on with them shortly, a slice at a time, so the window is never held long).
    bool indexNow();

    const ModelProfile& m_profile;
    QString m_path;
    std::unique_ptr<ArchiveFile> m_file;
    std::unique_ptr<ArchiveWriter> m_writer;
    std::deque<ArchiveEvent> m_queue;
    std::optional<ArchiveFailure> m_failure;
    RestoreOffer m_offer;
    QTimer m_retry;
    QTimer m_checkpoint;  // the idle time's work: checkpointNow(), indexNow()
    int m_idleDelayMs;
    int m_quietMs;
    QElapsedTimer m_sinceWrite;  // since the last change written
    bool m_catchingUp = false;   // the index's slices go on until nothing waits
    bool m_runStarted = false;   // the open file holds this run's row
};

}  // namespace trellicap::archive
