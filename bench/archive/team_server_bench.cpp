// The team server over loopback, against a PostgreSQL server this program starts itself:
// the sync's throughput (records per second, goal >= 500) from a local archive of 2,000
// records into a fresh server database each time, and a search on a server holding 100,000
// records (goal <= 100 ms), by text alone and by text within a date range.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "archive/archive_schema.h"
#include "archive/archive_search.h"
#include "archive/archive_sync.h"
#include "archive/server_connection.h"
#include "archive/server_schema.h"
#include "archive/sync_local.h"
#include "archive_filler.h"
#include "qt_bench_main.h"
#include "support/pg_cluster.h"

namespace {

using namespace trellicap::archive;
using trellicap::testing::PgCluster;

constexpr int kSyncRecords = 2000;
constexpr int kSearchRecords = 100000;
// 2026-12-08 09:00 UTC, one record a minute from there.
constexpr long long kFirstArrivalMs = 1796720400000LL;

PgCluster* cluster() {
    static std::unique_ptr<PgCluster> running = [] {
        auto made = std::make_unique<PgCluster>();
        if (!PgCluster::unavailableReason().isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(PgCluster::unavailableReason()));
            return std::unique_ptr<PgCluster>();
        }
        if (!made->start()) {
            std::fprintf(stderr, "no server: %s\n", qPrintable(made->error()));
            return std::unique_ptr<PgCluster>();
        }
        return made;
    }();
    return running.get();
}

ServerAddress addressOf(const QString& database) {
    return {cluster()->superuser(), cluster()->host(), cluster()->port(), database};
}

bool execOn(const QString& database, const QString& sql) {
    ServerConnection server(addressOf(database));
    if (!server.open()) {
        return false;
    }
    QSqlQuery query(server.database());
    if (!query.exec(sql)) {
        std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
        return false;
    }
    return true;
}

// A local archive of kSyncRecords TFT records, made once.
const QString& localArchive() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("archive.sqlite"));
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(file);
        db.open();
        if (!migrateSchema(db).ok) {
            std::fprintf(stderr, "the local archive cannot be made\n");
        }
        test::ArchiveFiller filler(db);
        filler.addRecords(kSyncRecords);
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("fill"));
        return file;
    }();
    return path;
}

void BM_SyncOverLoopback(benchmark::State& state) {
    if (cluster() == nullptr) {
        state.SkipWithError("PostgreSQL cannot run here");
        return;
    }
    SyncLocalArchive local(localArchive());
    if (!local.open()) {
        state.SkipWithError("no local archive");
        return;
    }
    QSqlDatabase localDb = local.database();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString database = QStringLiteral("sync_%1").arg(++round);
        execOn(cluster()->database(), QStringLiteral("CREATE DATABASE ") + database);
        state.ResumeTiming();
        ServerConnection server(addressOf(database));
        server.open();
        QSqlDatabase serverDb = server.database();
        const SyncResult result =
            syncArchive(localDb, serverDb, {QStringLiteral("/bench"), database});
        if (!result.ok || result.sent != kSyncRecords) {
            state.SkipWithError(qPrintable(QStringLiteral("sync failed: ") + result.error));
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * kSyncRecords);
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kSyncRecords), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SyncOverLoopback)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The server's database of kSearchRecords records, filled once by the server itself.
bool searchDatabaseReady() {
    static const bool ready = [] {
        if (cluster() == nullptr ||
            !execOn(cluster()->database(), QStringLiteral("CREATE DATABASE search100k"))) {
            return false;
        }
        ServerConnection server(addressOf(QStringLiteral("search100k")));
        if (!server.open()) {
            return false;
        }
        QSqlDatabase db = server.database();
        if (!prepareServerSchema(db).isEmpty()) {
            return false;
        }
        QSqlQuery fill(db);
        const bool filled =
            fill.exec(
                QStringLiteral(
                    "INSERT INTO record_versions (uuid, version, model, slot, source, source_path,"
                    " arrived, arrived_ms, time_date, content_hash, header_json, range_text,"
                    " delay_text, gain_text, gate1_text, gate2_text, search_text)"
                    " SELECT 'u' || g, 1, CASE WHEN g % 4 = 0 THEN 'dac' ELSE 'tft' END,"
                    " 1 + g % 200, 'capture', NULL,"
                    " to_char(to_timestamp((%1 + g::bigint * 60000) / 1000.0) AT TIME ZONE 'UTC',"
                    " 'YYYY-MM-DD\"T\"HH24:MI:SS') || '+00:00', %1 + g::bigint * 60000,"
                    " '2026-12-08T14:02:00', md5(g::text),"
                    " '{\"txtoperator\":\"Operator ' || g || '\",\"txtlocation\":\"Pier ' || (g % "
                    "97) || '\"}',"
                    " '100', '0', '40.0', 'On', 'Off',"
                    " 'operator ' || g || ' pier ' || (g % 97) FROM generate_series(1, %2) g")
                    .arg(kFirstArrivalMs)
                    .arg(kSearchRecords)) &&
            fill.exec(QStringLiteral("INSERT INTO records (uuid, model, slot, latest_version)"
                                     " SELECT uuid, model, slot, 1 FROM record_versions")) &&
            fill.exec(QStringLiteral(
                "INSERT INTO record_values (uuid, version, codes)"
                " SELECT uuid, 1, decode(repeat('00', 1402), 'hex') FROM record_versions")) &&
            fill.exec(QStringLiteral("ANALYZE"));
        if (!filled) {
            std::fprintf(stderr, "%s\n", qPrintable(fill.lastError().text()));
        }
        return filled;
    }();
    return ready;
}

// expected < 0: any number of records, shown as the counter "found".
void searchOnServer(benchmark::State& state, const SearchFilter& filter, int expected) {
    if (!searchDatabaseReady()) {
        state.SkipWithError("no server database of 100,000 records");
        return;
    }
    ServerConnection server(addressOf(QStringLiteral("search100k")));
    server.open();
    QSqlDatabase db = server.database();
    for (auto _ : state) {
        QString error;
        const auto found = searchArchive(db, filter, &error);
        if (!error.isEmpty() || (expected >= 0 && static_cast<int>(found.size()) != expected)) {
            state.SkipWithError(
                qPrintable(QStringLiteral("found %1 %2").arg(found.size()).arg(error)));
            return;
        }
        state.counters["found"] = static_cast<double>(found.size());
        benchmark::DoNotOptimize(found.data());
    }
}

void BM_ServerSearchByText(benchmark::State& state) {
    SearchFilter filter;
    filter.text = QStringLiteral("operator 4242 ");
    searchOnServer(state, filter, 1);
}
BENCHMARK(BM_ServerSearchByText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ServerSearchByTextAndDate(benchmark::State& state) {
    SearchFilter filter;
    filter.text = QStringLiteral("pier 13");  // pier 13 and pier 13x: a few hundred a week
    filter.fromMs = kFirstArrivalMs;
    filter.toMs = kFirstArrivalMs + 7LL * 24 * 3600 * 1000;
    searchOnServer(state, filter, -1);
}
BENCHMARK(BM_ServerSearchByTextAndDate)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QCoreApplication>(argc, argv);
}
