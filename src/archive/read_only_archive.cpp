#include "archive/read_only_archive.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include "archive/archive_schema.h"

namespace trellicap::archive {

namespace {

// The oldest schema a viewer reads: version 2 added the later arrivals it shows.
constexpr int kOldestReadable = 2;

QString oneLine(const QSqlError& error) {
    QString text = error.databaseText().simplified();
    if (text.isEmpty()) {
        text = error.driverText().simplified();
    }
    return text.isEmpty() ? error.text().simplified() : text;
}

}  // namespace

ReadOnlyArchive::ReadOnlyArchive()
    : m_name(QStringLiteral("trellicap-read-") +
             QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

ReadOnlyArchive::~ReadOnlyArchive() {
    if (m_db.isValid()) {
        m_db.close();
    }
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase::removeDatabase(m_name);
    }
}

bool ReadOnlyArchive::fail(const QString& reason) {
    m_error = reason;
    if (m_db.isOpen()) {
        m_db.close();
    }
    return false;
}

bool ReadOnlyArchive::open() {
    if (!m_db.isValid()) {
        if (!QSqlDatabase::isDriverAvailable(driver())) {
            return fail(QStringLiteral("Qt's %1 driver is not installed (Debian package %2)")
                            .arg(driver(), driver() == QLatin1String("QPSQL")
                                               ? QStringLiteral("libqt6sql6-psql")
                                               : QStringLiteral("libqt6sql6-sqlite")));
        }
        m_db = QSqlDatabase::addDatabase(driver(), m_name);
    }
    if (m_db.isOpen()) {
        m_db.close();
    }
    QString error;
    if (!configure(m_db, &error)) {
        return fail(error);
    }
    if (!m_db.open()) {
        return fail(
            QStringLiteral("%1 cannot be opened: %2").arg(describe(), oneLine(m_db.lastError())));
    }
    if (!enforceReadOnly(m_db, &error)) {
        return fail(QStringLiteral("%1 cannot be read safely: %2").arg(describe(), error));
    }
    const int version = schemaVersion(m_db, &error);
    if (version < 0) {
        return fail(QStringLiteral("%1 cannot be read: %2").arg(describe(), error));
    }
    if (version == 0) {
        return fail(QStringLiteral("%1 holds no archive yet").arg(describe()));
    }
    if (version > kSchemaVersion) {
        return fail(QStringLiteral("%1 was written by a newer program (schema version %2, this "
                                   "program reads up to %3)")
                        .arg(describe())
                        .arg(version)
                        .arg(kSchemaVersion));
    }
    if (version < kOldestReadable) {
        return fail(QStringLiteral("%1 is of an old schema (version %2): open it once with the "
                                   "window program or `trellicap-cli archive verify` to bring "
                                   "it up to date")
                        .arg(describe())
                        .arg(version));
    }
    m_error.clear();
    return true;
}

bool ReadOnlyFile::configure(QSqlDatabase& db, QString* error) {
    const QFileInfo file(m_path);
    if (!file.exists()) {
        *error = QStringLiteral("there is no archive \"%1\"").arg(m_path);
        return false;
    }
    if (!file.isFile()) {
        *error = QStringLiteral("\"%1\" is not a file").arg(m_path);
        return false;
    }
    db.setDatabaseName(m_path);
    // SQLite's own read-only mode: the engine refuses every write, whatever a statement says.
    // A writer's commit may hold the file for a moment: wait for it rather than fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
    return true;
}

bool ReadOnlyFile::enforceReadOnly(QSqlDatabase& db, QString* error) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA query_only = ON"))) {
        *error = oneLine(query.lastError());
        return false;
    }
    // A reader that searches the whole file again and again: its pages mapped into memory
    // rather than read through the system each time, and a larger cache of its own.
    query.exec(QStringLiteral("PRAGMA mmap_size = 1073741824"));
    query.exec(QStringLiteral("PRAGMA cache_size = -32768"));
    // The first read of the file tells a database from garbage.
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
        *error = oneLine(query.lastError());
        return false;
    }
    return true;
}

QString ReadOnlyFile::describe() const {
    return QStringLiteral("the archive \"%1\"").arg(m_path);
}

}  // namespace trellicap::archive
