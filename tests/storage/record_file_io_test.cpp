#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>

#include "profiles/tft.h"
#include "record_store_fixtures.h"
#include "storage/record_file_io.h"
#include "storage/record_file_writer.h"
#include "storage/storage_messages.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace trellicap {
namespace {

using namespace trellicap::testing;
using Stop = LoadResult::Stop;

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A medium with room for so many bytes more, which then answers as a full one does: a
// short count, then -1 with errno set (errno 0: it only stops taking bytes).
class FillingMedium final : public SaveMedium {
public:
    qint64 room = 100000;
    int fullError = ENOSPC;
    int syncError = 0;
    int interruptions = 0;  // writes broken off by a signal before they take a byte

    qint64 write(int fd, const char* data, qint64 size) override {
        if (interruptions > 0) {
            --interruptions;
            errno = EINTR;
            return -1;
        }
        const qint64 taken = std::min(size, room);
        if (taken == 0) {
            errno = fullError;
            return fullError != 0 ? -1 : 0;
        }
        room -= taken;
        return systemMedium().write(fd, data, taken);
    }
    int sync(int fd) override {
        if (syncError != 0) {
            errno = syncError;
            return -1;
        }
        return systemMedium().sync(fd);
    }
};

#ifdef Q_OS_UNIX
// A file-size limit makes the medium "full" that many bytes into the new file, for root
// too, without mounting anything; the signal the limit raises is ignored so that the write
// reports the error instead.
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
#endif

class RecordFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        fillVaried(m_store);
        setMemoryNumber(m_store, 2, "003");
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // A failed save must leave the old file and the table as they were, and no temporary.
    void expectNothingChanged(const QString& oldFile, const QByteArray& oldBytes,
                              const std::vector<RecordValue>& table) {
        EXPECT_EQ(readBytes(oldFile), oldBytes);
        EXPECT_EQ(snapshot(m_store), table);
        EXPECT_EQ(QFileInfo(oldFile).dir().entryList(QDir::Files).size(), 1);
    }

    QTemporaryDir m_dir;
    RecordStore m_store{tft::kProfile};
};

TEST_F(RecordFileOnDisk, SavedFileLoadsBackAfterARestart) {
    const QString file = path("temp.dat");
    ASSERT_FALSE(saveRecordFile(file, m_store));
    EXPECT_EQ(QFileInfo(file).size(), 560000);
    EXPECT_EQ(readBytes(file), writeRecordFile(m_store));

    RecordStore restarted(tft::kProfile);
    restarted.initMemoryTable();
    putSentinels(restarted);
    const LoadResult result = loadRecordFile(file, restarted);
    EXPECT_EQ(result.stop, Stop::Complete);
    EXPECT_TRUE(result.marked[2]);
    for (int col = 0; col < kSlotCount; ++col) {
        ASSERT_TRUE(std::equal(m_store.column(col).begin(), m_store.column(col).begin() + 700,
                               restarted.column(col).begin()));
    }
    EXPECT_TRUE(sentinelsIntact(restarted));
}

TEST_F(RecordFileOnDisk, SaveOverALongerFileLeavesNoStaleTail) {
    const QString file = path("temp.dat");
    writeBytes(file, QByteArray(700000, 'x'));
    ASSERT_FALSE(saveRecordFile(file, m_store));
    EXPECT_EQ(QFileInfo(file).size(), 560000);
}

TEST_F(RecordFileOnDisk, PathThatCannotBeOpenedLeavesTheTableUntouched) {
    putSentinels(m_store);
    const auto before = snapshot(m_store);
    for (const QString& bad : {path("missing.dat"), m_dir.path()}) {
        const LoadResult result = loadRecordFile(bad, m_store);
        EXPECT_EQ(result.stop, Stop::CannotOpen) << bad.toStdString();
        EXPECT_FALSE(result.tableChanged());
        EXPECT_FALSE(result.systemError.isEmpty());
        EXPECT_EQ(result.valuesExpected, 140000);
        EXPECT_EQ(snapshot(m_store), before);
    }
}

TEST_F(RecordFileOnDisk, EndlessOrForeignFileStopsAtItsFirstValue) {
    // A device that never ends would hang a load that reads the whole file first.
    const LoadResult result = loadRecordFile(QStringLiteral("/dev/zero"), m_store);
    EXPECT_EQ(result.stop, Stop::NotANumber);
    EXPECT_EQ(result.valuesRead, 0);
    EXPECT_TRUE(result.tableChanged());
}

TEST_F(RecordFileOnDisk, SaveIntoAPathUnderAFileFailsAndReports) {
    // Fails for every user, root included: the parent is not a folder.
    const QString notAFolder = path("plain");
    writeBytes(notAFolder, "old");
    const auto table = snapshot(m_store);
    const auto error = saveRecordFile(notAFolder + QStringLiteral("/temp.dat"), m_store);
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->isEmpty());
    expectNothingChanged(notAFolder, "old", table);

    EXPECT_TRUE(saveRecordFile(m_dir.path(), m_store));  // a folder's own path
}

#ifdef Q_OS_UNIX  // folder modes and the user id
TEST_F(RecordFileOnDisk, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "running as root: folder permissions do not stop root's writes";
    }
    const QString file = path("temp.dat");
    writeBytes(file, "old contents");
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto table = snapshot(m_store);
    const auto error = saveRecordFile(file, m_store);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(error);
    expectNothingChanged(file, "old contents", table);
}
#endif

#ifdef Q_OS_UNIX  // a file-size limit
TEST_F(RecordFileOnDisk, SaveOnAFullMediumFailsAndKeepsTheOldFile) {
    const QString file = path("temp.dat");
    writeBytes(file, "old contents");
    const auto table = snapshot(m_store);
    const auto error = [&] {
        const FileSizeLimit limit(100000);
        return saveRecordFile(file, m_store);
    }();

    ASSERT_TRUE(error);
    EXPECT_FALSE(error->isEmpty());
    expectNothingChanged(file, "old contents", table);
}
#endif

TEST_F(RecordFileOnDisk, TableThatWouldNotReadBackIsNotSaved) {
    const QString file = path("temp.dat");
    writeBytes(file, "old contents");
    m_store.column(4)[12] = 1000;
    const auto table = snapshot(m_store);
    const auto error = saveRecordFile(file, m_store);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->contains(QStringLiteral("slot 5"))) << error->toStdString();
    EXPECT_TRUE(error->contains(QStringLiteral("1000")));
    expectNothingChanged(file, "old contents", table);
}

TEST_F(RecordFileOnDisk, SaveOnAFullMediumSaysWhyAndKeepsTheOldFile) {
    FillingMedium full;
    FillingMedium silent;
    silent.fullError = 0;
    FillingMedium unsynced;  // the file system finds out only when the data must reach it
    unsynced.room = 1 << 30;
    unsynced.syncError = EIO;
    const struct {
        FillingMedium* medium;
        QString reason;
    } cases[] = {
        {&full, qt_error_string(ENOSPC)},
        {&silent, QStringLiteral("only 100,000 of 560,000 bytes could be written")},
        {&unsynced, qt_error_string(EIO)},
    };
    const QString file = path("temp.dat");
    for (const auto& c : cases) {
        writeBytes(file, "old contents");
        const auto table = snapshot(m_store);
        const auto error = saveRecordFile(file, m_store, *c.medium);
        ASSERT_TRUE(error) << c.reason.toStdString();
        EXPECT_EQ(*error, c.reason);
        EXPECT_TRUE(describeSaveFailure(file, *error).informative.startsWith(c.reason + '.'));
        expectNothingChanged(file, "old contents", table);
    }
}

TEST_F(RecordFileOnDisk, SaveGoesOnAfterASignalBreaksOffAWrite) {
    FillingMedium interrupted;
    interrupted.room = 1 << 30;
    interrupted.interruptions = 2;
    const QString file = path("temp.dat");
    ASSERT_FALSE(saveRecordFile(file, m_store, interrupted));
    EXPECT_EQ(readBytes(file), writeRecordFile(m_store));
}

#ifdef Q_OS_UNIX  // a file-size limit
TEST_F(RecordFileOnDisk, SaveBeyondTheFileSizeLimitGivesTheSystemsReason) {
    const QString file = path("temp.dat");
    writeBytes(file, "old contents");
    const auto table = snapshot(m_store);
    std::optional<QString> error;
    {
        const FileSizeLimit limit(100000);
        error = saveRecordFile(file, m_store);
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, qt_error_string(EFBIG));
    expectNothingChanged(file, "old contents", table);
}
#endif

}  // namespace
}  // namespace trellicap
