// The window's export writes what trellicap-cli writes: the CSV of the same slots is the same
// file byte for byte, and the vector PDF has the same pages.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "crafted_files.h"
#include "report/export_job.h"
#include "storage/record_file_io.h"
#include "support/report_fixture.h"

namespace trellicap {
namespace {

using testing::readAll;
using testing::runCli;

TEST(WindowExportAsCli, theCsvAndTheVectorPdfAreTheToolsOwn) {
    QTemporaryDir dir;
    const QString tft = testing::writeTftFile(QDir(dir.path()));
    RecordStore store(tft::kProfile);
    const LoadResult loaded = loadRecordFile(tft, store);
    ASSERT_TRUE(loaded.tableChanged());

    const QString cliCsv = dir.filePath(QStringLiteral("cli.csv"));
    ASSERT_EQ(runCli({"csv", tft, "--slots", "3,5,7", "-o", cliCsv}).exitCode, 0);
    const QString windowCsv = dir.filePath(QStringLiteral("window.csv"));
    ExportRequest csv;
    csv.format = ExportFormat::Csv;
    csv.slotNumbers = {3, 5, 7};
    csv.marked = loaded.marked;
    {
        ExportJob run(store, csv, windowCsv);
        ASSERT_TRUE(run.start());
        while (!run.atEnd()) {
            ASSERT_TRUE(run.step());
        }
        EXPECT_EQ(run.written(), 3);
        ASSERT_TRUE(run.finish()) << run.error().toStdString();
    }
    EXPECT_FALSE(readAll(cliCsv).isEmpty());
    EXPECT_EQ(readAll(windowCsv), readAll(cliCsv));

    const QString windowPdf = dir.filePath(QStringLiteral("window.pdf"));
    ExportRequest pdf;
    pdf.slotNumbers = {3, 7};
    ExportJob run(store, pdf, windowPdf);
    ASSERT_TRUE(run.start());
    while (!run.atEnd()) {
        ASSERT_TRUE(run.step());
    }
    ASSERT_TRUE(run.finish());
    const QString cliPdf = dir.filePath(QStringLiteral("cli.pdf"));
    ASSERT_EQ(runCli({"pdf", tft, "--vector", "-o", cliPdf}).exitCode, 0);
    ASSERT_EQ(test::pdfPageCount(windowPdf), 2);
    for (const int page : {1, 2}) {
        const QImage window = test::renderPdfPageNumber(windowPdf, page, 72, dir.path());
        const QImage tool = test::renderPdfPageNumber(cliPdf, page, 72, dir.path());
        ASSERT_FALSE(window.isNull());
        EXPECT_EQ(window, tool) << page;
    }
}

TEST(WindowExportAsCli, anExportThatCannotBeWrittenSaysWhyAndLeavesNothing) {
    QTemporaryDir dir;
    RecordStore store(tft::kProfile);
    store.initMemoryTable();
    ExportRequest request;
    request.format = ExportFormat::Csv;
    request.slotNumbers = {1};
    ExportJob run(store, request, dir.filePath(QStringLiteral("missing/folder/out.csv")));
    EXPECT_FALSE(run.start());
    EXPECT_FALSE(run.error().isEmpty());

    // Stopped half-way: the earlier file of that name stays as it was.
    const QString earlier = dir.filePath(QStringLiteral("earlier.pdf"));
    {
        QFile file(earlier);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    }
    request.format = ExportFormat::VectorPdf;
    request.slotNumbers = {1, 2, 3};
    {
        ExportJob stopped(store, request, earlier);
        ASSERT_TRUE(stopped.start());
        ASSERT_TRUE(stopped.step());
        stopped.cancel();
    }
    EXPECT_EQ(readAll(earlier), QByteArray("earlier"));
}

}  // namespace
}  // namespace trellicap
