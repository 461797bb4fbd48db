// The writer's statements on SQLite's own API leave the archive exactly as through Qt Sql,
// for every kind of change.
#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QSqlRecord>

#include "archive/archive_schema.h"
#include "archive/archive_writer.h"
#include "profiles/tft.h"
#include "sqlite_file.h"
#include "test_records.h"

namespace trellicap::archive {
namespace {

using test::keptRecord;
using test::SqliteFile;

ArchiveEvent event(ArchiveEvent::Kind kind, int minute) {
    ArchiveEvent made;
    made.kind = kind;
    made.arrived = QDateTime(QDate(2026, 12, 8), QTime(9, 0)).addSecs(60 * minute);
    return made;
}

// A run with every kind of change: captures, values seen before, a header store, a load of
// part of a file, saves, File > New, a restore's mark, the clean end.
void writeRun(ArchiveWriter& writer, QSqlDatabase& db) {
    const ModelProfile& tft = tft::kProfile;
    const auto apply = [&](const ArchiveEvent& change) {
        const auto failure = writer.apply(db, change);
        ASSERT_FALSE(failure) << failure->reason.toStdString();
    };
    apply(event(ArchiveEvent::Kind::StartRun, 0));
    for (int i = 0; i < 12; ++i) {
        ArchiveEvent keep = event(ArchiveEvent::Kind::Keep, 1 + i);
        keep.source = i % 3 == 0 ? Source::Unsolicited : Source::Capture;
        keep.record = {1 + i, keptRecord(tft, 1 + i, i, QStringLiteral("Zoë \"%1\"").arg(i))};
        apply(keep);
    }
    ArchiveEvent again = event(ArchiveEvent::Kind::Keep, 20);  // values kept before
    again.record = {3, keptRecord(tft, 3, 2, QStringLiteral("Zoë \"2\""))};
    apply(again);
    ArchiveEvent store = event(ArchiveEvent::Kind::HeaderStore, 21);
    store.record = {3, keptRecord(tft, 3, 2, QStringLiteral("O'Neil"))};
    apply(store);
    ArchiveEvent load = event(ArchiveEvent::Kind::Load, 22);
    load.path = QStringLiteral("/site/North Yard.dat");
    load.loaded = {{7, keptRecord(tft, 7, 70)}, {8, keptRecord(tft, 8, 6)}};
    apply(load);
    ArchiveEvent saved = event(ArchiveEvent::Kind::Saved, 23);
    saved.path = QStringLiteral("/site/Shift_50%.dat");
    saved.file = {saved.path, 1234, QStringLiteral("ab").repeated(32)};
    apply(saved);
    apply(event(ArchiveEvent::Kind::Cleared, 24));
    ArchiveEvent fresh = event(ArchiveEvent::Kind::Keep, 25);
    fresh.record = {9, keptRecord(tft, 9, 90, QStringLiteral("a%b_c\\d"))};
    apply(fresh);
    ArchiveEvent savedAgain = event(ArchiveEvent::Kind::Saved, 26);
    savedAgain.path = QStringLiteral("/site/ÉTÉ.dat");
    savedAgain.file = {savedAgain.path, 99, QStringLiteral("cd").repeated(32)};
    apply(savedAgain);
    ArchiveEvent offered = event(ArchiveEvent::Kind::MarkOffered, 27);
    offered.runIds = {QStringLiteral("run-1")};
    apply(offered);
    apply(event(ArchiveEvent::Kind::EndRun, 28));
}

// A table's rows in the order written, every column but those holding a record's random
// UUID, which become the slot and version of the record they name.
std::vector<QStringList> rowsOf(QSqlDatabase& db, const QString& table) {
    std::vector<QStringList> rows;
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table)));
    while (query.next()) {
        QStringList row;
        const QSqlRecord record = query.record();
        for (int i = 0; i < record.count(); ++i) {
            if (record.fieldName(i) == QLatin1String("uuid")) {
                QSqlQuery named(db);
                named.prepare(QStringLiteral("SELECT slot FROM records WHERE uuid = ?"));
                named.addBindValue(query.value(i));
                row.append(named.exec() && named.next() ? named.value(0).toString()
                                                        : QStringLiteral("?"));
                continue;
            }
            // The engine's type too: a number kept as text would read back the same.
            const QVariant value = query.value(i);
            row.append(value.isNull() ? QStringLiteral("NULL")
                       : value.typeId() == QMetaType::QByteArray
                           ? QString::fromLatin1(value.toByteArray().toHex())
                           : QString::fromLatin1(value.typeName()) + QLatin1Char(' ') +
                                 value.toString());
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(ArchiveWriter, SqlitesOwnApiAndQtSqlLeaveTheSameArchive) {
    SqliteFile direct;
    SqliteFile qt;
    ASSERT_TRUE(migrateSchema(direct.db()).ok);
    ASSERT_TRUE(migrateSchema(qt.db()).ok);
    ArchiveWriter byApi(tft::kProfile, QStringLiteral("run-2"), WriterRoute::Fastest);
    ArchiveWriter byQt(tft::kProfile, QStringLiteral("run-2"), WriterRoute::QtSql);
    QSqlQuery(direct.db())
        .exec(QStringLiteral("INSERT INTO runs VALUES ('run-1', 'tft', 'x', 0, 0, 0)"));
    QSqlQuery(qt.db()).exec(
        QStringLiteral("INSERT INTO runs VALUES ('run-1', 'tft', 'x', 0, 0, 0)"));
    writeRun(byApi, direct.db());
    writeRun(byQt, qt.db());
#ifdef Q_OS_UNIX
    EXPECT_TRUE(byApi.direct());  // the driver's SQLite was found: the test compares two ways
#endif
    EXPECT_FALSE(byQt.direct());
    for (const char* table : {"record_versions", "record_values", "records", "arrivals", "saved_in",
                              "runs", "run_slots", "run_files"}) {
        const auto expected = rowsOf(qt.db(), QLatin1String(table));
        EXPECT_EQ(rowsOf(direct.db(), QLatin1String(table)), expected) << table;
        EXPECT_FALSE(expected.empty()) << table;
    }
}

}  // namespace
}  // namespace trellicap::archive
