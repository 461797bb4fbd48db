// The team server over loopback, against a PostgreSQL server this program starts itself,
// each figure beside the engine alone in the same run:
//   sync      records per second from a local archive of 10,000 records into a fresh server
//             database each time (goal >= 5,000/s; the sync makes the archive's tables there
//             first), and into one whose tables a sync made before (as an office's server
//             is), against libpq's COPY of the same rows into a scratch table, and into the
//             archive's own tables through a staging table (the engine doing the archive's
//             work, its tables made beforehand; goal: the sync at >= 0.5 of it)
//   search    a server holding 1,000,000 records, by text alone (goal <= 30 ms) and by text
//             within a date range
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "archive/archive_file.h"
#include "archive/archive_schema.h"
#include "archive/archive_search.h"
#include "archive/archive_sync.h"
#include "archive/archive_writer.h"
#include "archive/server_connection.h"
#include "archive/server_schema.h"
#include "archive/sync_local.h"
#include "archive/version_columns.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "record/header_fields.h"
#include "support/pg_cluster.h"

namespace {

using namespace trellicap::archive;
using trellicap::testing::PgCluster;

constexpr int kSyncRecords = 10000;
constexpr int kSearchRecords = 1000000;
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

// A record as a shift makes them: a trace, the slot, three header fields.
std::vector<trellicap::RecordValue> varied(int n) {
    const trellicap::ModelProfile& profile = trellicap::tft::kProfile;
    std::vector<trellicap::RecordValue> record(static_cast<std::size_t>(profile.recordSize()), 32);
    for (int i = 0; i <= 250; ++i) {
        record[static_cast<std::size_t>(i)] =
            static_cast<trellicap::RecordValue>((i * 7 + n * 13) % 101);
    }
    std::vector<QString> header(profile.headerFields.size());
    header[0] = QStringLiteral("Operator %1").arg(n % 5000);
    header[1] = QStringLiteral("Workshop %1").arg(n % 37);
    header[2] = QStringLiteral("Axle %1").arg(n);
    trellicap::storeHeaderFields(profile, header, record);
    return record;
}

// A local archive of kSyncRecords TFT records as the window keeps them (values deflated,
// the search index), made once.
const QString& localArchive() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("archive.sqlite"));
        ArchiveFile archive(file);
        if (archive.open()) {
            std::fprintf(stderr, "the local archive cannot be made\n");
            return file;
        }
        QSqlQuery(archive.db()).exec(QStringLiteral("PRAGMA synchronous=OFF"));
        ArchiveWriter writer(trellicap::tft::kProfile, QStringLiteral("bench"));
        ArchiveEvent keep;
        keep.kind = ArchiveEvent::Kind::Keep;
        for (int n = 0; n < kSyncRecords; ++n) {
            keep.arrived = QDateTime::currentDateTime().addSecs(-86 * (kSyncRecords - n));
            keep.record = {n % trellicap::kSlotCount + 1, varied(n)};
            (void)writer.apply(archive.db(), keep);
        }
        writer.forgetStatements();
        return file;
    }();
    return path;
}

void syncOverLoopback(benchmark::State& state, bool tablesMade) {
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
    bool copied = false;
    for (auto _ : state) {
        state.PauseTiming();
        const QString database = QStringLiteral("sync_%1_%2").arg(tablesMade).arg(++round);
        execOn(cluster()->database(), QStringLiteral("CREATE DATABASE ") + database);
        if (tablesMade) {
            ServerConnection server(addressOf(database));
            server.open();
            QSqlDatabase db = server.database();
            (void)prepareServerSchema(db);
        }
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
        copied = result.copied;
    }
    state.SetItemsProcessed(state.iterations() * kSyncRecords);
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kSyncRecords), benchmark::Counter::kIsRate);
    state.counters["by_copy"] = copied ? 1 : 0;
}

void BM_SyncOverLoopback(benchmark::State& state) {
    syncOverLoopback(state, false);
}
BENCHMARK(BM_SyncOverLoopback)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_SyncIntoMadeTables(benchmark::State& state) {
    syncOverLoopback(state, true);
}
BENCHMARK(BM_SyncIntoMadeTables)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The rows the sync sends, read once: each version's columns and its values, as COPY's text.
QByteArray copyRows() {
    static const QByteArray rows = [] {
        SyncLocalArchive local(localArchive());
        QByteArray text;
        if (!local.open()) {
            return text;
        }
        QSqlDatabase db = local.database();
        QSqlQuery pick(db);
        pick.setForwardOnly(true);
        QStringList columns;
        for (const QString& name : storedColumnNames()) {
            columns.append(QStringLiteral("v.") + name);
        }
        pick.exec(
            QStringLiteral("SELECT %1, c.codes, c.packing FROM record_versions v"
                           " JOIN record_values c ON c.uuid = v.uuid AND c.version = v.version")
                .arg(columns.join(QStringLiteral(", "))));
        const int count = static_cast<int>(storedColumnNames().size()) + 2;
        while (pick.next()) {
            for (int i = 0; i < count; ++i) {
                const QVariant value = pick.value(i);
                if (i > 0) {
                    text += '\t';
                }
                if (value.isNull()) {
                    text += "\\N";
                } else if (i == count - 2) {
                    text += "\\\\x" + value.toByteArray().toHex();
                } else {
                    QByteArray field = value.toString().toUtf8();
                    field.replace('\\', "\\\\").replace('\t', "\\t").replace('\n', "\\n");
                    text += field;
                }
            }
            text += '\n';
        }
        return text;
    }();
    return rows;
}

// The engine alone: libpq's COPY of the same rows, into a scratch table of the same columns
// (nothing but the rows), or into a staging table and from there, with INSERT ... SELECT, into
// the archive's own tables with their keys and indexes (the archive's work, as fast as the
// engine does it).
void engineCopy(benchmark::State& state, bool intoArchiveTables) {
    if (cluster() == nullptr) {
        state.SkipWithError("PostgreSQL cannot run here");
        return;
    }
    const QByteArray rows = copyRows();
    QStringList typed;
    const QStringList names = storedColumnNames();
    for (const QString& name : names) {
        typed.append(name + (name == QLatin1String("version") || name == QLatin1String("slot")
                                 ? QStringLiteral(" integer")
                             : name == QLatin1String("arrived_ms") ? QStringLiteral(" bigint")
                                                                   : QStringLiteral(" text")));
    }
    typed << QStringLiteral("codes bytea") << QStringLiteral("packing integer");
    const QByteArray list = names.join(QStringLiteral(", ")).toUtf8();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString database = QStringLiteral("copy_%1_%2").arg(intoArchiveTables).arg(++round);
        execOn(cluster()->database(), QStringLiteral("CREATE DATABASE ") + database);
        if (intoArchiveTables) {
            ServerConnection server(addressOf(database));
            server.open();
            QSqlDatabase db = server.database();
            (void)prepareServerSchema(db);
        }
        const QByteArray conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                        .arg(cluster()->host())
                                        .arg(cluster()->port())
                                        .arg(cluster()->superuser(), database)
                                        .toUtf8();
        PGconn* connection = PQconnectdb(conninfo.constData());
        const auto run = [connection](const QByteArray& sql) {
            PGresult* result = PQexec(connection, sql.constData());
            const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK ||
                            PQresultStatus(result) == PGRES_COPY_IN;
            PQclear(result);
            return ok;
        };
        state.ResumeTiming();
        bool ok = run("BEGIN") &&
                  run("CREATE TEMP TABLE stage (" + typed.join(QStringLiteral(", ")).toUtf8() +
                      ") ON COMMIT DROP") &&
                  run("COPY stage FROM STDIN") &&
                  PQputCopyData(connection, rows.constData(), static_cast<int>(rows.size())) == 1 &&
                  PQputCopyEnd(connection, nullptr) == 1;
        if (ok) {
            PGresult* result = PQgetResult(connection);
            ok = PQresultStatus(result) == PGRES_COMMAND_OK;
            PQclear(result);
        }
        if (ok && intoArchiveTables) {
            ok = run("INSERT INTO record_versions (" + list + ") SELECT " + list +
                     " FROM stage ON CONFLICT DO NOTHING") &&
                 run("INSERT INTO record_values (uuid, version, codes, packing) SELECT uuid,"
                     " version, codes, packing FROM stage ON CONFLICT DO NOTHING") &&
                 run("INSERT INTO records (uuid, model, slot, latest_version) SELECT DISTINCT ON"
                     " (uuid) uuid, model, slot, version FROM stage ORDER BY uuid, version DESC"
                     " ON CONFLICT (uuid) DO UPDATE SET latest_version ="
                     " GREATEST(records.latest_version, EXCLUDED.latest_version)") &&
                 run("INSERT INTO sent_from (uuid, version, laptop_uuid, working_folder,"
                     " inspector) SELECT uuid, version, 'bench', '/bench', session_user FROM stage"
                     " ON CONFLICT DO NOTHING");
        } else if (ok) {
            ok = run("CREATE TABLE scratch AS SELECT * FROM stage");
        }
        ok = ok && run("COMMIT");
        if (!ok) {
            state.SkipWithError(PQerrorMessage(connection));
        }
        state.PauseTiming();
        PQfinish(connection);
        state.ResumeTiming();
        if (!ok) {
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kSyncRecords);
    state.counters["records_per_s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kSyncRecords), benchmark::Counter::kIsRate);
}

void BM_EngineCopyOverLoopback(benchmark::State& state) {
    engineCopy(state, false);
}
BENCHMARK(BM_EngineCopyOverLoopback)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_EngineCopyIntoArchiveTables(benchmark::State& state) {
    engineCopy(state, true);
}
BENCHMARK(BM_EngineCopyIntoArchiveTables)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// The server's database of kSearchRecords records, filled once by the server itself.
bool searchDatabaseReady() {
    static const bool ready = [] {
        if (cluster() == nullptr ||
            !execOn(cluster()->database(), QStringLiteral("CREATE DATABASE search1m"))) {
            return false;
        }
        ServerConnection server(addressOf(QStringLiteral("search1m")));
        if (!server.open()) {
            return false;
        }
        QSqlDatabase db = server.database();
        if (!prepareServerSchema(db).isEmpty()) {
            return false;
        }
        QSqlQuery fill(db);
        // The index is built once over the filled table, as an office's server has it.
        fill.exec(QStringLiteral("DROP INDEX IF EXISTS record_versions_search_words"));
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
            fill.exec(QStringLiteral("CREATE INDEX record_versions_search_words ON"
                                     " record_versions USING gin (search_text gin_trgm_ops)")) &&
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
        state.SkipWithError("no server database of 1,000,000 records");
        return;
    }
    ServerConnection server(addressOf(QStringLiteral("search1m")));
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

// The console report, keeping each benchmark's time per iteration for the ratio.
class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatio() const {
        for (const auto& [syncName, what] :
             {std::pair{"BM_SyncOverLoopback/iterations:3/real_time", "a fresh database"},
              std::pair{"BM_SyncIntoMadeTables/iterations:3/real_time",
                        "a database with the archive's tables"}}) {
            const auto sync = m_times.find(syncName);
            if (sync == m_times.end() || sync->second <= 0) {
                continue;
            }
            std::printf("\nsync of %d records into %s: %.0f records/s (goal >= 5,000)\n",
                        kSyncRecords, what, kSyncRecords * 1000.0 / sync->second);
            for (const char* name : {"BM_EngineCopyOverLoopback/iterations:3/real_time",
                                     "BM_EngineCopyIntoArchiveTables/iterations:3/real_time"}) {
                const auto copy = m_times.find(name);
                if (copy != m_times.end()) {
                    std::printf("  %-55s %8.0f records/s; sync / it = %.2f (goal >= 0.5)\n", name,
                                kSyncRecords * 1000.0 / copy->second, copy->second / sync->second);
                }
            }
        }
    }

private:
    std::map<std::string, double> m_times;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.printRatio();
    return 0;
}
