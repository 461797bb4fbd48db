// The archive beside its engine, in one run: each figure of the archive is printed with the
// same work done by SQLite alone on this machine at the same time, and their ratio.
//
//   commit    a capture kept (keepFiled: the version, its values, the record, the run's
//             slot, the search index) against the engine's durable commit of the same
//             record's row and its 1,402-byte values in one transaction (sqlite3 directly;
//             WAL, synchronous FULL, the archive's 4 KB pages, the engine's own checkpoints);
//             50th and 99th percentile, CPU per write; into a new archive and into a copy
//             of the million below (an archive of years)
//   search    free text over a million kept records against an FTS5 trigram query on a copy
//             of their search texts; text within a date range against the engine reading
//             the same range of the arrival index (and against the trigram query)
//   size      bytes on disk per kept version, indexes and search index included
//   window    the archive window's first screen with its thumbnails
//
// The million-record archive is made once (about three minutes) and kept beside the
// benchmark as archive-1m.sqlite, with the engine's copy archive-1m-engine.sqlite: run it
// from the build folder (build/bench/archive), never from the source tree.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

#include "archive/archive_file.h"
#include "archive/archive_keeper.h"
#include "archive/archive_queries.h"
#include "archive/archive_search.h"
#include "archive/archive_writer.h"
#include "archive/iso_time.h"
#include "archive/record_codes.h"
#include "archive/record_facts.h"
#include "archive/search_index.h"
#include "profiles/tft.h"
#include "record/header_fields.h"
#include "shell/archive/archive_results_model.h"

namespace {

using namespace trellicap;

constexpr int kArchivedRecords = 1000000;
constexpr int kCommits = 1000;
constexpr int kFirstScreenRows = 15;
// The archive's records arrive one every 86 s, over the last 1,000 days.
constexpr qint64 kArrivalStepS = 86;

// Figures kept for the ratios printed after the run.
std::map<std::string, double>& figures() {
    static std::map<std::string, double> kept;
    return kept;
}

double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A record as an inspector's shift makes them: a trace, the slot, three header fields.
std::vector<RecordValue> varied(int n) {
    const ModelProfile& profile = tft::kProfile;
    std::vector<RecordValue> record(static_cast<std::size_t>(profile.recordSize()), 32);
    for (int i = 0; i <= 250; ++i) {
        record[static_cast<std::size_t>(i)] = static_cast<RecordValue>((i * 7 + n * 13) % 101);
    }
    const QString slot = QStringLiteral("%1").arg(n % kSlotCount + 1, 3, 10, QLatin1Char('0'));
    for (int i = 0; i < 3; ++i) {
        record[static_cast<std::size_t>(kMemoryNumberFirst + i)] =
            static_cast<RecordValue>(slot[i].unicode());
    }
    std::vector<QString> header(profile.headerFields.size());
    header[0] = QStringLiteral("Operator %1").arg(n % 5000);
    header[1] = QStringLiteral("Workshop %1").arg(n % 37);
    header[2] = QStringLiteral("Axle %1").arg(n);
    storeHeaderFields(profile, header, record);
    return record;
}

QDateTime arrivalOf(int n) {
    static const QDateTime now = QDateTime::currentDateTime();
    return now.addSecs(-static_cast<qint64>(kArchivedRecords - n) * kArrivalStepS);
}

// --- The engine alone -------------------------------------------------------------------

struct Sqlite {
    sqlite3* db = nullptr;
    explicit Sqlite(const QString& path) { sqlite3_open(path.toUtf8().constData(), &db); }
    ~Sqlite() { sqlite3_close(db); }
    bool exec(const char* sql) const {
        return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
};

// The engine's copy of the search texts: an FTS5 trigram table alone, made once.
QString engineCopy(const QString& archivePath) {
    const QString path = QDir::current().filePath(QStringLiteral("archive-1m-engine.sqlite"));
    if (QFileInfo(path).size() > 1024 * 1024) {
        return path;
    }
    std::fprintf(stderr, "copying the search texts into %s ...\n", qPrintable(path));
    QFile::remove(path);
    Sqlite copy(path);
    const QByteArray attach =
        QStringLiteral("ATTACH DATABASE '%1' AS archive").arg(archivePath).toUtf8();
    copy.exec("PRAGMA page_size=16384");
    copy.exec("PRAGMA journal_mode=WAL");
    if (!copy.exec(attach.constData()) ||
        !copy.exec("CREATE VIRTUAL TABLE texts USING fts5(search_text,"
                   " tokenize='trigram case_sensitive 1')") ||
        !copy.exec("INSERT INTO texts (rowid, search_text)"
                   " SELECT rowid, search_text FROM archive.record_versions")) {
        std::fprintf(stderr, "the copy failed: %s\n", sqlite3_errmsg(copy.db));
        return {};
    }
    return path;
}

void engineCommit(benchmark::State& state) {
    QTemporaryDir dir;
    Sqlite engine(dir.filePath(QStringLiteral("engine.sqlite")));
    engine.exec("PRAGMA page_size=4096");
    engine.exec("PRAGMA journal_mode=WAL");
    engine.exec("PRAGMA synchronous=FULL");
    // The same row the archive keeps, written as it keeps it (a row of texts, then the
    // values), with the keys it has.
    engine.exec(
        "CREATE TABLE versions (uuid TEXT, version INTEGER, model TEXT, slot INTEGER,"
        " source TEXT, arrived TEXT, arrived_ms INTEGER, time_date TEXT, content_hash TEXT,"
        " header_json TEXT, range_text TEXT, search_text TEXT, PRIMARY KEY (uuid, version))");
    engine.exec(
        "CREATE TABLE vals (uuid TEXT, version INTEGER, codes BLOB,"
        " PRIMARY KEY (uuid, version))");
    sqlite3_stmt* row = nullptr;
    sqlite3_stmt* values = nullptr;
    sqlite3_prepare_v2(engine.db,
                       "INSERT INTO versions VALUES (?, 1, 'tft', ?, 'capture', ?, ?,"
                       " '2026-12-08T14:02', ?, ?, '250', ?)",
                       -1, &row, nullptr);
    sqlite3_prepare_v2(engine.db, "INSERT INTO vals VALUES (?, 1, ?)", -1, &values, nullptr);
    std::vector<double> ms;
    double cpuMs = 0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto record = varied(n);
        const QByteArray uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUtf8();
        const QByteArray codes = archive::encodeRecord(record);
        const QByteArray hash = archive::contentHash("tft", n % kSlotCount + 1, codes).toUtf8();
        const archive::RecordFacts facts = archive::recordFacts(tft::kProfile, record);
        const QByteArray header = QByteArrayLiteral("[[\"txtopname\",\"Operator\"]]");
        const QByteArray text = archive::searchText(facts, {}).toUtf8();
        const QByteArray arrived = archive::isoWithOffset(arrivalOf(n)).toUtf8();
        state.ResumeTiming();
        const double cpuBefore = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        sqlite3_exec(engine.db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_bind_text(row, 1, uuid.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_int(row, 2, n % kSlotCount + 1);
        sqlite3_bind_text(row, 3, arrived.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_int64(row, 4, arrivalOf(n).toMSecsSinceEpoch());
        sqlite3_bind_text(row, 5, hash.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(row, 6, header.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(row, 7, text.constData(), -1, SQLITE_STATIC);
        sqlite3_step(row);
        sqlite3_reset(row);
        sqlite3_bind_text(values, 1, uuid.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_blob(values, 2, codes.constData(), static_cast<int>(codes.size()),
                          SQLITE_STATIC);
        sqlite3_step(values);
        sqlite3_reset(values);
        sqlite3_exec(engine.db, "COMMIT", nullptr, nullptr, nullptr);
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        cpuMs += threadCpuMs() - cpuBefore;
        ++n;
    }
    sqlite3_finalize(row);
    sqlite3_finalize(values);
    std::sort(ms.begin(), ms.end());
    state.counters["p50_ms"] = figures()["engine commit p50"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = figures()["engine commit p99"] = ms[ms.size() * 99 / 100];
    state.counters["cpu_ms_per_write"] = figures()["engine cpu per write"] =
        cpuMs / static_cast<double>(ms.size());
}
BENCHMARK(engineCommit)->Iterations(kCommits)->Unit(benchmark::kMillisecond);

// --- The archive --------------------------------------------------------------------------

// A capture kept, as the window keeps it. Between captures, when nothing is written for a
// second (a capture takes some 1.5 s on the line), the keeper's idle time looks whether
// copying its journal into the file and indexing the versions kept since pays (some dozens
// wait); here that idle time comes between the timed writes, and its work is shown per
// capture (idle_ms, idle_cpu_ms), with what the inspector's pause after the last capture
// leaves for it: the work the commit does not do is not hidden.
// Captures kept into the archive at `path` (made when missing), records `first` on (none kept
// before); the figures under `name`.
void keepCaptures(benchmark::State& state, const QString& path, const std::string& name,
                  int first = 0) {
    archive::ArchiveKeeper keeper(tft::kProfile, path);
    keeper.start();
    std::vector<double> ms;
    double cpuMs = 0;
    double idleMs = 0;
    double idleCpuMs = 0;
    const auto idleTime = [&](bool quiet) {
        const double idleCpuBefore = threadCpuMs();
        QElapsedTimer idle;
        idle.start();
        // After the last capture, the inspector's pause: what still waits is indexed.
        keeper.setQuietTime(quiet ? 0 : 15000);
        if (keeper.idleNow()) {
            while (keeper.catchingUp()) {
                keeper.idleNow();
            }
        }
        idleMs += static_cast<double>(idle.nsecsElapsed()) / 1e6;
        idleCpuMs += threadCpuMs() - idleCpuBefore;
    };
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto record = varied(first + n);
        const int column = n % kSlotCount;
        ++n;
        state.ResumeTiming();
        const double cpuBefore = threadCpuMs();
        QElapsedTimer timer;
        timer.start();
        keeper.keepFiled(column, record, archive::Source::Capture);
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        cpuMs += threadCpuMs() - cpuBefore;
        state.PauseTiming();
        idleTime(false);
        state.ResumeTiming();
    }
    idleTime(true);
    if (keeper.failing()) {
        state.SkipWithError(qPrintable(keeper.statusText()));
    }
    std::sort(ms.begin(), ms.end());
    const auto count = static_cast<double>(ms.size());
    state.counters["p50_ms"] = figures()[name + " commit p50"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = figures()[name + " commit p99"] = ms[ms.size() * 99 / 100];
    state.counters["cpu_ms_per_write"] = figures()[name + " cpu per write"] = cpuMs / count;
    state.counters["idle_ms"] = figures()[name + " idle"] = idleMs / count;
    state.counters["idle_cpu_ms"] = figures()[name + " idle cpu"] = idleCpuMs / count;
}

// A new archive.
void captureWrite(benchmark::State& state) {
    QTemporaryDir dir;
    keepCaptures(state, dir.filePath(QStringLiteral("archive.sqlite")), "archive");
}
BENCHMARK(captureWrite)->Iterations(kCommits)->Unit(benchmark::kMillisecond);

// The million-record archive, filled once through the writer (commits not flushed, to
// fill it in minutes). One kept by an earlier program is brought to this program's schema by
// opening it, as every archive is; its search index is complete before anything is measured.
QString millionArchive() {
    const QString path = QDir::current().filePath(QStringLiteral("archive-1m.sqlite"));
    {
        archive::ArchiveFile file(path);
        if (QFileInfo::exists(path) && !file.open()) {
            QSqlQuery count(file.db());
            count.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions"));
            if (count.next() && count.value(0).toInt() >= kArchivedRecords &&
                archive::indexAllNewVersions(file.db())) {
                return path;
            }
        }
    }
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(QDir::current().filePath(QStringLiteral("archive-1m-engine.sqlite")));
    std::fprintf(stderr, "filling %s with %d records...\n", qPrintable(path), kArchivedRecords);
    archive::ArchiveFile file(path);
    if (file.open()) {
        return {};
    }
    QSqlQuery(file.db()).exec(QStringLiteral("PRAGMA synchronous=OFF"));
    archive::ArchiveWriter writer(tft::kProfile, QStringLiteral("bench-run"));
    archive::ArchiveEvent start;
    start.kind = archive::ArchiveEvent::Kind::StartRun;
    start.arrived = QDateTime::currentDateTime();
    (void)writer.apply(file.db(), start);
    for (int n = 0; n < kArchivedRecords; ++n) {
        archive::ArchiveEvent keep;
        keep.kind = archive::ArchiveEvent::Kind::Keep;
        keep.source = archive::Source::Capture;
        keep.arrived = arrivalOf(n);
        keep.record = {n % kSlotCount + 1, varied(n)};
        if (const auto failure = writer.apply(file.db(), keep)) {
            std::fprintf(stderr, "fill failed: %s\n", qPrintable(failure->reason));
            return {};
        }
        if (n % 100000 == 99999) {
            std::fprintf(stderr, "  %d\n", n + 1);
        }
    }
    writer.forgetStatements();
    // The search index, as the keeper's idle time would have made it.
    QString error;
    if (!archive::indexAllNewVersions(file.db(), &error)) {
        std::fprintf(stderr, "indexing failed: %s\n", qPrintable(error));
        return {};
    }
    QSqlQuery(file.db()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QSqlQuery(file.db()).exec(QStringLiteral("ANALYZE"));
    return path;
}

struct Million {
    QString path = millionArchive();
    QString enginePath = path.isEmpty() ? QString() : engineCopy(path);
    QSqlDatabase db;
    Million() {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(path);
        db.open();
    }
};
Million& million() {
    static Million archive;
    return archive;
}

// An archive of years: captures kept into a copy of the million, flushed to the disk before
// the first capture, so that the copy's own writing does not slow the commits measured.
void captureWriteMillion(benchmark::State& state) {
    Million& archive = million();
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("archive.sqlite"));
    QSqlQuery(archive.db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QFile file(copy);
    if (archive.path.isEmpty() || !QFile::copy(archive.path, copy) ||
        !file.open(QIODevice::ReadWrite) || fsync(file.handle()) != 0) {
        state.SkipWithError("no copy of the million archive");
        return;
    }
    file.close();
    keepCaptures(state, copy, "million", kArchivedRecords);
}
BENCHMARK(captureWriteMillion)->Iterations(kCommits)->Unit(benchmark::kMillisecond);

void engineTextSearch(benchmark::State& state, const char* phrase) {
    Million& archive = million();
    if (archive.enginePath.isEmpty()) {
        state.SkipWithError("no copy of the search texts");
        return;
    }
    Sqlite copy(archive.enginePath);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(copy.db, "SELECT rowid FROM texts WHERE texts MATCH ?", -1, &query, nullptr);
    int found = 0;
    for (auto _ : state) {
        found = 0;
        sqlite3_bind_text(query, 1, phrase, -1, SQLITE_STATIC);
        while (sqlite3_step(query) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int64(query, 0));
            ++found;
        }
        sqlite3_reset(query);
    }
    sqlite3_finalize(query);
    state.counters["found"] = found;
}

void searchArchive(benchmark::State& state, const archive::SearchFilter& filter) {
    Million& archive = million();
    std::size_t found = 0;
    for (auto _ : state) {
        QString error;
        found = archive::searchArchive(archive.db, filter, &error).size();
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
        }
    }
    state.counters["found"] = static_cast<double>(found);
}

void engineSearchText(benchmark::State& state) {
    engineTextSearch(state, "\"axle 999999\"");
}
BENCHMARK(engineSearchText)->Unit(benchmark::kMillisecond);

void searchTextOnly(benchmark::State& state) {
    archive::SearchFilter filter;
    filter.text = QStringLiteral("axle 999999");
    searchArchive(state, filter);
}
BENCHMARK(searchTextOnly)->Unit(benchmark::kMillisecond);

void engineSearchOperator(benchmark::State& state) {
    engineTextSearch(state, "\"operator 4217\"");
}
BENCHMARK(engineSearchOperator)->Unit(benchmark::kMillisecond);

// The engine alone on the same last month: the arrival index (which carries the search
// texts) read over the range, each text looked into, straight on the archive's file.
void engineSearchTextAndDate(benchmark::State& state) {
    Million& archive = million();
    Sqlite file(archive.path);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(file.db,
                       "SELECT rowid FROM record_versions WHERE arrived_ms >= ?"
                       " AND arrived_ms < ? AND instr(search_text, 'operator 4217') > 0",
                       -1, &query, nullptr);
    const qint64 from = QDateTime::currentDateTime().addDays(-30).toMSecsSinceEpoch();
    const qint64 to = QDateTime::currentDateTime().addDays(1).toMSecsSinceEpoch();
    int found = 0;
    for (auto _ : state) {
        found = 0;
        sqlite3_bind_int64(query, 1, from);
        sqlite3_bind_int64(query, 2, to);
        while (sqlite3_step(query) == SQLITE_ROW) {
            ++found;
        }
        sqlite3_reset(query);
    }
    sqlite3_finalize(query);
    state.counters["found"] = found;
}
BENCHMARK(engineSearchTextAndDate)->Unit(benchmark::kMillisecond);

// An operator's records of the last month: text within a date range.
void searchTextAndDate(benchmark::State& state) {
    archive::SearchFilter filter;
    filter.text = QStringLiteral("operator 4217");
    filter.fromMs = QDateTime::currentDateTime().addDays(-30).toMSecsSinceEpoch();
    filter.toMs = QDateTime::currentDateTime().addDays(1).toMSecsSinceEpoch();
    searchArchive(state, filter);
}
BENCHMARK(searchTextAndDate)->Unit(benchmark::kMillisecond);

// The window's first screen: the search over everything, the first page of rows, a
// thumbnail drawn for each row on screen, and the table painted; every read through the
// archive window's query worker, as the window makes them.
// False when the model said the archive failed it, or after a minute without an answer.
bool waitUntil(const std::function<bool()>& done, const QString& failure) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (!failure.isEmpty() || clock.elapsed() > 60000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void firstScreenWithThumbnails(benchmark::State& state) {
    Million& archive = million();
    archive::ArchiveQueries queries(tft::kProfile);
    queries.useArchive(archive.path);
    for (auto _ : state) {
        ArchiveResultsModel model(tft::kProfile, queries, nullptr);
        QString failure;
        QObject::connect(&model, &ArchiveResultsModel::failed,
                         [&failure](const QString& reason) { failure = reason; });
        const auto stop = [&state, &failure] {
            state.SkipWithError(
                qPrintable(failure.isEmpty() ? QStringLiteral("no answer in a minute") : failure));
        };
        model.search({}, archive::kColArrivedMs, false);
        if (!waitUntil([&] { return model.rowCount() > 0; }, failure)) {
            stop();
            return;
        }
        QTableView view;
        view.resize(1100, 600);
        view.verticalHeader()->setDefaultSectionSize(40);
        view.setIconSize(QSize(53, 36));
        view.setModel(&model);
        for (int row = 0; row < kFirstScreenRows; ++row) {
            benchmark::DoNotOptimize(model.data(
                model.index(row, ArchiveResultsModel::kThumbnailColumn), Qt::DecorationRole));
        }
        if (!waitUntil([&] { return model.screenReady(); }, failure)) {
            stop();
            return;
        }
        benchmark::DoNotOptimize(view.grab());
        // The count comes after the screen; the next round starts once it is in.
        state.PauseTiming();
        const bool counted = waitUntil([&] { return !model.waiting(); }, failure);
        state.ResumeTiming();
        if (!counted) {
            stop();
            return;
        }
    }
}
// Ten rounds (the library chose ten itself while a round took a second): each waits,
// outside the timing, for the count of a million versions, some seconds.
BENCHMARK(firstScreenWithThumbnails)->Unit(benchmark::kMillisecond)->Iterations(10);

void bytesPerVersion(benchmark::State& state) {
    Million& archive = million();
    for (auto _ : state) {
        benchmark::DoNotOptimize(QFileInfo(archive.path).size());
    }
    QSqlQuery count(archive.db);
    count.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions"));
    const double versions = count.next() ? count.value(0).toDouble() : 1.0;
    state.counters["bytes_per_version"] = figures()["bytes per version"] =
        static_cast<double>(QFileInfo(archive.path).size()) / versions;
}
BENCHMARK(bytesPerVersion)->Iterations(1);

// The console report, keeping each benchmark's time per iteration for the ratios.
class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            figures()[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void printRatio(const char* what, const std::string& archive, const std::string& engine,
                const char* goal) {
    const auto& f = figures();
    if (!f.contains(archive) || !f.contains(engine) || f.at(engine) <= 0) {
        return;
    }
    std::printf("%-30s archive %9.3f  engine %9.3f  ratio %7.2f   goal: %s\n", what, f.at(archive),
                f.at(engine), f.at(archive) / f.at(engine), goal);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nThe archive beside its engine, this run (ms unless said):\n");
    printRatio("commit p50", "archive commit p50", "engine commit p50", "-");
    printRatio("commit p99", "archive commit p99", "engine commit p99", "ratio <= 1.2");
    printRatio("free text, 1,000,000", "searchTextOnly", "engineSearchText", "archive <= 10 ms");
    printRatio("text and date, 1,000,000", "searchTextAndDate", "engineSearchTextAndDate",
               "archive <= 10 ms");
    printRatio("  (the engine by trigrams)", "searchTextAndDate", "engineSearchOperator", "-");
    printRatio("CPU per write", "archive cpu per write", "engine cpu per write",
               "archive <= 0.2 ms");
    printRatio("  into 1,000,000: commit p99", "million commit p99", "engine commit p99",
               "ratio <= 1.2");
    printRatio("  into 1,000,000: CPU per write", "million cpu per write", "engine cpu per write",
               "archive <= 0.2 ms");
    const auto& f = figures();
    for (const auto& [key, what] : {std::pair{"archive", "idle work per capture"},
                                    std::pair{"million", "  into 1,000,000"}}) {
        if (f.contains(std::string(key) + " idle")) {
            std::printf("%-30s %.3f ms, CPU %.3f ms (outside the commit)\n", what,
                        f.at(std::string(key) + " idle"), f.at(std::string(key) + " idle cpu"));
        }
    }
    if (figures().contains("bytes per version")) {
        std::printf("%-40s %.0f bytes (goal <= 1024)\n", "on disk per kept version",
                    figures()["bytes per version"]);
    }
    return 0;
}
