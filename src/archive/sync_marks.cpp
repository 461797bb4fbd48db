#include "archive/sync_marks.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "archive/server_address.h"

namespace trellicap::archive {

namespace {

QString reason(const QSqlError& error) {
    return error.text().simplified();
}

// Runs fill() inside one local transaction; the archive of the window program may hold the
// write lock for a moment, which the connection's busy timeout waits out.
template <typename Fill>
QString inTransaction(QSqlDatabase& local, Fill fill) {
    if (!local.transaction()) {
        return reason(local.lastError());
    }
    QString error = fill();
    if (error.isEmpty() && !local.commit()) {
        error = reason(local.lastError());
    }
    if (!error.isEmpty()) {
        local.rollback();
    }
    return error;
}

}  // namespace

QString archiveUuid(QSqlDatabase& db) {
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT value FROM archive_info WHERE name = 'archive_uuid'")) &&
        query.next()) {
        return query.value(0).toString();
    }
    return {};
}

QString serverKey(const QString& serverUrl) {
    const ServerAddressParse parse = parseServerAddress(serverUrl);
    return parse.ok() ? serverAddressText(parse.address) : serverUrl.trimmed();
}

SyncHistory syncHistory(QSqlDatabase& local, const QString& serverUrl) {
    // Rows written before the key was the canonical address may spell it otherwise.
    SyncHistory history;
    const QString key = serverKey(serverUrl);
    QSqlQuery query(local);
    if (!query.exec(
            QStringLiteral("SELECT server_url, server_uuid, last_sync FROM sync_servers"))) {
        return history;
    }
    QDateTime newest;
    while (query.next()) {
        if (serverKey(query.value(0).toString()) != key) {
            continue;
        }
        const QString lastSync = query.value(2).toString();
        const QDateTime when = QDateTime::fromString(lastSync, Qt::ISODate);
        if (history.lastSync.isEmpty() || (when.isValid() && when > newest)) {
            history.serverUuid = query.value(1).toString();
            history.lastSync = lastSync;
            newest = when;
        }
    }
    return history;
}

QString noteSyncDone(QSqlDatabase& local, const QString& serverUuid, const QString& serverUrl,
                     const QString& when) {
    const QString key = serverKey(serverUrl);
    return inTransaction(local, [&]() -> QString {
        QSqlQuery rows(local);
        if (!rows.exec(QStringLiteral("SELECT server_url FROM sync_servers"))) {
            return reason(rows.lastError());
        }
        QStringList others;
        while (rows.next()) {
            const QString url = rows.value(0).toString();
            if (url != key && serverKey(url) == key) {
                others.append(url);
            }
        }
        QSqlQuery query(local);
        query.prepare(QStringLiteral("DELETE FROM sync_servers WHERE server_url = ?"));
        for (const QString& url : others) {
            query.bindValue(0, url);
            if (!query.exec()) {
                return reason(query.lastError());
            }
        }
        query.prepare(QStringLiteral(
            "INSERT OR REPLACE INTO sync_servers (server_url, server_uuid, last_sync)"
            " VALUES (?, ?, ?)"));
        query.addBindValue(key);
        query.addBindValue(serverUuid);
        query.addBindValue(when);
        return query.exec() ? QString() : reason(query.lastError());
    });
}

QString markVersionsSent(QSqlDatabase& local, const QString& serverUuid,
                         const QList<SentVersion>& versions) {
    return inTransaction(local, [&]() -> QString {
        // A batch's marks in one statement, its keys as one JSON text, where the engine reads
        // JSON; else one statement per version.
        QByteArray keys = "[";
        for (const SentVersion& version : versions) {
            if (keys.size() > 1) {
                keys += ',';
            }
            keys += "[\"";
            for (const char c : version.uuid.toUtf8()) {
                if (c == '"' || c == '\\') {
                    keys += '\\';
                    keys += c;
                } else if (static_cast<unsigned char>(c) < 0x20) {
                    keys += "\\u00" + QByteArray::number(static_cast<unsigned char>(c), 16)
                                          .rightJustified(2, '0');
                } else {
                    keys += c;
                }
            }
            keys += "\"," + QByteArray::number(version.version) + ']';
        }
        keys += ']';
        QSqlQuery all(local);
        if (all.prepare(QStringLiteral(
                "INSERT OR IGNORE INTO sync_sent (server_uuid, uuid, version) SELECT ?,"
                " json_extract(value, '$[0]'), json_extract(value, '$[1]') FROM json_each(?)"))) {
            all.addBindValue(serverUuid);
            all.addBindValue(QString::fromUtf8(keys));
            return all.exec() ? QString() : reason(all.lastError());
        }
        QSqlQuery insert(local);
        insert.prepare(QStringLiteral(
            "INSERT OR IGNORE INTO sync_sent (server_uuid, uuid, version) VALUES (?, ?, ?)"));
        for (const SentVersion& version : versions) {
            insert.bindValue(0, serverUuid);
            insert.bindValue(1, version.uuid);
            insert.bindValue(2, version.version);
            if (!insert.exec()) {
                return reason(insert.lastError());
            }
        }
        return {};
    });
}

QString markSavedInSent(QSqlDatabase& local, const QString& serverUuid,
                        const QList<SentSavedIn>& notes) {
    return inTransaction(local, [&]() -> QString {
        QSqlQuery insert(local);
        insert.prepare(QStringLiteral(
            "INSERT OR IGNORE INTO sync_sent_saved_in (server_uuid, uuid, version, path)"
            " VALUES (?, ?, ?, ?)"));
        for (const SentSavedIn& note : notes) {
            insert.bindValue(0, serverUuid);
            insert.bindValue(1, note.uuid);
            insert.bindValue(2, note.version);
            insert.bindValue(3, note.path);
            if (!insert.exec()) {
                return reason(insert.lastError());
            }
        }
        return {};
    });
}

}  // namespace trellicap::archive
