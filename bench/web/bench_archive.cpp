#include "bench_archive.h"

#include <QDateTime>
#include <QFile>
#include <QSqlQuery>
#include <QTimeZone>
#include <cmath>
#include <cstdio>

#include "archive/archive_file.h"
#include "archive/archive_writer.h"
#include "profiles/dac.h"
#include "profiles/panel_walk.h"
#include "profiles/tft.h"
#include "record/header_fields.h"
#include "record/record_store.h"
#include "record/text_codes.h"

namespace trellicap::bench {

namespace {

constexpr int kRecordsPerFile = 200;
const char* const kOperators[] = {"A. Example", "J. Mueller", "K. Smith", "L. Jones",
                                  "M. Brown",   "N. Taylor",  "R. Meyer", "T. Okafor"};
const char* const kSites[] = {"Loco Shed 4", "Depot North", "Works East", "Yard 7"};

void put(const ModelProfile& profile, std::span<RecordValue> column, std::string_view control,
         const QString& text) {
    const auto at = walkedIndex(profile, control);
    if (!at) {
        return;
    }
    int index = *at;
    for (const RecordValue code : textToCodes(text)) {
        column[static_cast<std::size_t>(index++)] = code;
    }
}

// Record n of the archive: its settings, echoes and texts all follow from n.
std::vector<RecordValue> record(const ModelProfile& profile, int n, int slot) {
    RecordStore store(profile);
    store.initMemoryTable();
    const auto column = store.column(slot - 1);
    std::fill(column.begin() + kSettingsStart, column.begin() + profile.fileRows.last + 1,
              RecordValue{32});
    const int ranges[] = {25, 50, 100, 125, 250};
    put(profile, column, "txtrange", QString::number(ranges[n % 5]));
    put(profile, column, "txtdelay", n % 3 ? QStringLiteral("0.0") : QStringLiteral("10.0"));
    put(profile, column, "txtgain", QStringLiteral("%1.%2").arg(20 + n % 45).arg(n % 2 ? 5 : 0));
    put(profile, column, "txtgate", n % 4 ? QStringLiteral("ON") : QStringLiteral("OFF"));
    put(profile, column, "txtstart", QStringLiteral("%1%").arg(10 + n % 40));
    put(profile, column, "txtend", QStringLiteral("%1%").arg(55 + n % 40));
    put(profile, column, "txtlevel", QStringLiteral("%1%").arg(30 + n % 50));
    put(profile, column, "txtmemno", QStringLiteral("%1").arg(slot, 3, 10, QLatin1Char('0')));
    put(profile, column, "txtclock", QStringLiteral("ON"));
    put(profile, column, "txtmea", QStringLiteral("ON"));
    put(profile, column, "txtdac", n % 2 ? QStringLiteral("ON") : QStringLiteral("OFF"));
    put(profile, column, "txtbeam", QStringLiteral("%1.%2").arg(n % 200).arg(n % 10));
    put(profile, column, "txttmdt",
        QStringLiteral("%1%2%3%4%5")
            .arg(n % 24, 2, 10, QLatin1Char('0'))
            .arg(n % 60, 2, 10, QLatin1Char('0'))
            .arg(1 + n % 28, 2, 10, QLatin1Char('0'))
            .arg(1 + n % 12, 2, 10, QLatin1Char('0'))
            .arg(20 + n % 7, 2, 10, QLatin1Char('0')));
    // The initial pulse, a back wall and, now and then, a flaw echo between them.
    const int wall = 150 + n % 90;
    const int flaw = 40 + (n * 7) % 100;
    for (int i = 0; i < kSamplesStored; ++i) {
        double value = 100 * std::exp(-i / 4.0) + 90 * std::exp(-std::pow((i - wall) / 3.0, 2));
        if (n % 3 == 0) {
            value += (30 + n % 60) * std::exp(-std::pow((i - flaw) / 2.5, 2));
        }
        value += (i * 31 + n * 17) % 3;
        column[static_cast<std::size_t>(i)] = static_cast<RecordValue>(std::min(100.0, value));
    }
    for (int j = 0; j < 2 * profile.dacSegments + 2; j += 2) {
        column[static_cast<std::size_t>(profile.dacPointFirst + j)] =
            static_cast<RecordValue>(20 + j * 20);
        column[static_cast<std::size_t>(profile.dacPointFirst + j + 1)] =
            static_cast<RecordValue>(90 - j * 8);
    }
    std::vector<QString> header;
    header.push_back(QStringLiteral("%1 %2").arg(QLatin1String(kOperators[n % 8])).arg(n % 97));
    header.push_back(QLatin1String(kSites[n % 4]));
    header.push_back(QStringLiteral("WDM-%1 / %2").arg(1 + n % 5).arg(n));
    header.push_back(n % 5 ? QStringLiteral("Journal") : QStringLiteral("Axle body"));
    header.resize(profile.headerFields.size());
    storeHeaderFields(profile, header, column);
    return {column.begin(), column.end()};
}

int recordsIn(const QString& path) {
    if (!QFile::exists(path)) {
        return 0;
    }
    archive::ArchiveFile file(path);
    if (file.open()) {
        return 0;
    }
    QSqlQuery count(file.db());
    return count.exec(QStringLiteral("SELECT COUNT(*) FROM records")) && count.next()
               ? count.value(0).toInt()
               : 0;
}

}  // namespace

bool ensureBenchArchive(const QString& path) {
    if (recordsIn(path) == kBenchRecords) {
        return true;
    }
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    std::fprintf(stderr, "Making the benchmark's archive of %d records: %s\n", kBenchRecords,
                 qPrintable(path));
    archive::ArchiveFile file(path);
    if (const auto failure = file.open()) {
        std::fprintf(stderr, "cannot make it: %s\n", qPrintable(failure->reason));
        return false;
    }
    // Made once for the benchmark: no need to wait for the disk at every file.
    QSqlQuery(file.db()).exec(QStringLiteral("PRAGMA synchronous=OFF"));
    const QDateTime first(QDate(2026, 1, 5), QTime(6, 0), Qt::UTC);
    for (int shift = 0; shift < kBenchRecords / kRecordsPerFile; ++shift) {
        // One shift in five on the DAC instrument.
        const ModelProfile& profile = shift % 5 == 4 ? dac::kProfile : tft::kProfile;
        archive::ArchiveWriter writer(profile, QStringLiteral("bench-%1").arg(shift));
        archive::ArchiveEvent start;
        start.kind = archive::ArchiveEvent::Kind::StartRun;
        start.arrived = first.addSecs(shift * 4 * 3600);
        archive::ArchiveEvent load;
        load.kind = archive::ArchiveEvent::Kind::Load;
        load.arrived = start.arrived.addSecs(60);
        load.path = QStringLiteral("/home/inspector/Trellicap/tft/shift-%1.dat").arg(shift);
        for (int slot = 1; slot <= kRecordsPerFile; ++slot) {
            load.loaded.push_back({slot, record(profile, shift * kRecordsPerFile + slot, slot)});
        }
        for (const archive::ArchiveEvent* event : {&start, &load}) {
            if (const auto failure = writer.apply(file.db(), *event)) {
                std::fprintf(stderr, "cannot fill it: %s\n", qPrintable(failure->reason));
                return false;
            }
        }
    }
    file.close();
    return recordsIn(path) == kBenchRecords;
}

}  // namespace trellicap::bench
