// trellicap-cli archive: import, search, export and verify on real archive files, on both
// models, with a window program's archive open at the same time.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "archive/archive_keeper.h"
#include "cli_fixture.h"
#include "crafted_files.h"

namespace trellicap::testing {
namespace {

class CliArchive : public ::testing::Test {
protected:
    void SetUp() override {
        m_tftFile = writeTftFile(QDir(m_dir.path()));
        m_dacFile = writeDacFile(QDir(m_dir.path()));
    }

    [[nodiscard]] QString archivePath() const {
        return m_dir.filePath(QStringLiteral("archive.sqlite"));
    }
    CliRun archive(const QString& action, QStringList arguments) {
        return runCli(QStringList{QStringLiteral("archive"), action} + arguments +
                      QStringList{QStringLiteral("--archive"), archivePath()});
    }
    QJsonArray search(const QStringList& arguments) {
        const CliRun run = archive(QStringLiteral("search"), arguments + QStringList{"--json"});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out).object().value(QStringLiteral("records")).toArray();
    }
    QString uuidOf(const QString& model, int slot) {
        for (const QJsonValue record : search({QStringLiteral("--model"), model})) {
            if (record[QStringLiteral("slot")].toInt() == slot) {
                return record[QStringLiteral("uuid")].toString();
            }
        }
        return {};
    }
    void importBoth() {
        ASSERT_EQ(archive(QStringLiteral("import"), {m_tftFile}).exitCode, 0);
        ASSERT_EQ(archive(QStringLiteral("import"), {m_dacFile}).exitCode, 0);
    }

    QTemporaryDir m_dir;
    QString m_tftFile;
    QString m_dacFile;
};

TEST_F(CliArchive, ImportKeepsTheMarkedSlotsOnceAndVerifyCountsThemPerModel) {
    const CliRun first = archive(QStringLiteral("import"), {m_tftFile});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.out.contains("imported 2 marked slots")) << first.out.toStdString();
    EXPECT_TRUE(first.out.contains("2 new, 0 kept before")) << first.out.toStdString();
    const CliRun again = archive(QStringLiteral("import"), {m_tftFile});
    EXPECT_TRUE(again.out.contains("0 new, 2 kept before")) << again.out.toStdString();
    ASSERT_EQ(archive(QStringLiteral("import"), {m_dacFile}).exitCode, 0);

    const CliRun verify = archive(QStringLiteral("verify"), {});
    EXPECT_EQ(verify.exitCode, 0) << verify.err.toStdString();
    EXPECT_EQ(verify.out, QByteArray("integrity ok\ntft 2\ndac 2\n"));
}

TEST_F(CliArchive, SearchFindsByTextFileNameSlotModelAndDateAndGivesTheWholeRecord) {
    importBoth();
    const QJsonArray all = search({});
    ASSERT_EQ(all.size(), 4);

    const QJsonArray byOperator = search({QStringLiteral("--text"), QStringLiteral("a. EXAMPLE")});
    ASSERT_EQ(byOperator.size(), 1);
    const QJsonObject slot3 = byOperator.at(0).toObject();
    EXPECT_EQ(slot3[QStringLiteral("model")].toString(), QStringLiteral("tft"));
    EXPECT_EQ(slot3[QStringLiteral("slot")].toInt(), 3);
    EXPECT_EQ(slot3[QStringLiteral("version")].toInt(), 1);
    EXPECT_EQ(slot3[QStringLiteral("source")].toString(), QStringLiteral("file"));
    EXPECT_EQ(slot3[QStringLiteral("path")].toString(), QFileInfo(m_tftFile).absoluteFilePath());
    EXPECT_EQ(slot3[QStringLiteral("time_date")].toString(), QStringLiteral("2013-02-01T06:50"));
    // Header fields named as `trellicap-cli json` names them.
    EXPECT_EQ(slot3[QStringLiteral("header")][QStringLiteral("Railway/Workshop")].toString(),
              QStringLiteral("Shop, \"North\""));
    EXPECT_TRUE(slot3[QStringLiteral("saved_in")].toArray().isEmpty());
    EXPECT_FALSE(slot3[QStringLiteral("arrived")].toString().isEmpty());
    const QJsonArray record = slot3[QStringLiteral("record")].toArray();
    ASSERT_EQ(record.size(), 701);
    for (int i = 0; i <= 250; ++i) {
        ASSERT_EQ(record.at(i).toInt(), i % 101) << "sample " << i;
    }

    EXPECT_EQ(search({QStringLiteral("--text"), QStringLiteral("DAC.dat")}).size(), 2);
    const QString folder = QFileInfo(m_dir.path()).fileName();
    EXPECT_EQ(search({QStringLiteral("--text"), folder}).size(), 0);  // folders are not names
    EXPECT_EQ(search({QStringLiteral("--model"), QStringLiteral("dac")}).size(), 2);
    EXPECT_EQ(search({QStringLiteral("--slot"), QStringLiteral("150")}).size(), 1);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_EQ(search({QStringLiteral("--from"), today, QStringLiteral("--to"), today}).size(), 4);
    EXPECT_EQ(
        search({QStringLiteral("--from"), QDate::currentDate().addDays(1).toString(Qt::ISODate)})
            .size(),
        0);
    EXPECT_EQ(
        search({QStringLiteral("--to"), QDate::currentDate().addDays(-1).toString(Qt::ISODate)})
            .size(),
        0);

    const CliRun table = archive(QStringLiteral("search"), {QStringLiteral("--slot"), "3"});
    EXPECT_TRUE(table.out.startsWith("uuid")) << table.out.toStdString();
    EXPECT_TRUE(table.out.contains("A. Example")) << table.out.toStdString();
    EXPECT_EQ(archive(QStringLiteral("search"), {QStringLiteral("--from"), "yesterday"}).exitCode,
              2);
}

TEST_F(CliArchive, ExportWritesTheChosenRecordsAsAFileAPdfOrACsvAndRefusesTwoForOneSlot) {
    importBoth();
    const QString slot3 = uuidOf(QStringLiteral("tft"), 3);
    const QString slot7 = uuidOf(QStringLiteral("tft"), 7);
    ASSERT_FALSE(slot3.isEmpty());

    const QString dat = m_dir.filePath(QStringLiteral("out.dat"));
    const CliRun exported = archive(QStringLiteral("export"),
                                    {QStringLiteral("--uuids"), slot3 + "," + slot7, "-o", dat});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    // The crafted file without its unmarked slot: everything else at the start values.
    RecordStore expected(tft::kProfile);
    expected.initMemoryTable();
    craft(expected, kTftSlot3);
    craft(expected, kTftSlot7);
    const QString reference = m_dir.filePath(QStringLiteral("reference.dat"));
    writeFile(expected, reference);
    QFile out(dat);
    QFile ref(reference);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly) && ref.open(QIODevice::ReadOnly));
    EXPECT_TRUE(out.readAll() == ref.readAll());

    const QString csv = m_dir.filePath(QStringLiteral("out.csv"));
    ASSERT_EQ(
        archive(QStringLiteral("export"), {"--uuids", slot3 + "," + slot7, "-o", csv}).exitCode, 0);
    QFile csvFile(csv);
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csvFile.readAll().split('\n');
    EXPECT_EQ(rows.size(), 4);  // heading, two rows, and the end of the last line
    EXPECT_TRUE(rows.at(1).startsWith("3,")) << rows.at(1).toStdString();

    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    ASSERT_EQ(archive(QStringLiteral("export"), {"--uuids", slot3, "-o", pdf}).exitCode, 0);
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.read(5) == "%PDF-");

    const CliRun twice =
        archive(QStringLiteral("export"), {"--uuids", slot3 + "," + slot3, "-o", dat});
    EXPECT_EQ(twice.exitCode, 1);
    EXPECT_TRUE(twice.err.contains("both of slot 3")) << twice.err.toStdString();
    const CliRun mixed =
        archive(QStringLiteral("export"),
                {"--uuids", slot3 + "," + uuidOf(QStringLiteral("dac"), 2), "-o", dat});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_TRUE(mixed.err.contains("dac model")) << mixed.err.toStdString();
    EXPECT_EQ(archive(QStringLiteral("export"), {"--uuids", "nope", "-o", dat}).exitCode, 1);
    EXPECT_EQ(archive(QStringLiteral("export"), {"--uuids", slot3, "-o", m_dir.filePath("x.txt")})
                  .exitCode,
              2);
}

TEST_F(CliArchive, WorksBesideAWindowProgramsOpenArchiveAndVerifyFindsDamage) {
    archive::ArchiveKeeper window(tft::kProfile, archivePath());
    window.start();
    std::vector<RecordValue> captured(701, 7);
    window.keepFiled(9, captured, archive::Source::Capture);
    ASSERT_EQ(archive(QStringLiteral("import"), {m_tftFile}).exitCode, 0);
    window.keepFiled(10, captured, archive::Source::Capture);  // still writes
    EXPECT_FALSE(window.failing()) << window.statusText().toStdString();
    EXPECT_EQ(search({}).size(), 4);

    const QString garbage = m_dir.filePath(QStringLiteral("garbage.sqlite"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, '\x5a'));
    file.close();
    const CliRun damaged = runCli({"archive", "verify", "--archive", garbage});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains("damaged")) << damaged.err.toStdString();
    EXPECT_EQ(runCli({"archive", "search", "--archive", m_dir.filePath("none.sqlite")}).exitCode,
              1);
}

}  // namespace
}  // namespace trellicap::testing
