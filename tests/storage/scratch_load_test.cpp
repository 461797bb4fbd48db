// A load read aside: the slots in use stay as they are until the result is adopted, and the
// adopted result is exactly what a load straight into the table leaves.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record_store_fixtures.h"
#include "storage/record_file_io.h"
#include "storage/record_file_writer.h"
#include "storage/scratch_load.h"

namespace trellicap {
namespace {

using namespace trellicap::testing;
using Stop = LoadResult::Stop;

class ScratchLoadTest : public ::testing::TestWithParam<const ModelProfile*> {
protected:
    QString writeFile(const char* name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), bytes.size());
        return path;
    }

    // A table in use: varied records, sentinels where no load writes, two marked slots.
    RecordStore liveTable() {
        RecordStore live(*GetParam());
        fillVaried(live);
        setMemoryNumber(live, 4, "005");
        putSentinels(live);
        return live;
    }

    QTemporaryDir m_dir;
};

TEST_P(ScratchLoadTest, AShortFileLeavesTheTableUntilAdoptedThenMatchesADirectLoad) {
    const ModelProfile& profile = *GetParam();
    RecordStore source(profile);
    source.initMemoryTable();
    fillVaried(source);
    setMemoryNumber(source, 0, "001");
    // Cut inside slot 2: slot 1 complete, part of slot 2, the rest never reached.
    const QByteArray whole = writeRecordFile(source);
    const int values = profile.fileRows.count() + 123;
    const QString path = writeFile("short.dat", whole.left(4 * values));

    RecordStore live = liveTable();
    const auto before = snapshot(live);
    ScratchLoad load(profile);
    const LoadResult& result = load.read(path);
    EXPECT_EQ(result.stop, Stop::EarlyEnd);
    EXPECT_EQ(result.valuesRead, values);
    EXPECT_TRUE(result.marked[0]);
    EXPECT_EQ(snapshot(live), before) << "reading aside changed the slots in use";

    RecordStore direct = liveTable();
    const LoadResult directResult = loadRecordFile(path, direct);
    load.adoptInto(live);
    EXPECT_EQ(snapshot(live), snapshot(direct));
    EXPECT_EQ(directResult.marked, result.marked);
    EXPECT_TRUE(sentinelsIntact(live));
    EXPECT_EQ(live.column(1)[122], source.column(1)[122]);
    EXPECT_EQ(live.column(1)[123], 0);  // pre-fill where the file stopped
}

TEST_P(ScratchLoadTest, ACompleteFileIsAdoptedWholeAndAMissingOneNever) {
    const ModelProfile& profile = *GetParam();
    RecordStore source(profile);
    fillVaried(source);
    setMemoryNumber(source, 199, "200");
    const QString path = writeFile("whole.dat", writeRecordFile(source));

    RecordStore live = liveTable();
    ScratchLoad load(profile);
    EXPECT_EQ(load.read(path).stop, Stop::Complete);
    EXPECT_TRUE(load.result().marked[199]);
    EXPECT_FALSE(load.result().marked[4]);  // the old table's mark is not the file's
    load.adoptInto(live);
    for (int col : {0, 4, 199}) {
        for (int row = 0; row <= profile.fileRows.last; ++row) {
            ASSERT_EQ(live.column(col)[static_cast<std::size_t>(row)],
                      source.column(col)[static_cast<std::size_t>(row)])
                << col << "/" << row;
        }
    }
    EXPECT_TRUE(sentinelsIntact(live));

    RecordStore untouched = liveTable();
    const auto before = snapshot(untouched);
    ScratchLoad missing(profile);
    EXPECT_EQ(missing.read(m_dir.filePath(QStringLiteral("none.dat"))).stop, Stop::CannotOpen);
    missing.adoptInto(untouched);
    EXPECT_EQ(snapshot(untouched), before);
}

INSTANTIATE_TEST_SUITE_P(Models, ScratchLoadTest, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
}  // namespace trellicap
