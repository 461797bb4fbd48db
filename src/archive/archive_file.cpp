#include "archive/archive_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include "archive/archive_schema.h"

namespace trellicap::archive {

namespace {

// Long enough for another program's commit, short enough not to be felt in the window.
constexpr const char* kConnectOptions = "QSQLITE_BUSY_TIMEOUT=250";

std::optional<ArchiveFailure> execFailure(QSqlDatabase& db, const QString& statement) {
    QSqlQuery query(db);
    if (!query.exec(statement)) {
        return classifyFailure(query.lastError());
    }
    return std::nullopt;
}

}  // namespace

ArchiveFile::ArchiveFile(QString path)
    : m_path(std::move(path)),
      m_connection(QStringLiteral("QSQLITE"), QStringLiteral("trellicap-archive")) {}

ArchiveFile::~ArchiveFile() = default;

void ArchiveFile::close() {
    m_connection.close();
}

// The connection's settings and the schema brought up to date, on a file just opened.
static std::optional<ArchiveFailure> setUp(QSqlDatabase& db) {
    // A kept version's values are deflated to some 200 bytes (record_codes.h): 4 KB pages
    // hold them well, and a capture's commit writes a page for each table and index it
    // touches, so small pages keep the commit short. Only a new file takes it: an archive
    // made with 16 KB pages (when values were kept as they are) keeps them.
    if (auto failure = execFailure(db, QStringLiteral("PRAGMA page_size=4096"))) {
        return failure;
    }
    // The first read of the file tells a database from garbage.
    if (auto failure = execFailure(db, QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
        return failure;
    }
    // A read-only file keeps the journal it has; the first write will say why it cannot.
    if (auto failure = execFailure(db, QStringLiteral("PRAGMA journal_mode=WAL"));
        failure && failure->kind != FailureKind::ReadOnly) {
        return failure;
    }
    if (auto failure = execFailure(db, QStringLiteral("PRAGMA synchronous=FULL"))) {
        return failure;
    }
    // The keeper copies the journal into the file between captures every few dozen
    // (ArchiveKeeper::idleNow); the engine's own copy inside a commit, which would make that
    // commit slow, comes only after some thousand captures without a pause. A journal started
    // anew keeps four megabytes of its blocks (what the keeper lets grow between two copies
    // fits in them, so a capture's commit never has to grow the file) and is cut back to them,
    // so its size says how much it holds once it is longer.
    if (auto failure = execFailure(db, QStringLiteral("PRAGMA wal_autocheckpoint=16000"))) {
        return failure;
    }
    if (auto failure = execFailure(db, QStringLiteral("PRAGMA journal_size_limit=4194304"))) {
        return failure;
    }
    const MigrationResult migrated = migrateSchema(db);
    if (!migrated.ok) {
        if (migrated.engineError.isValid()) {
            return classifyFailure(migrated.engineError);
        }
        return ArchiveFailure{FailureKind::Other, migrated.error};
    }
    return std::nullopt;
}

std::optional<ArchiveFailure> ArchiveFile::open() {
    QSqlDatabase& db = m_connection.db();
    if (!m_connection.isValid()) {
        return ArchiveFailure{FailureKind::Other,
                              QStringLiteral("the SQLite driver of Qt is missing "
                                             "(Debian package libqt6sql6-sqlite)")};
    }
    close();
    db.setDatabaseName(m_path);
    db.setConnectOptions(QString::fromLatin1(kConnectOptions));
    if (!db.open()) {
        return classifyFailure(db.lastError());
    }
    // A file left half set up (a lock held by another program while the schema was checked,
    // say) is closed again, so that the next try sets it up from the start.
    if (auto failure = setUp(db)) {
        close();
        return failure;
    }
    return std::nullopt;
}

QString ArchiveFile::renameAside(QString* error) {
    close();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n) {
        aside =
            m_path + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    }
    QFile file(m_path);
    if (!file.rename(aside)) {
        *error = file.errorString();
        return {};
    }
    // The journal belongs to the damaged file: keep it beside it, never apply it to a new one.
    QFile::rename(m_path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(m_path + QStringLiteral("-shm"));
    return aside;
}

}  // namespace trellicap::archive
