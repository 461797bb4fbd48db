// Fuzz entry for the receive path: any bytes from the line go through the instrument link
// (frame reader, field mapping, memory number, filing) without a crash and keep its
// promises. The first byte picks the model and the size of the reads the bytes arrive in.
//   - A column is changed only when the link says it filed it, and then rows 0..599 of it
//     hold the capture buffer of that moment; rows from 600 on and column 200 never change.
//   - The capture indexes that no frame writes keep their values; after a completed TFT
//     frame index 642 holds 0.
#include <QCoreApplication>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "link/instrument_link.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "support/fake_serial_port.h"
#include "support/manual_clock.h"

namespace {

using namespace trellicap;

constexpr RecordValue kSentinel = 4321;
constexpr int kReadGapMs = 8;  // between the reads a corpus entry is split into

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "receive path fuzz: %s\n", what);
        std::abort();
    }
}

// Record indexes a frame of the profile writes.
bool writtenByFrame(const ModelProfile& profile, int index) {
    for (const FrameMapRun& run : profile.frameMap) {
        if (index >= run.recordStart && index < run.recordStart + run.count) {
            return true;
        }
    }
    return false;
}

void run(const ModelProfile& profile, int chunk, const std::uint8_t* data, std::size_t size) {
    RecordStore store(profile);
    for (int col = 0; col < kTableColumns; ++col) {
        std::fill(store.column(col).begin(), store.column(col).end(), kSentinel);
    }
    std::fill(store.capture().begin(), store.capture().end(), kSentinel);
    testing::ManualClock clock;
    testing::FakeSerialPort port;
    port.useClock(clock);
    InstrumentLink link(profile, store, port, clock);

    std::vector<bool> filed(kSlotCount, false);
    bool frameCompleted = false;
    // Outside a batch every frame is one the operator sent.
    QObject::connect(&link, &InstrumentLink::recordArrived, [&](int col) {
        check(col >= 0 && col < kSlotCount, "filed outside the slots");
        const auto column = store.column(col);
        check(std::equal(column.begin(), column.begin() + 600, store.capture().begin()),
              "a filed column differs from the capture buffer");
        filed[static_cast<std::size_t>(col)] = true;
        frameCompleted = true;
    });
    QObject::connect(&link, &InstrumentLink::frameNotFiled,
                     [&](const QString&) { frameCompleted = true; });

    for (std::size_t i = 0; i < size; i += static_cast<std::size_t>(chunk)) {
        const std::size_t n = std::min(size - i, static_cast<std::size_t>(chunk));
        port.inject(QByteArray(reinterpret_cast<const char*>(data + i), static_cast<qsizetype>(n)));
        // A few milliseconds between reads, as a driver hands over a paced line.
        clock.advance(kReadGapMs);
    }

    for (int col = 0; col < kTableColumns; ++col) {
        const auto column = store.column(col);
        const bool mayChange = col < kSlotCount && filed[static_cast<std::size_t>(col)];
        const auto untouchedFrom = mayChange ? column.begin() + 600 : column.begin();
        check(
            std::all_of(untouchedFrom, column.end(), [](RecordValue v) { return v == kSentinel; }),
            "a column changed beyond what was filed");
    }
    const auto capture = store.capture();
    for (int index = 0; index < profile.recordSize(); ++index) {
        if (!writtenByFrame(profile, index)) {
            check(capture[static_cast<std::size_t>(index)] == kSentinel,
                  "a frame wrote a record index it does not carry");
        }
    }
    if (frameCompleted && writtenByFrame(profile, 642)) {
        check(capture[642] == 0, "index 642 is not 0 after a frame");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "receive_path_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    if (size < 1) {
        return 0;
    }
    const ModelProfile& profile = (data[0] & 1) ? dac::kProfile : tft::kProfile;
    const int chunk = 1 + (data[0] >> 1);  // reads of 1 to 128 bytes
    run(profile, chunk, data + 1, size - 1);
    return 0;
}
