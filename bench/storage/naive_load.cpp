#include "naive_load.h"

#include <cstdio>

namespace trellicap::bench {

void naiveParse(QByteArrayView bytes, RecordStore& store) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    const RowRange rows = store.profile().fileRows;
    for (int col = 0; col < kSlotCount; ++col) {
        const auto column = store.column(col);
        for (int row = rows.first; row <= rows.last; ++row) {
            while (p != end && *p == ' ') {
                ++p;
            }
            const bool negative = p != end && *p == '-';
            p += negative ? 1 : 0;
            int value = 0;
            while (p != end && *p >= '0' && *p <= '9') {
                value = value * 10 + (*p++ - '0');
            }
            column[static_cast<std::size_t>(row)] =
                static_cast<RecordValue>(negative ? -value : value);
        }
    }
}

void naiveLoad(const QString& path, std::vector<char>& bytes, RecordStore& store) {
    std::FILE* file = std::fopen(path.toLocal8Bit().constData(), "rb");
    std::fseek(file, 0, SEEK_END);
    bytes.resize(static_cast<std::size_t>(std::ftell(file)));
    std::fseek(file, 0, SEEK_SET);
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    naiveParse(QByteArrayView(bytes.data(), static_cast<qsizetype>(size)), store);
}

}  // namespace trellicap::bench
