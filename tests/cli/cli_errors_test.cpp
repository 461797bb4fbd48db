// What the tool says when the command line or the file is wrong: one line on standard
// error, exit status 2 for usage (with a pointer to --help), 1 for input, and no output file.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "crafted_files.h"

namespace trellicap {
namespace {

using testing::CliRun;
using testing::runCli;

class Errors : public ::testing::Test {
protected:
    // The run's single line on standard error; fails the test when it is not one line.
    static QString errorLine(const CliRun& run) {
        const QString err = QString::fromUtf8(run.err);
        EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
        EXPECT_TRUE(err.endsWith('\n'));
        return err.trimmed();
    }
    QString writeBytes(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir dir;
    QString tft = testing::writeTftFile(QDir(dir.path()));
    QString out = dir.filePath("out.pdf");
};

TEST_F(Errors, badUsageNamesTheReasonAndWhereHelpIs) {
    const struct {
        QStringList arguments;
        QString line;
    } cases[] = {
        {{}, "trellicap-cli: no subcommand given. See 'trellicap-cli --help'."},
        {{"print"}, "trellicap-cli: 'print' is not a subcommand. See 'trellicap-cli --help'."},
        {{"pdf", tft},
         "trellicap-cli pdf: pdf needs -o, --output OUT.pdf. See 'trellicap-cli pdf --help'."},
        {{"csv", "-o", out},
         "trellicap-cli csv: csv needs a record file. See 'trellicap-cli csv --help'."},
        {{"pdf", tft, "-o", out, "--slots", "1-201"},
         "trellicap-cli pdf: the slot list '1-201' is not valid: slot 201 lies outside 1 to 200. "
         "See 'trellicap-cli pdf --help'."},
        {{"pdf", tft, "-o", out, "--slots", "1", "--marked"},
         "trellicap-cli pdf: --slots and --marked cannot be given together. "
         "See 'trellicap-cli pdf --help'."},
        {{"pdf", tft, "-o", out, "--dpi", "1200"},
         "trellicap-cli pdf: --dpi takes a whole number from 96 to 600, not '1200'. "
         "See 'trellicap-cli pdf --help'."},
        {{"png", tft, "-o", out, "--slot", "3", "--scale", "0"},
         "trellicap-cli png: --scale takes a number from 0.5 to 8, not '0'. "
         "See 'trellicap-cli png --help'."},
        {{"info", tft, "--model", "kvr"},
         "trellicap-cli info: --model takes tft|dac, not 'kvr'. See 'trellicap-cli info --help'."},
        {{"csv", tft, "--colour"},
         "trellicap-cli csv: Unknown option 'colour'. See 'trellicap-cli csv --help'."},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(errorLine(run), c.line);
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(Errors, badFilesSayHowFarTheLoadGotAndLeaveNoOutput) {
    QFile source(tft);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    const QString shortFile = writeBytes("short.dat", bytes.left(4000));
    const QString badValue = writeBytes("bad.dat", bytes.left(2800) + "12x " + bytes.mid(2804));
    // "7000" runs into the next field's "0": a value beyond 16 bits.
    const QString wide = writeBytes("wide.dat", bytes.left(2800) + "7000" + bytes.mid(2804));
    const struct {
        QStringList arguments;
        QString line;
    } cases[] = {
        {{"pdf", dir.filePath("none.dat"), "-o", out},
         QStringLiteral("trellicap-cli pdf: The record file \"%1\" could not be opened. No such "
                        "file or directory.")
             .arg(dir.filePath("none.dat"))},
        {{"pdf", shortFile, "-o", out},
         QStringLiteral("trellicap-cli pdf: \"%1\" is 4,000 bytes, the size of no record file: "
                        "as a TFT record file (560,000 bytes) it is truncated, 556,000 bytes "
                        "short; as a DAC record file (520,000 bytes) it is truncated, 516,000 "
                        "bytes short; name its model with --model tft|dac.")
             .arg(shortFile)},
        {{"csv", shortFile, "--model", "tft", "-o", out},
         QStringLiteral("trellicap-cli csv: The record file \"%1\" was loaded only in part: 1,000 "
                        "of the 140,000 values were read. The file ends there.")
             .arg(shortFile)},
        {{"pdf", badValue, "-o", out},
         QStringLiteral("trellicap-cli pdf: The record file \"%1\" was loaded only in part: 700 "
                        "of the 140,000 values were read. Value 701 (slot 2, row 0) is not a "
                        "number: \"12x\".")
             .arg(badValue)},
        {{"json", wide, "-o", out},
         QStringLiteral("trellicap-cli json: The record file \"%1\" was loaded only in part: 700 "
                        "of the 140,000 values were read. Value 701 (slot 2, row 0) lies outside "
                        "-32768 to 32767: \"70000\".")
             .arg(wide)},
    };
    for (const auto& c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.exitCode, 1) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(errorLine(run), c.line);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({"out*", "*.tmp", "*~"}).isEmpty());
}

TEST_F(Errors, aModelThatContradictsTheFileSizeIsRefusedNamingBothSizes) {
    const QString dac = testing::writeDacFile(QDir(dir.path()));
    const CliRun wrong = runCli({"csv", dac, "--model", "tft", "-o", out});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(errorLine(wrong),
              QStringLiteral("trellicap-cli csv: \"%1\" is 520,000 bytes, the size of a DAC "
                             "record file, but --model tft reads 560,000 bytes; name the file's "
                             "model (--model dac) or leave --model out.")
                  .arg(dac));
    EXPECT_FALSE(QFileInfo::exists(out));

    // Between the two sizes: longer than one, truncated for the other.
    QFile source(tft);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString between = writeBytes("between.dat", source.readAll().left(530000));
    const CliRun neither = runCli({"info", between});
    EXPECT_EQ(neither.exitCode, 1);
    EXPECT_EQ(errorLine(neither),
              QStringLiteral("trellicap-cli info: \"%1\" is 530,000 bytes, the size of no record "
                             "file: as a TFT record file (560,000 bytes) it is truncated, 30,000 "
                             "bytes short; it is 10,000 bytes longer than a DAC record file "
                             "(520,000 bytes); name its model with --model tft|dac.")
                  .arg(between));

    // The model that fits is taken as before.
    EXPECT_EQ(runCli({"info", dac, "--model", "dac"}).exitCode, 0);
}

TEST_F(Errors, aPictureOrPageOfASlotWithoutARecordIsMadeWithAWarning) {
    const QString png = dir.filePath("slot5.png");
    const CliRun empty = runCli({"png", tft, "--slot", "5", "-o", png});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(png));
    EXPECT_EQ(errorLine(empty),
              QStringLiteral("trellicap-cli: warning: slot 5 holds no record (the record there "
                             "does not name its own slot, so the window does not mark it); the "
                             "picture shows the slot as it stands."));

    const CliRun pages = runCli({"pdf", tft, "--slots", "3-5,7", "-o", out});
    EXPECT_EQ(pages.exitCode, 0);
    EXPECT_TRUE(errorLine(pages).startsWith(
        QStringLiteral("trellicap-cli: warning: slots 4-5 hold no record")));

    // A marked slot, or the marked slots by default: nothing to warn about.
    for (const QStringList& quiet :
         {QStringList{"png", tft, "--slot", "3", "-o", png}, QStringList{"pdf", tft, "-o", out}}) {
        const CliRun run = runCli(quiet);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST_F(Errors, aFailedRunLeavesAnEarlierOutputAsItWas) {
    writeBytes("out.pdf", "earlier");
    // The file holds no marked slot: nothing to print.
    RecordStore empty(tft::kProfile);
    empty.initMemoryTable();
    const QString blank = dir.filePath("blank.dat");
    testing::writeFile(empty, blank);
    const CliRun run = runCli({"pdf", blank, "-o", out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(errorLine(run),
              QStringLiteral("trellicap-cli pdf: no slot of \"%1\" is marked, so there is no page "
                             "to print; name slots with --slots.")
                  .arg(blank));
    // An output in a folder that does not exist.
    const CliRun nowhere = runCli({"csv", tft, "-o", dir.filePath("no/such/out.csv")});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_TRUE(errorLine(nowhere).startsWith(
        QStringLiteral("trellicap-cli csv: \"%1\" could not be written: ")
            .arg(dir.filePath("no/such/out.csv"))));
    QFile earlier(out);
    ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
    EXPECT_EQ(earlier.readAll(), "earlier");
}

TEST_F(Errors, helpGoesToStandardOutputWithStatusZero) {
    const CliRun overall = runCli({"--help"});
    EXPECT_EQ(overall.exitCode, 0);
    for (const char* name : {"info", "pdf", "csv", "json", "png", "svg", "capture"}) {
        EXPECT_TRUE(overall.out.contains(QByteArray("\n  ") + name)) << name;
        const CliRun one = runCli({name, "--help"});
        EXPECT_EQ(one.exitCode, 0);
        EXPECT_TRUE(one.out.startsWith(QByteArray("Usage: trellicap-cli ") + name + ' '));
        EXPECT_TRUE(one.err.isEmpty());
    }
}

TEST_F(Errors, infoNamesTheModelTheMarkedSlotsAndTheirSettings) {
    const CliRun run = runCli({"info", tft});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(run.out),
              QStringLiteral("File: %1\n"
                             "Model: TFT (from the file's size, 560,000 bytes)\n"
                             "Marked slots: 3,7 (2 of 200)\n"
                             "\n"
                             "Slot  Time and date     RANGE  DELAY  Gain     GATE 1  Operator\n"
                             "   3  2013-02-01T06:50  100    0.0    45.5 dB  ON      A. Example\n"
                             "   7  9999999999        250    10.0   12.0 dB  DAC -6\n")
                  .arg(tft));
    const QString dac = testing::writeDacFile(QDir(dir.path()));
    const CliRun dacRun = runCli({"info", dac, "--model", "dac", "--slots", "150"});
    ASSERT_EQ(dacRun.exitCode, 0);
    EXPECT_TRUE(dacRun.out.contains("Model: DAC (from --model)\nMarked slots: 2,150 (2 of 200)\n"));
    // A blank gain still shows its unit; the DAC table names the job number.
    EXPECT_EQ(QString::fromUtf8(dacRun.out).section('\n', -3),
              "Slot  Time and date  RANGE  DELAY  Gain     GATE 1  Job No\n"
              " 150  2460010113     50                 dB          JOB-43\n");
}

}  // namespace
}  // namespace trellicap
