// The pieces every team server test needs: a cluster (or the skip line), the address of its
// database, and a count on either engine.
#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include "archive/server_address.h"
#include "support/pg_cluster.h"

namespace trellicap::archive::test {

inline ServerAddress addressOf(const trellicap::testing::PgCluster& cluster,
                               const QString& user = {}, const QString& database = {}) {
    return {user.isEmpty() ? cluster.superuser() : user, cluster.host(), cluster.port(),
            database.isEmpty() ? cluster.database() : database};
}

inline long long countRows(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next()) {
        return -1;
    }
    return query.value(0).toLongLong();
}

}  // namespace trellicap::archive::test

// Starts `cluster` or skips the test with the one line that says why it cannot run here.
#define TRELLICAP_START_PG_OR_SKIP(cluster)                                               \
    if (!trellicap::testing::PgCluster::unavailableReason().isEmpty()) {                  \
        GTEST_SKIP() << trellicap::testing::PgCluster::unavailableReason().toStdString(); \
    }                                                                                     \
    ASSERT_TRUE((cluster).start()) << (cluster).error().toStdString()
