// A PostgreSQL test cluster never outlives its test: killed with SIGKILL (as a time-out kills a
// test), the process leaves no server behind and no folder; and two clusters started at once
// each get a port of their own.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTcpSocket>
#include <csignal>

#include "support/pg_cluster.h"
#include "support/wait.h"

namespace trellicap {
namespace {

using testing::PgCluster;

bool listening(int port) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    return socket.waitForConnected(500);
}

TEST(PgClusterLifecycle, AKilledTestLeavesNoServerAndNoFolderBehind) {
    if (!PgCluster::unavailableReason().isEmpty()) {
        GTEST_SKIP() << PgCluster::unavailableReason().toStdString();
    }
    QProcess holder;
    holder.start(QStringLiteral(PG_CLUSTER_HOLDER), {});
    ASSERT_TRUE(holder.waitForStarted(10000));
    ASSERT_TRUE(holder.waitForReadyRead(120000)) << holder.readAllStandardError().toStdString();
    const QList<QByteArray> said = holder.readLine().trimmed().split(' ');
    ASSERT_EQ(said.size(), 2);
    const int port = said[0].toInt();
    const QString folder = QString::fromLocal8Bit(said[1]);
    ASSERT_TRUE(listening(port));
    ASSERT_TRUE(QDir(folder).exists());

    ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_TRUE(testing::waitUntil([&] { return !listening(port); }, 20000))
        << "the server on port " << port << " outlived its test";
    EXPECT_TRUE(testing::waitUntil([&] { return !QDir(folder).exists(); }, 20000))
        << folder.toStdString() << " stayed";
}

TEST(PgClusterLifecycle, TwoClustersStartedTogetherListenOnPortsOfTheirOwn) {
    if (!PgCluster::unavailableReason().isEmpty()) {
        GTEST_SKIP() << PgCluster::unavailableReason().toStdString();
    }
    PgCluster first;
    PgCluster second;
    ASSERT_TRUE(first.start()) << first.error().toStdString();
    ASSERT_TRUE(second.start()) << second.error().toStdString();
    EXPECT_NE(first.port(), second.port());
    EXPECT_TRUE(first.psql(QStringLiteral("SELECT 1")));
    EXPECT_TRUE(second.psql(QStringLiteral("SELECT 1")));
    const QString folder = first.folder();
    first.stop();
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_FALSE(listening(first.port()));
}

}  // namespace
}  // namespace trellicap
