#include "archive/archive_checks.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "archive/search_index.h"

namespace trellicap::archive {

int versionCount(QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions")) && query.next()
               ? query.value(0).toInt()
               : 0;
}

int recordCount(QSqlDatabase& db, const QString& model) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM records WHERE model = ?"));
    query.addBindValue(model);
    return query.exec() && query.next() ? query.value(0).toInt() : 0;
}

IntegrityCheck checkIntegrity(QSqlDatabase& db) {
    IntegrityCheck check;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA integrity_check"))) {
        check.error = query.lastError().text();
        return check;
    }
    while (query.next()) {
        const QString result = query.value(0).toString();
        if (result != QLatin1String("ok")) {
            check.problems.append(result);
        }
    }
    query.finish();
    QSqlQuery index(db);
    if (index.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'version_search'")) &&
        index.next()) {
        index.finish();
        // The versions kept since the index's mark join it first: an engine that checks the
        // index against the versions would otherwise report them as missing from it.
        QString behind;
        if (!indexAllNewVersions(db, &behind)) {
            check.problems.append(
                QStringLiteral("the search index cannot be brought up to date (%1)").arg(behind));
        }
        QSqlQuery agree(db);
        if (!agree.exec(QStringLiteral(
                "INSERT INTO version_search (version_search) VALUES ('integrity-check')"))) {
            check.problems.append(
                QStringLiteral("the search index is damaged (%1)")
                    .arg(agree.lastError().databaseText().simplified()));
        }
    }
    return check;
}

}  // namespace trellicap::archive
