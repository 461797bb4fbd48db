// A window program's run that dies before its idle time: it keeps COUNT records through the
// archive's keeper (operators' names from tricky_texts.h, a save into a record file half-way),
// says "kept COUNT" on its standard output and waits, no event loop running, until the test
// kills it. Every version is then in the archive and none in its search index.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "archive/archive_keeper.h"
#include "profiles/tft.h"
#include "test_records.h"
#include "tricky_texts.h"

int main(int argc, char** argv) {
    using namespace trellicap;
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: archive_keeping_child ARCHIVE COUNT\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    const QStringList names = archive::test::trickyNames();
    archive::ArchiveKeeper keeper(tft::kProfile, path);
    keeper.start();
    for (int i = 0; i < count; ++i) {
        const int column = i % kSlotCount;
        const QString name = names[i % names.size()] + QStringLiteral(" %1").arg(i / names.size());
        keeper.keepFiled(column, archive::test::keptRecord(tft::kProfile, column + 1, i, name),
                         archive::Source::Capture);
        if (i == count / 2) {
            keeper.noteSaved(QFileInfo(path).dir().filePath(archive::test::trickyFileNames()[0]));
        }
    }
    if (keeper.failing()) {
        std::fprintf(stderr, "%s\n", qPrintable(keeper.statusText()));
        return 1;
    }
    std::printf("kept %d\n", count);
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    return 0;
}
