// The team server's address and archive.conf: what the program accepts, what it refuses and
// what it keeps in the file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include "archive/server_address.h"
#include "archive/server_conf.h"

namespace trellicap::archive {
namespace {

TEST(ServerAddress, ReadsUserHostPortAndDatabase) {
    const ServerAddressParse full =
        parseServerAddress(QStringLiteral(" postgresql://anna@office.lan:6543/inspections "));
    ASSERT_TRUE(full.ok()) << full.error.toStdString();
    EXPECT_EQ(full.address, (ServerAddress{QStringLiteral("anna"), QStringLiteral("office.lan"),
                                           6543, QStringLiteral("inspections")}));

    const ServerAddressParse defaults =
        parseServerAddress(QStringLiteral("postgres://bob@10.0.0.5/team"));
    ASSERT_TRUE(defaults.ok());
    EXPECT_EQ(defaults.address.port, 5432);

    // Escaped characters in a role's name come back as typed, and the text goes round.
    const ServerAddressParse escaped =
        parseServerAddress(QStringLiteral("postgresql://o%27neil@h:1/d"));
    ASSERT_TRUE(escaped.ok());
    EXPECT_EQ(escaped.address.user, QStringLiteral("o'neil"));
    EXPECT_EQ(parseServerAddress(serverAddressText(full.address)).address, full.address);
    EXPECT_EQ(serverAddressText(full.address),
              QStringLiteral("postgresql://anna@office.lan:6543/inspections"));
}

TEST(ServerAddress, RefusesWhatItCannotUseAndSaysWhy) {
    const auto reason = [](const char* text) {
        return parseServerAddress(QString::fromLatin1(text)).error;
    };
    EXPECT_TRUE(reason("postgresql://anna:secret@h:5432/d").contains(QStringLiteral("password")));
    EXPECT_TRUE(reason("mysql://anna@h/d").contains(QStringLiteral("postgresql://")));
    EXPECT_TRUE(reason("postgresql://h:5432/d").contains(QStringLiteral("no user")));
    EXPECT_TRUE(reason("postgresql://anna@h:5432/").contains(QStringLiteral("no database")));
    EXPECT_TRUE(
        reason("postgresql://anna@h:5432/d?sslmode=disable").contains(QStringLiteral("options")));
    EXPECT_FALSE(reason("").isEmpty());
    EXPECT_FALSE(reason("postgresql://anna@h:99999/d").isEmpty());
}

TEST(ServerAddress, SetsTheConnectionWithoutAPassword) {
    QSqlDatabase database =
        QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("address-test"));
    applyServerAddress(database, {QStringLiteral("anna"), QStringLiteral("office.lan"), 6543,
                                  QStringLiteral("inspections")});
    EXPECT_EQ(database.hostName(), QStringLiteral("office.lan"));
    EXPECT_EQ(database.port(), 6543);
    EXPECT_EQ(database.userName(), QStringLiteral("anna"));
    EXPECT_EQ(database.databaseName(), QStringLiteral("inspections"));
    EXPECT_TRUE(database.password().isEmpty());
    EXPECT_TRUE(database.connectOptions().contains(QStringLiteral("connect_timeout=")));
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("address-test"));
}

TEST(ServerConf, WritesReadsAndClearsTheAddressKeepingTheRestOfTheFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_TRUE(readServerConf(folder.path()).url.isEmpty());
    EXPECT_TRUE(readServerConf(folder.path()).error.isEmpty());

    {
        QFile file(serverConfPath(folder.path()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[server]\nurl=postgresql://anna@office:5432/team\n\n[notes]\nkept=yes\n");
    }
    EXPECT_EQ(readServerConf(folder.path()).url,
              QStringLiteral("postgresql://anna@office:5432/team"));

    EXPECT_TRUE(
        writeServerConf(folder.path(), QStringLiteral("postgresql://bob@srv:6000/db")).isEmpty());
    EXPECT_EQ(readServerConf(folder.path()).url, QStringLiteral("postgresql://bob@srv:6000/db"));
    QFile written(serverConfPath(folder.path()));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.contains("[server]"));
    EXPECT_TRUE(text.contains("url=postgresql://bob@srv:6000/db"));
    EXPECT_TRUE(text.contains("kept=yes"));
    written.close();

    EXPECT_TRUE(writeServerConf(folder.path(), QString()).isEmpty());
    EXPECT_TRUE(readServerConf(folder.path()).url.isEmpty());
}

TEST(ServerConf, SaysWhenTheFileCannotBeWritten) {
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("gone"));
    EXPECT_TRUE(writeServerConf(missing, QStringLiteral("postgresql://a@b/c"))
                    .contains(QStringLiteral("archive.conf")));
    EXPECT_FALSE(QFileInfo::exists(missing));  // never made up as a side effect

    // archive.conf itself a folder: the write fails, the caller hears of it.
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("archive.conf")));
    EXPECT_FALSE(writeServerConf(folder.path(), QStringLiteral("postgresql://a@b/c")).isEmpty());
}

}  // namespace
}  // namespace trellicap::archive
