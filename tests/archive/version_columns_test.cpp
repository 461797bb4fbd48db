// The column table is what the databases hold and what readers see: the tables made from it
// on both engines (fresh and migrated), a version written and read back through it, and the
// JSON it names.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include "archive/archive_schema.h"
#include "archive/archive_search.h"
#include "archive/server_connection.h"
#include "archive/server_schema.h"
#include "archive/version_columns.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "server_test_support.h"
#include "sqlite_file.h"

namespace trellicap::archive {
namespace {

using test::addressOf;
using test::SqliteFile;
using trellicap::testing::PgCluster;

QSet<QString> columnsOf(QSqlDatabase& db, const QString& table) {
    QSet<QString> names;
    const QSqlRecord record = db.record(table);
    for (int i = 0; i < record.count(); ++i) {
        names.insert(record.fieldName(i));
    }
    return names;
}

QSet<QString> stored() {
    const QStringList names = storedColumnNames();
    return {names.begin(), names.end()};
}

KeptVersion sampleVersion() {
    KeptVersion kept;
    kept.uuid = QStringLiteral("0f0e0d0c-1111-4000-8000-00000000000a");
    kept.version = 2;
    kept.model = QStringLiteral("tft");
    kept.slot = 12;
    kept.source = QStringLiteral("edit");
    kept.arrived = QStringLiteral("2026-12-08T14:02:11+01:00");
    kept.arrivedMs = 1796734931000LL;
    kept.timeDate = QStringLiteral("2026-12-08T14:02");
    kept.header = {{QStringLiteral("txtopname"), QStringLiteral("J. Smith")},
                   {QStringLiteral("txtraw"), QString()},
                   {QStringLiteral("txtaxno"), QStringLiteral("Axle \"7\"")},
                   {QStringLiteral("txtremark"), QStringLiteral("Zoë")}};
    kept.range = QStringLiteral("250");
    kept.delay = QStringLiteral("0.0");
    kept.gain = QStringLiteral("40.0dB");
    kept.gate1 = QStringLiteral("ON");
    kept.gate2 = QStringLiteral("OFF");
    kept.contentHash = QStringLiteral("00112233445566778899aabbccddeeff");
    kept.searchText = QStringLiteral("j. smith");
    return kept;
}

TEST(VersionColumns, TheTablesHoldTheColumnsTheTableNamesFreshAndMigrated) {
    SqliteFile fresh;
    ASSERT_TRUE(migrateSchema(fresh.db()).ok);
    EXPECT_EQ(columnsOf(fresh.db(), QStringLiteral("record_versions")), stored());
    SqliteFile old;
    ASSERT_TRUE(migrateSchema(old.db(), 1).ok);
    ASSERT_TRUE(migrateSchema(old.db()).ok);
    EXPECT_EQ(columnsOf(old.db(), QStringLiteral("record_versions")), stored());
    // The versions that exist add no column after the first: nothing to ALTER.
    for (int version = 1; version <= kSchemaVersion; ++version) {
        EXPECT_TRUE(addedVersionColumns(version, Engine::Sqlite).isEmpty()) << version;
    }
    EXPECT_TRUE(versionColumnDefinitions(1, Engine::Postgres)
                    .contains(QLatin1String("arrived_ms BIGINT NOT NULL")));
    EXPECT_TRUE(versionColumnDefinitions(1, Engine::Sqlite)
                    .contains(QLatin1String("arrived_ms INTEGER NOT NULL")));
}

TEST(VersionColumns, AVersionWrittenThroughTheTableIsReadBackAsItWas) {
    SqliteFile file;
    ASSERT_TRUE(migrateSchema(file.db()).ok);
    const KeptVersion kept = sampleVersion();
    QSqlQuery insert(file.db());
    ASSERT_TRUE(insert.prepare(insertVersionSql()));
    const QVariantList values = storedValues(kept);
    ASSERT_EQ(values.size(), storedColumnNames().size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        insert.bindValue(static_cast<int>(i), values[i]);
    }
    ASSERT_TRUE(insert.exec());
    const auto read = keptVersion(file.db(), kept.uuid, kept.version);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->model, kept.model);
    EXPECT_EQ(read->slot, kept.slot);
    EXPECT_EQ(read->source, kept.source);
    EXPECT_TRUE(read->path.isEmpty());
    EXPECT_EQ(read->arrived, kept.arrived);
    EXPECT_EQ(read->arrivedMs, kept.arrivedMs);
    EXPECT_EQ(read->timeDate, kept.timeDate);
    EXPECT_EQ(read->header, kept.header);
    EXPECT_EQ(read->range, kept.range);
    EXPECT_EQ(read->gain, kept.gain);
    EXPECT_EQ(read->gate2, kept.gate2);
    EXPECT_TRUE(read->sentFrom.isEmpty());  // only the team server knows who sent it
    // An empty path is NULL in the table, as the writer always kept it.
    EXPECT_EQ(test::countRows(file.db(), QStringLiteral("SELECT COUNT(*) FROM record_versions"
                                                        " WHERE source_path IS NULL")),
              1);
}

TEST(VersionColumns, TheJsonNamesTheColumnsAsBeforeAndTheHeaderAsTheJsonCommandDoes) {
    const KeptVersion kept = sampleVersion();
    const QJsonObject json = versionJson(kept, &tft::kProfile);
    QStringList keys = json.keys();
    EXPECT_EQ(keys,
              (QStringList{QStringLiteral("arrived"), QStringLiteral("header"),
                           QStringLiteral("model"), QStringLiteral("path"), QStringLiteral("slot"),
                           QStringLiteral("source"), QStringLiteral("time_date"),
                           QStringLiteral("uuid"), QStringLiteral("version")}));
    EXPECT_TRUE(json[QStringLiteral("path")].isNull());
    EXPECT_EQ(json[QStringLiteral("slot")].toInt(), 12);
    const QJsonObject header = json[QStringLiteral("header")].toObject();
    EXPECT_EQ(header.keys(),
              (QStringList{QStringLiteral("Defect Location"), QStringLiteral("Operator"),
                           QStringLiteral("Railway/Workshop"), QStringLiteral("Type of Axle/No")}));
    EXPECT_EQ(header[QStringLiteral("Type of Axle/No")].toString(), QStringLiteral("Axle \"7\""));

    KeptVersion fromDac = kept;
    fromDac.header = {{QStringLiteral("txtopname"), QStringLiteral("A")},
                      {QStringLiteral("txtaxno"), QStringLiteral("B")},
                      {QStringLiteral("txtremark"), QStringLiteral("C")}};
    EXPECT_EQ(versionJson(fromDac, &dac::kProfile)[QStringLiteral("header")].toObject().keys(),
              (QStringList{QStringLiteral("Job No"), QStringLiteral("Operator"),
                           QStringLiteral("Remark")}));
    // A model this program does not know: the boxes' names, nothing lost.
    EXPECT_EQ(versionJson(fromDac, nullptr)[QStringLiteral("header")].toObject().keys(),
              (QStringList{QStringLiteral("txtaxno"), QStringLiteral("txtopname"),
                           QStringLiteral("txtremark")}));
}

TEST(VersionColumns, TheHeaderIsKeptAsQJsonDocumentWritesItWhateverItHolds) {
    using Header = std::vector<std::pair<QString, QString>>;
    const std::vector<Header> headers = {
        {},
        {{QStringLiteral("txtopname"), QString()}},
        {{QStringLiteral("txtopname"), QStringLiteral("Operator 4217")},
         {QStringLiteral("txtraw"), QStringLiteral("Workshop 12 ~!@#$%^&*()_+{}|:<>?`-=[];',./")},
         {QStringLiteral("txtremark"), QString()}},
        {{QStringLiteral("txtopname"), QStringLiteral("Axle \"7\"")}},
        {{QStringLiteral("txtopname"), QStringLiteral("C:\\jobs")}},
        {{QStringLiteral("txtopname"), QStringLiteral("tab\there")}},
        {{QStringLiteral("txtopname"), QStringLiteral("Zoë Müller")}},
        {{QStringLiteral("txtopname"), QStringLiteral("😀 smile")}},
        {{QStringLiteral("txtopname"), QStringLiteral("del\x7f")}},
        {{QStringLiteral("txtopname"), QStringLiteral("plain")},
         {QStringLiteral("txtraw"), QStringLiteral("then \u0001")}},
    };
    for (const Header& header : headers) {
        QJsonArray pairs;
        for (const auto& [name, text] : header) {
            pairs.append(QJsonArray{name, text});
        }
        const QString expected =
            QString::fromUtf8(QJsonDocument(pairs).toJson(QJsonDocument::Compact));
        EXPECT_EQ(headerToJson(header), expected) << expected.toStdString();
        EXPECT_EQ(headerFromJson(headerToJson(header)), header) << expected.toStdString();
    }
}

TEST(VersionColumns, TheTeamServersTablesHoldTheSameColumns) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    ServerConnection server(addressOf(cluster));
    ASSERT_TRUE(server.open());
    QSqlDatabase db = server.database();
    ASSERT_TRUE(prepareServerSchema(db).isEmpty());
    EXPECT_EQ(columnsOf(db, QStringLiteral("record_versions")), stored());
    EXPECT_TRUE(columnsOf(db, QStringLiteral("laptops")).contains(QStringLiteral("host_name")));
    EXPECT_TRUE(columnsOf(db, QStringLiteral("record_values")).contains(QStringLiteral("packing")));
    // The search's own columns on the server: the sender columns read sent_from and laptops.
    QString error;
    EXPECT_TRUE(searchArchive(db, {}, &error).empty());
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
}

}  // namespace
}  // namespace trellicap::archive
