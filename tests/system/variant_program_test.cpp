// A third model is one profile file and one line of the model registry: the test-only variant
// (support/variant_profile.h, support/test_models.cmake) gets a window program of its own that
// starts, files a frame sent from the instrument and keeps it under its own model, and a
// command-line tool that knows it reads that record with --model variant.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/sim_process.h"
#include "support/wait.h"

namespace trellicap {
namespace {

using testing::SimProcess;

QByteArray runTool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral(TRELLICAP_CLI_ALL_MODELS_PATH), arguments);
    if (!tool.waitForFinished(30000)) {
        return {};
    }
    return tool.readAllStandardOutput() + tool.readAllStandardError();
}

TEST(VariantProgram, TheThirdModelsWindowProgramStartsAndItsRecordsAreItsOwn) {
    QTemporaryDir dir;
    SimProcess sim;
    ASSERT_TRUE(
        sim.start({QStringLiteral("--model"), QStringLiteral("tft"), QStringLiteral("--fast")}))
        << sim.error().toStdString();
    {
        QFile cfg(dir.filePath(QStringLiteral("udc.cfg")));
        ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
        cfg.write(sim.pty().toLocal8Bit() + "\r\n");
    }
    QProcess program;
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(TRELLICAP_VARIANT_PATH), {});
    ASSERT_TRUE(program.waitForStarted(10000));

    // The operator sends slot 12 from the instrument until the program has it (it opens the
    // port a moment after it starts).
    const QString archive = dir.filePath(QStringLiteral("archive.sqlite"));
    const QStringList search = {QStringLiteral("archive"), QStringLiteral("search"),
                                QStringLiteral("--archive"), archive, QStringLiteral("--json")};
    bool kept = false;
    for (int attempt = 0; attempt < 20 && !kept; ++attempt) {
        sim.command("send 12");
        kept = testing::waitUntil(
            [&] {
                return runTool(search +
                               QStringList{QStringLiteral("--model"), QStringLiteral("variant")})
                    .contains("\"slot\": 12");
            },
            1500);
    }
    EXPECT_TRUE(kept) << "the variant program kept no record of slot 12: "
                      << runTool(search).left(400).toStdString() << " files "
                      << QDir(dir.path()).entryList().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(program.state(), QProcess::Running);
    // The record is the variant's, not the TFT's whose frames it reads.
    EXPECT_FALSE(runTool(search + QStringList{QStringLiteral("--model"), QStringLiteral("tft")})
                     .contains("\"slot\": 12"));
    program.terminate();
    EXPECT_TRUE(program.waitForFinished(10000));
}

TEST(VariantProgram, OnlyTheToolOfTheTestsKnowsTheTestModel) {
    EXPECT_TRUE(runTool({QStringLiteral("info"), QStringLiteral("--help")})
                    .contains("--model tft|dac|variant"));
    QProcess shipped;
    shipped.start(QStringLiteral(TRELLICAP_CLI_PATH),
                  {QStringLiteral("info"), QStringLiteral("--help")});
    ASSERT_TRUE(shipped.waitForFinished(30000));
    const QByteArray help = shipped.readAllStandardOutput();
    EXPECT_TRUE(help.contains("--model tft|dac]")) << help.toStdString();
}

}  // namespace
}  // namespace trellicap
