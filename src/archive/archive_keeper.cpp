#include "archive/archive_keeper.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>

#include "archive/archive_file.h"
#include "archive/archive_writer.h"
#include "archive/search_index.h"

namespace trellicap::archive {

namespace {

constexpr int kRetryMs = 3000;
constexpr int kCheckpointDelayMs = 1000;
// Some hundred captures' worth of journal (a capture adds some 40 KB with 4 KB pages); more
// than the journal keeps when it starts anew (archive_file.cpp), so its size says how much
// it holds.
constexpr qint64 kCheckpointJournalBytes = 8 * 1024 * 1024;
// While captures follow each other, the idle time between two of them leaves the versions
// kept in the journal, unindexed (a search scans them), until this many wait: copying the
// journal and indexing after every capture cost it twice the CPU of its own commit, done for
// thirty-two at once a fifth of that per capture, and the commits themselves got cheaper.
// Some 1.4 MB of journal, inside the blocks it keeps, so no commit has to grow the file.
constexpr int kIndexWorthVersions = 32;
// Once nothing was written for this long (the inspector paused), the rest is done anyway.
constexpr int kQuietMs = 15000;
// The index's slices in the window's idle time: some ten milliseconds each, the next soon
// after, so that an archive a crash left behind catches up in seconds without a pause felt.
constexpr int kIndexSlice = 500;
constexpr int kIndexAgainMs = 20;

}  // namespace

ArchiveKeeper::ArchiveKeeper(const ModelProfile& profile, QString path, QObject* parent)
    : QObject(parent),
      m_profile(profile),
      m_path(std::move(path)),
      m_writer(std::make_unique<ArchiveWriter>(
          profile, QUuid::createUuid().toString(QUuid::WithoutBraces))) {
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &ArchiveKeeper::flush);
    m_checkpoint.setSingleShot(true);
    m_idleDelayMs = kCheckpointDelayMs;
    m_quietMs = kQuietMs;
    connect(&m_checkpoint, &QTimer::timeout, this, &ArchiveKeeper::idleNow);
}

ArchiveKeeper::~ArchiveKeeper() {
    // What the run kept since its last idle time joins the search index before it ends (the
    // window's exit, the command line's import): a second's worth, or one import. A crash
    // leaves it to the next run.
    if (m_file && m_file->isOpen() && m_queue.empty()) {
        (void)indexNewVersions(m_file->db(), kIndexBatch);
    }
    // The statements go before their connection.
    m_writer.reset();
}

void ArchiveKeeper::start() {
    if (ensureOpen()) {
        m_offer = findRestoreOffer(m_file->db(), m_profile, m_writer->runId());
    }
    flush();
}

void ArchiveKeeper::keepFiled(int column, std::span<const RecordValue> values, Source source) {
    ArchiveEvent event;
    event.kind = ArchiveEvent::Kind::Keep;
    event.source = source;
    event.record = {column + 1, {values.begin(), values.end()}};
    enqueue(std::move(event));
}

void ArchiveKeeper::keepHeaderStore(int column, std::span<const RecordValue> values) {
    ArchiveEvent event;
    event.kind = ArchiveEvent::Kind::HeaderStore;
    event.record = {column + 1, {values.begin(), values.end()}};
    enqueue(std::move(event));
}

void ArchiveKeeper::keepLoaded(const QString& path, std::vector<SlotValues> loaded, bool whole) {
    ArchiveEvent event;
    event.kind = ArchiveEvent::Kind::Load;
    event.path = path;
    event.loaded = std::move(loaded);
    if (whole) {
        // Read now: the queue may wait for a locked archive while the file changes.
        event.file = recordFileFacts(path);
    }
    enqueue(std::move(event));
}

void ArchiveKeeper::noteSaved(const QString& path) {
    ArchiveEvent event;
    event.kind = ArchiveEvent::Kind::Saved;
    event.path = path;
    event.file = recordFileFacts(path);
    enqueue(std::move(event));
}

void ArchiveKeeper::keepCleared() {
    ArchiveEvent event;
    event.kind = ArchiveEvent::Kind::Cleared;
    enqueue(std::move(event));
}

void ArchiveKeeper::endRunCleanly() {
    ArchiveEvent event;
    event.kind = ArchiveEvent::Kind::EndRun;
    enqueue(std::move(event));
}

void ArchiveKeeper::restoreTaken() {
    ArchiveEvent event;
    event.kind = ArchiveEvent::Kind::MarkOffered;
    event.runIds = m_offer.runIds;
    m_offer = {};
    enqueue(std::move(event));
}

QString ArchiveKeeper::statusText() const {
    if (!m_failure) {
        return {};
    }
    const int count = waiting();
    return QStringLiteral("Archive not written: %1; %2 %3 waiting")
        .arg(m_failure->reason)
        .arg(count)
        .arg(count == 1 ? QStringLiteral("change") : QStringLiteral("changes"));
}

void ArchiveKeeper::enqueue(ArchiveEvent event) {
    // In UTC, which costs nothing to read; the archive writes it as local time.
    event.arrived = QDateTime::currentDateTimeUtc();
    m_queue.push_back(std::move(event));
    if (m_failure) {
        // The timer tries again; until then the status counts what waits.
        emit statusChanged();
        return;
    }
    flush();
}

bool ArchiveKeeper::ensureOpen() {
    // Made at the first need: the database driver is loaded then, not at the program's start.
    if (!m_file) {
        m_file = std::make_unique<ArchiveFile>(m_path);
    }
    if (m_file->isOpen()) {
        return true;
    }
    m_runStarted = false;
    m_writer->forgetStatements();
    if (auto failure = m_file->open()) {
        if (failure->kind == FailureKind::Damaged && moveDamagedAside()) {
            return ensureOpen();
        }
        fail(*failure);
        return false;
    }
    return true;
}

void ArchiveKeeper::flush() {
    m_retry.stop();
    if (!ensureOpen()) {
        return;
    }
    const bool wasFailing = m_failure.has_value();
    // A file started anew (damaged, or missing until now) learns of this run first.
    if (!m_runStarted) {
        ArchiveEvent startRun;
        startRun.kind = ArchiveEvent::Kind::StartRun;
        startRun.arrived = QDateTime::currentDateTimeUtc();
        if (auto failure = m_writer->apply(m_file->db(), startRun)) {
            fail(*failure);
            return;
        }
        m_runStarted = true;
    }
    while (!m_queue.empty()) {
        if (auto failure = m_writer->apply(m_file->db(), m_queue.front())) {
            if (failure->kind == FailureKind::Damaged && moveDamagedAside() && ensureOpen()) {
                flush();
                return;
            }
            fail(*failure);
            return;
        }
        m_queue.pop_front();
    }
    m_failure.reset();
    m_sinceWrite.start();
    m_checkpoint.start(m_idleDelayMs);
    if (wasFailing) {
        emit statusChanged();
    }
}

bool ArchiveKeeper::idleNow() {
    m_checkpoint.stop();
    if (!m_file || !m_file->isOpen() || !m_queue.empty()) {
        return false;
    }
    if (!m_catchingUp) {
        const qint64 quietFor = m_sinceWrite.isValid() ? m_sinceWrite.elapsed() : m_quietMs;
        if (quietFor < m_quietMs && !catchingUpPays()) {
            m_checkpoint.start(static_cast<int>(m_quietMs - quietFor));
            return false;
        }
    }
    checkpointNow();
    m_catchingUp = indexNow();
    if (m_catchingUp) {
        m_checkpoint.start(kIndexAgainMs);
    }
    return true;
}

bool ArchiveKeeper::catchingUpPays() {
    const int waiting = versionsAwaitingIndex(m_file->db());
    return waiting < 0 || waiting >= kIndexWorthVersions ||
           QFileInfo(m_path + QStringLiteral("-wal")).size() >= kCheckpointJournalBytes;
}

void ArchiveKeeper::checkpointNow() {
    // The first commit after a complete copy starts the journal anew, which costs it a second
    // flush to the disk: the index's transaction right after takes that on. Without one, only
    // a long journal is worth a copy. A journal kept short is never cut back
    // (journal_size_limit), so a capture's commit writes into the file's own blocks and
    // never has to flush the file's new size too.
    if (!indexIsBehind(m_file->db()) &&
        QFileInfo(m_path + QStringLiteral("-wal")).size() < kCheckpointJournalBytes) {
        return;
    }
    // PASSIVE: copies what no reader still needs and never waits for one.
    QSqlQuery(m_file->db()).exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

bool ArchiveKeeper::indexNow() {
    // A failure (a lock another program holds, say) is tried again after the next change or
    // start; a search meanwhile looks through the unindexed versions as the scan does.
    const IndexStep step = indexNewVersions(m_file->db(), kIndexSlice);
    return step.ok && step.more;
}

void ArchiveKeeper::fail(const ArchiveFailure& failure) {
    m_failure = failure;
    m_writer->forgetStatements();
    // A lock passes by itself. Anything else may have left the connection as it found the
    // file (read-only, say): the next try opens it afresh.
    if (failure.kind != FailureKind::Locked) {
        m_file->close();
    }
    // A lock or a full disk passes; a file that cannot be opened may come back (a medium
    // put back): keep trying either way.
    m_retry.start();
    emit statusChanged();
}

bool ArchiveKeeper::moveDamagedAside() {
    m_writer->forgetStatements();
    QString error;
    const QString aside = m_file->renameAside(&error);
    if (aside.isEmpty()) {
        m_failure = ArchiveFailure{FailureKind::Damaged,
                                   QStringLiteral("the archive file is damaged and could not be "
                                                  "renamed aside (%1)")
                                       .arg(error)};
        return false;
    }
    m_runStarted = false;
    emit damagedFileMoved(m_path, aside);
    return true;
}

}  // namespace trellicap::archive
