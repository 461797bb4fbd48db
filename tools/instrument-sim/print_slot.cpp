#include "print_slot.h"

#include <cstdio>
#include <string>

namespace instrument_sim {
namespace {

std::string quoted(const Record& r, int first, int count) {
    std::string s = "\"";
    for (int i = 0; i < count; ++i) {
        s += static_cast<char>(r[first + i]);
    }
    return s + "\"";
}

// The record indexes a frame carries: block A's samples, then block B's indexes.
void printRecord(const ModelLayout& layout, const Record& r) {
    for (int i = 0; i <= layout.lastFrameIndex; ++i) {
        if (i < kSampleCount || i >= kBlockBFirstRecordIndex) {
            std::printf("%d %d\n", i, r[i]);
        }
    }
}

void printFields(const ModelLayout& layout, const Record& r) {
    for (const Field& f : layout.fields) {
        std::printf("%.*s %d %d", static_cast<int>(f.name.size()), f.name.data(), f.record,
                    f.count);
        if (f.name == "samples" || f.name == "dacpoints") {
            for (int i = 0; i < f.count; ++i) {
                std::printf(" %d", r[f.record + i]);
            }
            std::printf("\n");
        } else {
            std::printf(" %s\n", quoted(r, f.record, f.count).c_str());
        }
    }
}

}  // namespace

int printSlot(const Options& o) {
    const ModelLayout& layout = layoutFor(o.model);
    Record r = makeRecord(layout, o.seed, o.printRecord ? *o.printRecord : *o.printFields);
    if (o.faults.frame.memno) {
        setMemoryNumber(r, *o.faults.frame.memno);
    }
    if (o.printRecord) {
        printRecord(layout, r);
    } else {
        printFields(layout, r);
    }
    return 0;
}

}  // namespace instrument_sim
