// A failing archive never stops the run: the change waits, the status says why, and the
// archive catches up once it can write again.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "archive/archive_keeper.h"
#include "archive/archive_search.h"
#include "profiles/tft.h"
#include "test_records.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

namespace trellicap::archive {
namespace {

using test::ArchiveReader;
using test::keptRecord;

class FailingArchive : public ::testing::Test {
protected:
    [[nodiscard]] QString path() const { return m_dir.filePath(QStringLiteral("archive.sqlite")); }

    // Two records kept before the trouble, so the file exists with this run in it.
    void startWithTwo(ArchiveKeeper& keeper) {
        keeper.setRetryInterval(60000);  // the test says when to try again
        keeper.start();
        keeper.keepFiled(0, keptRecord(m_tft, 1, 1), Source::Capture);
        keeper.keepFiled(1, keptRecord(m_tft, 2, 2), Source::Capture);
        ASSERT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    }

    // During the trouble: two more captures, which wait.
    void captureTwoMore(ArchiveKeeper& keeper, const char* reason) {
        QSignalSpy status(&keeper, &ArchiveKeeper::statusChanged);
        keeper.keepFiled(2, keptRecord(m_tft, 3, 3), Source::Capture);
        keeper.keepFiled(3, keptRecord(m_tft, 4, 4), Source::Unsolicited);
        EXPECT_TRUE(keeper.failing());
        EXPECT_EQ(keeper.waiting(), 2);
        EXPECT_TRUE(keeper.statusText().contains(QLatin1String(reason)))
            << keeper.statusText().toStdString();
        EXPECT_TRUE(keeper.statusText().contains(QLatin1String("2 changes waiting")))
            << keeper.statusText().toStdString();
        EXPECT_GE(status.count(), 1);
    }

    void expectAllFourAfterRetry(ArchiveKeeper& keeper) {
        keeper.retryNow();
        EXPECT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
        EXPECT_EQ(keeper.waiting(), 0);
        EXPECT_TRUE(keeper.statusText().isEmpty());
        ArchiveReader reader(path());
        EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 4);
        const auto values = keptValues(
            reader.db(),
            [&reader] {
                QSqlQuery query(reader.db());
                query.exec(QStringLiteral("SELECT uuid FROM record_versions WHERE slot = 4"));
                return query.next() ? query.value(0).toString() : QString();
            }(),
            1, m_tft.recordSize());
        EXPECT_EQ(values, keptRecord(m_tft, 4, 4));
    }

    QTemporaryDir m_dir;
    const ModelProfile& m_tft = tft::kProfile;
};

#ifdef Q_OS_UNIX
TEST_F(FailingArchive, ALockHeldByAnotherProgramMakesChangesWaitUntilItIsGone) {
    ArchiveKeeper keeper(m_tft, path());
    startWithTwo(keeper);
    QProcess holder;
    holder.start(QStringLiteral(ARCHIVE_LOCK_HOLDER), {path()});
    ASSERT_TRUE(holder.waitForReadyRead(20000));
    ASSERT_EQ(holder.readLine().trimmed(), QByteArray("locked"));

    captureTwoMore(keeper, "locked by another program");

    holder.write("\n");
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(20000));
    expectAllFourAfterRetry(keeper);
}

// A file-size limit makes the medium "full" for root too; the signal the limit raises is
// ignored so that the write reports the error instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &m_original);
        rlimit limited = m_original;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_original);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_original{};
    void (*m_handler)(int);
};

TEST_F(FailingArchive, AFullMediumMakesChangesWaitAndNamesTheDisk) {
    ArchiveKeeper keeper(m_tft, path());
    startWithTwo(keeper);
    {
        const FileSizeLimit limit(1024);
        captureTwoMore(keeper, "disk");
    }
    expectAllFourAfterRetry(keeper);
}

// Root writes past file modes; the immutable attribute stops root too.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(QString path) : m_path(std::move(path)) {
        if (geteuid() == 0) {
            m_immutable =
                QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}) == 0;
            m_usable = m_immutable;
        } else {
            m_usable = QFile::setPermissions(m_path, QFile::ReadOwner);
        }
    }
    ~ReadOnlyFile() { undo(); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    void undo() {
        if (m_immutable) {
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
            m_immutable = false;
        } else {
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    [[nodiscard]] bool usable() const { return m_usable; }

private:
    QString m_path;
    bool m_immutable = false;
    bool m_usable = false;
};

TEST_F(FailingArchive, AReadOnlyArchiveMakesChangesWaitAndSaysSo) {
    {
        ArchiveKeeper first(m_tft, path());
        startWithTwo(first);
        first.endRunCleanly();
    }
    ReadOnlyFile readOnly(path());
    if (!readOnly.usable()) {
        GTEST_SKIP() << "this file system cannot make the archive read-only for this user";
    }
    ArchiveKeeper keeper(m_tft, path());
    keeper.setRetryInterval(60000);
    keeper.start();
    captureTwoMore(keeper, "read-only");
    readOnly.undo();
    keeper.retryNow();
    EXPECT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    ArchiveReader reader(path());
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 4);
}
#endif

TEST_F(FailingArchive, ADamagedFileIsRenamedAsideAndANewArchiveStarted) {
    QByteArray garbage(70000, '\0');
    for (qsizetype i = 0; i < garbage.size(); ++i) {
        garbage[i] = static_cast<char>((i * 131 + 7) % 251);
    }
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    ArchiveKeeper keeper(m_tft, path());
    QSignalSpy moved(&keeper, &ArchiveKeeper::damagedFileMoved);
    keeper.start();
    keeper.keepFiled(0, keptRecord(m_tft, 1, 1), Source::Capture);
    EXPECT_FALSE(keeper.failing()) << keeper.statusText().toStdString();
    ASSERT_EQ(moved.count(), 1);
    const QString aside = moved.at(0).at(1).toString();
    EXPECT_TRUE(aside.startsWith(path() + QStringLiteral(".damaged-"))) << aside.toStdString();
    QFile kept(aside);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), garbage);  // the damaged file stays as it was, for a rescue
    ArchiveReader reader(path());
    EXPECT_EQ(reader.count(QStringLiteral("SELECT COUNT(*) FROM record_versions")), 1);
}

}  // namespace
}  // namespace trellicap::archive
