// Writes one full record file per model into the folder given, for the reader's fuzz corpus:
// whole files reach every column, the memory-number marks and the end of a load, which
// mutating the small checked-in inputs would take a fuzzer ages to grow into. Written at
// build time by the writer, so they always match the format and never sit in the tree.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "storage/record_file_writer.h"

namespace {

using trellicap::RecordStore;
using trellicap::RecordValue;

// Every storable value somewhere; slots that name themselves, one another or nothing.
void fill(RecordStore& store) {
    const trellicap::RowRange rows = store.profile().fileRows;
    for (int col = 0; col < trellicap::kSlotCount; ++col) {
        const auto column = store.column(col);
        for (int row = rows.first; row <= rows.last; ++row) {
            column[static_cast<std::size_t>(row)] =
                static_cast<RecordValue>((col * 37 + row * 11) % 1099 - 99);
        }
        const int named = col % 3 == 0 ? col + 1 : col % 3 == 1 ? (col + 7) % 200 + 1 : 0;
        char codes[4] = "   ";
        if (named != 0) {
            std::snprintf(codes, sizeof codes, col % 2 == 0 ? "%03d" : "%-3d", named);
        }
        for (int i = 0; i < 3; ++i) {
            column[static_cast<std::size_t>(trellicap::kMemoryNumberFirst + i)] =
                static_cast<RecordValue>(static_cast<unsigned char>(codes[i]));
        }
    }
}

bool writeSeed(const QDir& folder, const trellicap::ModelProfile& profile, const char* name) {
    RecordStore store(profile);
    store.initMemoryTable();
    fill(store);
    const QByteArray bytes = trellicap::writeRecordFile(store);
    QFile file(folder.filePath(QString::fromLatin1(name)));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral(".")) ||
        !writeSeed(folder, trellicap::tft::kProfile, "full_tft.dat") ||
        !writeSeed(folder, trellicap::dac::kProfile, "full_dac.dat")) {
        std::fprintf(stderr, "%s: cannot write the seeds into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
