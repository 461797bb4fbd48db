#include "cli_fixture.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "display/panel_texts.h"
#include "record/text_codes.h"
#include "storage/record_file_writer.h"

namespace trellicap::testing {

namespace {

void putText(std::span<RecordValue> column, int index, const QString& text) {
    for (const RecordValue code : textToCodes(text)) {
        column[static_cast<std::size_t>(index++)] = code;
    }
}

}  // namespace

void craft(RecordStore& store, const CraftedSlot& crafted) {
    const ModelProfile& profile = store.profile();
    const auto column = store.column(crafted.slot - 1);
    std::fill(column.begin() + kSettingsStart, column.begin() + profile.fileRows.last + 1,
              RecordValue{32});
    for (const auto& [control, text] : crafted.settings) {
        putText(column, walkedIndex(profile, control).value(), text);
    }
    putText(column, walkedIndex(profile, "txttmdt").value(), crafted.timeDate);
    std::size_t f = 0;
    for (const QString& text : crafted.header) {
        putText(column, profile.headerFields[f++].firstRow, text);
    }
    for (int i = 0; i < kSamplesStored; ++i) {
        column[static_cast<std::size_t>(i)] =
            static_cast<RecordValue>((crafted.sampleBase + i) % 101);
    }
    int at = profile.dacPointFirst;
    for (const int code : crafted.dacCodes) {
        column[static_cast<std::size_t>(at++)] = static_cast<RecordValue>(code);
    }
}

void writeFile(const RecordStore& store, const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(writeRecordFile(store)), recordFileSize(store.profile()));
}

CliRun runCli(const QStringList& arguments, const QStringList& unset) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : unset) {
        environment.remove(name);
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TRELLICAP_CLI_PATH), arguments);
    CliRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "trellicap-cli did not finish: " << process.errorString().toStdString();
        return run;
    }
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeText(const QString& path, const QByteArray& text) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

}  // namespace trellicap::testing
