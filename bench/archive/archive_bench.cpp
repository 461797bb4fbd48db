// The archive's costs: a capture's write with its durable commit (50th and 99th
// percentile), a search by text and date over 100,000 kept records, the archive window's
// first screen with its thumbnails, and the bytes on disk per kept version.
//
// The 100,000-record archive is filled once (commits not flushed, to fill it in seconds)
// and kept beside the benchmark as archive-100k.sqlite for later runs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "archive/archive_file.h"
#include "archive/archive_keeper.h"
#include "archive/archive_search.h"
#include "archive/archive_writer.h"
#include "profiles/tft.h"
#include "qt_bench_main.h"
#include "record/header_fields.h"
#include "shell/archive/archive_results_model.h"

namespace {

using namespace trellicap;

constexpr int kArchivedRecords = 100000;
constexpr int kFirstScreenRows = 15;

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

QString bigArchive() {
    const QString path = QDir::current().filePath(QStringLiteral("archive-100k.sqlite"));
    {
        archive::ArchiveFile file(path);
        if (!file.open()) {
            QSqlQuery count(file.db());
            count.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions"));
            if (count.next() && count.value(0).toInt() >= kArchivedRecords) {
                return path;
            }
        }
    }
    QFile::remove(path);
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
    // Spread over the last 100 days, so that a date range cuts the archive.
    const QDateTime now = QDateTime::currentDateTime();
    for (int n = 0; n < kArchivedRecords; ++n) {
        archive::ArchiveEvent keep;
        keep.kind = archive::ArchiveEvent::Kind::Keep;
        keep.source = archive::Source::Capture;
        keep.arrived = now.addSecs(-static_cast<qint64>(kArchivedRecords - n) * 86);
        keep.record = {n % kSlotCount + 1, varied(n)};
        if (const auto failure = writer.apply(file.db(), keep)) {
            std::fprintf(stderr, "fill failed: %s\n", qPrintable(failure->reason));
            return {};
        }
    }
    QSqlQuery(file.db()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return path;
}

void captureWrite(benchmark::State& state) {
    QTemporaryDir dir;
    archive::ArchiveKeeper keeper(tft::kProfile, dir.filePath(QStringLiteral("archive.sqlite")));
    keeper.start();
    std::vector<double> ms;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto record = varied(n);
        const int column = n % kSlotCount;
        ++n;
        state.ResumeTiming();
        QElapsedTimer timer;
        timer.start();
        keeper.keepFiled(column, record, archive::Source::Capture);
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    if (keeper.failing()) {
        state.SkipWithError(qPrintable(keeper.statusText()));
    }
    std::sort(ms.begin(), ms.end());
    state.counters["p50_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    const qint64 bytes = QFileInfo(dir.filePath(QStringLiteral("archive.sqlite"))).size() +
                         QFileInfo(dir.filePath(QStringLiteral("archive.sqlite-wal"))).size();
    state.counters["disk_bytes_per_version_with_journal"] =
        static_cast<double>(bytes) / static_cast<double>(ms.size());
}
BENCHMARK(captureWrite)->Iterations(1000)->Unit(benchmark::kMillisecond);

struct BigArchive {
    QString path = bigArchive();
    QSqlDatabase db;
    BigArchive() {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(path);
        db.open();
    }
};
BigArchive& big() {
    static BigArchive archive;
    return archive;
}

void searchTextAndDate(benchmark::State& state) {
    BigArchive& archive = big();
    archive::SearchFilter filter;
    filter.text = QStringLiteral("operator 4217");
    filter.fromMs = QDateTime::currentDateTime().addDays(-30).toMSecsSinceEpoch();
    filter.toMs = QDateTime::currentDateTime().toMSecsSinceEpoch();
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
BENCHMARK(searchTextAndDate)->Unit(benchmark::kMillisecond);

void searchTextOnly(benchmark::State& state) {
    BigArchive& archive = big();
    archive::SearchFilter filter;
    filter.text = QStringLiteral("axle 99999");
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(archive::searchArchive(archive.db, filter, &error));
    }
}
BENCHMARK(searchTextOnly)->Unit(benchmark::kMillisecond);

// The window's first screen: the search over everything, the first page of rows, a
// thumbnail drawn for each row on screen, and the table painted.
void firstScreenWithThumbnails(benchmark::State& state) {
    BigArchive& archive = big();
    for (auto _ : state) {
        ArchiveResultsModel model(tft::kProfile, archive.db, nullptr);
        model.search({}, archive::kColArrivedMs, false);
        QTableView view;
        view.resize(1100, 600);
        view.verticalHeader()->setDefaultSectionSize(40);
        view.setIconSize(QSize(53, 36));
        view.setModel(&model);
        benchmark::DoNotOptimize(view.grab());
        for (int row = 0; row < kFirstScreenRows; ++row) {
            benchmark::DoNotOptimize(model.data(
                model.index(row, ArchiveResultsModel::kThumbnailColumn), Qt::DecorationRole));
        }
    }
}
BENCHMARK(firstScreenWithThumbnails)->Unit(benchmark::kMillisecond);

void bytesPerVersion(benchmark::State& state) {
    BigArchive& archive = big();
    for (auto _ : state) {
        benchmark::DoNotOptimize(QFileInfo(archive.path).size());
    }
    QSqlQuery count(archive.db);
    count.exec(QStringLiteral("SELECT COUNT(*) FROM record_versions"));
    const double versions = count.next() ? count.value(0).toDouble() : 1.0;
    state.counters["bytes_per_version"] =
        static_cast<double>(QFileInfo(archive.path).size()) / versions;
}
BENCHMARK(bytesPerVersion)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    return trellicap::bench::runQtBenchmarks<QApplication>(argc, argv);
}
