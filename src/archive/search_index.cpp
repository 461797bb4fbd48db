#include "archive/search_index.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <optional>

namespace trellicap::archive {

namespace {

QString indexError(const QSqlQuery& query) {
    const QString text = query.lastError().text().simplified();
    return text.isEmpty() ? QStringLiteral("the archive's search index cannot be written") : text;
}

bool hasIndexMark(QSqlDatabase& db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table'"
                                     " AND name = 'search_indexed'")) &&
           query.next();
}

// The mark and the newest version's rowid; nothing when they cannot be read.
struct MarkAndNewest {
    qint64 mark = 0;
    qint64 newest = 0;
};
std::optional<MarkAndNewest> markAndNewest(QSqlQuery& query) {
    if (!query.exec(QStringLiteral("SELECT up_to, (SELECT COALESCE(MAX(rowid), 0) FROM"
                                   " record_versions) FROM search_indexed")) ||
        !query.next()) {
        return std::nullopt;
    }
    MarkAndNewest read{query.value(0).toLongLong(), query.value(1).toLongLong()};
    query.finish();
    return read;
}

}  // namespace

IndexStep indexNewVersions(QSqlDatabase& db, int limit) {
    IndexStep step;
    if (!hasIndexMark(db)) {
        step.ok = true;
        return step;
    }
    QSqlQuery query(db);
    // Read first without a lock: most calls find nothing to do, and take no write lock then.
    const auto before = markAndNewest(query);
    if (!before) {
        step.error = indexError(query);
        return step;
    }
    if (before->newest <= before->mark) {
        step.ok = true;
        return step;
    }
    // The write lock before the mark is read again: two programs never index the same
    // versions (a second 'insert' of a row would be a second entry in the index).
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        step.error = indexError(query);
        return step;
    }
    const auto fail = [&step, &query, &db] {
        step.error = indexError(query);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return step;
    };
    const auto under = markAndNewest(query);
    if (!under) {
        return fail();
    }
    query.prepare(
        QStringLiteral("SELECT MAX(rowid), COUNT(*) FROM (SELECT rowid FROM record_versions"
                       " WHERE rowid > ? ORDER BY rowid LIMIT ?)"));
    query.addBindValue(under->mark);
    query.addBindValue(limit);
    if (!query.exec() || !query.next()) {
        return fail();
    }
    const qint64 upTo = query.value(0).toLongLong();
    step.indexed = query.value(1).toInt();
    query.finish();
    if (step.indexed > 0) {
        query.prepare(
            QStringLiteral("INSERT INTO version_search (rowid, search_text) SELECT rowid,"
                           " search_text FROM record_versions WHERE rowid > ? AND rowid <= ?"));
        query.addBindValue(under->mark);
        query.addBindValue(upTo);
        if (!query.exec()) {
            return fail();
        }
        query.prepare(QStringLiteral("UPDATE search_indexed SET up_to = ?"));
        query.addBindValue(upTo);
        if (!query.exec()) {
            return fail();
        }
    }
    if (!query.exec(QStringLiteral("COMMIT"))) {
        return fail();
    }
    step.ok = true;
    step.more = step.indexed > 0 && under->newest > upTo;
    return step;
}

bool indexAllNewVersions(QSqlDatabase& db, QString* error) {
    for (;;) {
        const IndexStep step = indexNewVersions(db);
        if (!step.ok) {
            if (error) {
                *error = step.error;
            }
            return false;
        }
        if (!step.more) {
            return true;
        }
    }
}

bool indexIsBehind(QSqlDatabase& db) {
    if (!hasIndexMark(db)) {
        return false;
    }
    QSqlQuery query(db);
    const auto read = markAndNewest(query);
    return read && read->newest > read->mark;
}

int versionsAwaitingIndex(QSqlDatabase& db) {
    if (!hasIndexMark(db)) {
        return 0;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions"
                                   " WHERE rowid > (SELECT up_to FROM search_indexed)")) ||
        !query.next()) {
        return -1;
    }
    return query.value(0).toInt();
}

}  // namespace trellicap::archive
