// The archive window's reads on a thread of their own: against this computer's archive, and
// against a real team server that is stopped part-way and started again, while the caller's
// event loop keeps turning; a server that accepts and never answers meets the deadline.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include "archive/archive_keeper.h"
#include "archive/archive_queries.h"
#include "archive/archive_sync.h"
#include "archive/server_connection.h"
#include "archive/sync_local.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "server_test_support.h"
#include "support/wait.h"
#include "test_records.h"

namespace trellicap::archive {
namespace {

using test::addressOf;
using test::keptRecord;
using trellicap::testing::PgCluster;
using trellicap::testing::waitUntil;

// The longest the caller's event loop went without turning while it lived.
class LoopWatch {
public:
    LoopWatch() {
        m_clock.start();
        QObject::connect(&m_tick, &QTimer::timeout, &m_tick,
                         [this] { m_longest = std::max(m_longest, m_clock.restart()); });
        m_tick.start(5);
    }
    [[nodiscard]] qint64 longestMs() const { return m_longest; }
    // The test itself held the loop (starting or stopping a server): not the queries' doing.
    void skip() { m_clock.restart(); }

private:
    QTimer m_tick;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

// The answers of one ArchiveQueries, by request.
struct Answers {
    explicit Answers(ArchiveQueries& queries) {
        QObject::connect(&queries, &ArchiveQueries::counted, &queries,
                         [this](int id, int count) { counts[id] = count; });
        QObject::connect(
            &queries, &ArchiveQueries::rowsRead, &queries,
            [this](int id, const std::vector<KeptVersion>& found) { rows[id] = found; });
        QObject::connect(
            &queries, &ArchiveQueries::valuesRead, &queries,
            [this](int id, const std::vector<KeptValues>& found) { values[id] = found; });
        QObject::connect(&queries, &ArchiveQueries::previewRead, &queries,
                         [this](int id, const KeptPreview& found) { previews[id] = found; });
        QObject::connect(&queries, &ArchiveQueries::savedInRead, &queries,
                         [this](int id, const QStringList& found) { savedIn[id] = found; });
        QObject::connect(&queries, &ArchiveQueries::failed, &queries,
                         [this](int id, const QString& why) { failures[id] = why; });
    }
    [[nodiscard]] bool has(int id) const {
        return counts.contains(id) || rows.contains(id) || values.contains(id) ||
               previews.contains(id) || savedIn.contains(id) || failures.contains(id);
    }
    std::map<int, int> counts;
    std::map<int, std::vector<KeptVersion>> rows;
    std::map<int, std::vector<KeptValues>> values;
    std::map<int, KeptPreview> previews;
    std::map<int, QStringList> savedIn;
    std::map<int, QString> failures;
};

// Three TFT records (slot 2 saved into a record file, slot 3 edited) and a DAC record.
QString fillArchive(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("archive.sqlite"));
    {
        ArchiveKeeper keeper(tft::kProfile, path);
        keeper.start();
        for (int column = 0; column < 3; ++column) {
            keeper.keepFiled(column, keptRecord(tft::kProfile, column + 1, column),
                             Source::Capture);
        }
        keeper.noteSaved(dir.filePath(QStringLiteral("Pier-4.dat")));
        keeper.keepHeaderStore(2, keptRecord(tft::kProfile, 3, 2, QStringLiteral("K. Smith")));
        keeper.endRunCleanly();
    }
    ArchiveKeeper dac(dac::kProfile, path);
    dac.start();
    dac.keepFiled(0, keptRecord(dac::kProfile, 1, 9), Source::Capture);
    dac.endRunCleanly();
    return path;
}

// Every kind of request against one source; the answers as the window would use them.
void askEverything(ArchiveQueries& queries, Answers& answers) {
    SearchFilter all;
    const int count = queries.count(all);
    const int rows = queries.rows(all, kColSlot, true, 0, 10);
    ASSERT_TRUE(waitUntil([&] { return answers.has(count) && answers.has(rows); }, 20000));
    ASSERT_FALSE(answers.failures.contains(count)) << answers.failures[count].toStdString();
    EXPECT_EQ(answers.counts[count], 4);
    const auto& found = answers.rows[rows];
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].slot, 1);  // sorted by slot as asked
    const KeptVersion* dacRecord = nullptr;
    const KeptVersion* edited = nullptr;
    const KeptVersion* saved = nullptr;
    for (const KeptVersion& kept : found) {
        dacRecord = kept.model == QLatin1String("dac") ? &kept : dacRecord;
        edited = kept.slot == 3 && kept.model == QLatin1String("tft") ? &kept : edited;
        saved = kept.slot == 2 ? &kept : saved;
    }
    ASSERT_TRUE(dacRecord && edited && saved);
    EXPECT_EQ(edited->version, 2);
    EXPECT_EQ(edited->source, QStringLiteral("edit"));

    const int values = queries.values({{edited->uuid, 2}, {dacRecord->uuid, 1}});
    const int preview = queries.preview(edited->uuid, 1);
    const int savedIn = queries.savedIn(saved->uuid, 1);
    ASSERT_TRUE(waitUntil(
        [&] { return answers.has(values) && answers.has(preview) && answers.has(savedIn); },
        20000));
    ASSERT_EQ(answers.values[values].size(), 2u);
    EXPECT_EQ(answers.values[values][0].values,
              keptRecord(tft::kProfile, 3, 2, QStringLiteral("K. Smith")));
    EXPECT_TRUE(answers.values[values][1].values.empty());  // the DAC's: refused, named
    EXPECT_TRUE(answers.values[values][1].refusal.contains(
        dacRecord->uuid + QStringLiteral(" version 1 is of the dac model")))
        << answers.values[values][1].refusal.toStdString();
    EXPECT_EQ(answers.previews[preview].version.version, 1);
    EXPECT_EQ(answers.previews[preview].values, keptRecord(tft::kProfile, 3, 2));
    ASSERT_EQ(answers.savedIn[savedIn].size(), 1);
    EXPECT_TRUE(answers.savedIn[savedIn][0].endsWith(QStringLiteral("/Pier-4.dat")));
}

TEST(ArchiveQueries, ThisComputersArchiveAnswersEveryKindOfRequest) {
    QTemporaryDir dir;
    const QString path = fillArchive(dir);
    LoopWatch loop;
    ArchiveQueries queries(tft::kProfile);
    Answers answers(queries);
    queries.useArchive(path);
    askEverything(queries, answers);
    EXPECT_EQ(answers.rows.begin()->second[0].sentFrom, QString());  // no sender here

    queries.useArchive(dir.filePath(QStringLiteral("missing.sqlite")));
    const int missing = queries.count({});
    ASSERT_TRUE(waitUntil([&] { return answers.has(missing); }, 20000));
    EXPECT_TRUE(answers.failures[missing].startsWith(QStringLiteral("there is no archive at")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing.sqlite"))));
    EXPECT_LT(loop.longestMs(), 1000);
}

TEST(ArchiveQueries, TheTeamServerStoppedAndStartedAgainAnswersWithoutANewStart) {
    PgCluster cluster;
    TRELLICAP_START_PG_OR_SKIP(cluster);
    QTemporaryDir dir;
    const QString path = fillArchive(dir);
    {
        SyncLocalArchive local(path);
        ASSERT_TRUE(local.open());
        ServerConnection server(addressOf(cluster));
        ASSERT_TRUE(server.open());
        QSqlDatabase localDb = local.database();
        QSqlDatabase serverDb = server.database();
        const SyncResult sent = syncArchive(localDb, serverDb, {dir.path(), cluster.url()});
        ASSERT_TRUE(sent.ok) << sent.error.toStdString();
    }
    LoopWatch loop;
    ArchiveQueries queries(tft::kProfile);
    Answers answers(queries);
    queries.useServer(addressOf(cluster));
    askEverything(queries, answers);
    // The team's rows say which laptop and which inspector sent them.
    const KeptVersion& first = answers.rows.begin()->second[0];
    EXPECT_EQ(first.sentFrom, QSysInfo::machineHostName());
    EXPECT_EQ(first.sentBy, cluster.superuser());

    // A query the server holds up (another session locks the table) meets its deadline; its
    // connection is cut, and the next query, once the lock is gone, answers on a new one.
    {
        ServerConnection holder(addressOf(cluster));
        ASSERT_TRUE(holder.open());
        QSqlDatabase held = holder.database();
        ASSERT_TRUE(held.transaction());
        ASSERT_TRUE(QSqlQuery(held).exec(
            QStringLiteral("LOCK TABLE record_versions IN ACCESS EXCLUSIVE MODE")));
        queries.setDeadline(800);
        const int heldUp = queries.count({});
        ASSERT_TRUE(waitUntil([&] { return answers.has(heldUp); }, 20000));
        EXPECT_EQ(answers.failures[heldUp], QStringLiteral("no answer within 1 s"));
        held.rollback();
        queries.setDeadline(ArchiveQueries::kDefaultDeadlineMs);
    }
    const int afterLock = queries.count({});
    ASSERT_TRUE(waitUntil([&] { return answers.has(afterLock); }, 20000));
    ASSERT_FALSE(answers.failures.contains(afterLock)) << answers.failures[afterLock].toStdString();
    EXPECT_EQ(answers.counts[afterLock], 4);

    ASSERT_TRUE(cluster.stopServer(true));
    loop.skip();
    const int whileAway = queries.count({});
    ASSERT_TRUE(waitUntil([&] { return answers.has(whileAway); }, 20000));
    EXPECT_TRUE(answers.failures.contains(whileAway));
    EXPECT_FALSE(answers.failures[whileAway].isEmpty());

    ASSERT_TRUE(cluster.startServer());
    loop.skip();
    const int back = queries.count({});
    ASSERT_TRUE(waitUntil([&] { return answers.has(back); }, 20000));
    ASSERT_FALSE(answers.failures.contains(back)) << answers.failures[back].toStdString();
    EXPECT_EQ(answers.counts[back], 4);
    std::printf("longest pause of the caller's event loop: %lld ms\n",
                static_cast<long long>(loop.longestMs()));
    EXPECT_LT(loop.longestMs(), 1000);
}

TEST(ArchiveQueries, AServerThatNeverAnswersMeetsTheDeadlineAndTheCallerNeverWaits) {
    // Takes the connection and says nothing, as a server behind a dead link does.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    LoopWatch loop;
    QElapsedTimer clock;
    {
        ArchiveQueries queries(tft::kProfile);
        Answers answers(queries);
        queries.setDeadline(600);
        queries.useServer({QStringLiteral("anna"), QStringLiteral("127.0.0.1"), silent.serverPort(),
                           QStringLiteral("trellicap")});
        clock.start();
        const int asked = queries.count({});
        ASSERT_TRUE(waitUntil([&] { return answers.has(asked); }, 20000));
        EXPECT_EQ(answers.failures[asked], QStringLiteral("no answer within 1 s"));
        EXPECT_LT(clock.elapsed(), 3000);
        clock.restart();
    }
    // Still connecting when it went: the caller did not wait for the connect timeout.
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_LT(loop.longestMs(), 2000);
}

}  // namespace
}  // namespace trellicap::archive
