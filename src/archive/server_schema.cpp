#include "archive/server_schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "archive/archive_schema.h"
#include "archive/server_connection.h"

namespace trellicap::archive {

namespace {

// Any number the office's other applications are unlikely to take for their own locks.
constexpr const char* kMigrationLock = "7402318841";

bool exec(QSqlDatabase& server, const QString& statement, QString* error) {
    QSqlQuery query(server);
    if (!query.exec(statement)) {
        *error = serverReason(query.lastError());
        return false;
    }
    return true;
}

// The database's owner when it is a role the inspector belongs to but is not, else empty.
QString ownerGroupRole(QSqlDatabase& server) {
    QSqlQuery query(server);
    if (!query.exec(
            QStringLiteral("SELECT r.rolname FROM pg_database d JOIN pg_roles r ON r.oid = d.datdba"
                           " WHERE d.datname = current_database() AND r.rolname <> session_user"
                           " AND pg_has_role(session_user, r.oid, 'MEMBER')")) ||
        !query.next()) {
        return {};
    }
    return query.value(0).toString();
}

QString quotedIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// A free-text search is LIKE '%words%': on a server holding every laptop's records a plain
// index cannot serve it, a trigram index can (pg_trgm, a trusted extension that ships with
// PostgreSQL and that a database's owner may add). Where the extension is not allowed the
// search still works, scanning the table.
void addTextSearchIndex(QSqlDatabase& server) {
    QString ignored;
    if (exec(server, QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"), &ignored)) {
        exec(server,
             QStringLiteral("CREATE INDEX IF NOT EXISTS record_versions_search_words ON"
                            " record_versions USING gin (search_text gin_trgm_ops)"),
             &ignored);
    }
}

}  // namespace

QString prepareServerSchema(QSqlDatabase& server) {
    QString error;
    if (!exec(server, QStringLiteral("SELECT pg_advisory_lock(%1)").arg(kMigrationLock), &error)) {
        return error;
    }
    const QString owner = ownerGroupRole(server);
    bool ok = owner.isEmpty() ||
              exec(server, QStringLiteral("SET ROLE ") + quotedIdentifier(owner), &error);
    if (ok) {
        const MigrationResult migrated = migrateSchema(server);
        if (!migrated.ok) {
            error = migrated.error;
            ok = false;
        }
    }
    QString ignored;
    if (ok) {
        addTextSearchIndex(server);
    }
    if (!owner.isEmpty()) {
        exec(server, QStringLiteral("RESET ROLE"), &ignored);
    }
    exec(server, QStringLiteral("SELECT pg_advisory_unlock(%1)").arg(kMigrationLock), &ignored);
    return ok ? QString() : error;
}

}  // namespace trellicap::archive
