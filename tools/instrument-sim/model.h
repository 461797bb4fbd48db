// What the simulated instrument stores and sends: the two model layouts, the generated slot
// records and the frame bytes built from them. Pure data and functions, no I/O.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "wire_format.h"

namespace instrument_sim {

enum class Model { Tft, Dac };

inline constexpr int kSlotCount = 200;     // memory slots 1..200
inline constexpr int kRecordLength = 701;  // record indexes 0..700: large enough for both models

// The memory number: three characters at record indexes 358..360 ("007" for slot 7).
inline constexpr int kMemnoRecordIndex = 358;
inline constexpr int kMemnoLength = 3;

// One run of block B: `count` bytes from block-B byte `blockB` carry record indexes from `record`.
struct MappingRun {
    int blockB;
    int record;
    int count;
    std::string_view label;  // what the instrument sends in the gap in front of the run
};

// One named field of the record, for --print-fields.
struct Field {
    std::string_view name;
    int record;
    int count;
};

struct ModelLayout {
    Model model;
    std::string_view name;
    int blockBLength;
    int lastFrameIndex;  // highest record index that a frame carries
    std::span<const MappingRun> runs;
    std::span<const Field> fields;
    int dacPointsIndex;
    int dacPointCount;
    std::string_view threeCurveDacText;
};

[[nodiscard]] const ModelLayout& layoutFor(Model model);

// A record as the instrument stores it: byte values at record indexes (unused indexes stay 0).
using Record = std::array<std::uint8_t, kRecordLength>;

// The deterministic content of slot `slot` (1..200) for `seed`.
[[nodiscard]] Record makeRecord(const ModelLayout& layout, std::uint64_t seed, int slot);

// Replaces the three memory-number codes (record 358..360); `text` is 1..3 characters,
// right-aligned with blanks ("5" gives "  5"); longer text is cut to its first three.
void setMemoryNumber(Record& record, std::string_view text);

// Block B (blockBLength bytes) for a record: each run at its place, labels in the gaps.
[[nodiscard]] std::vector<std::uint8_t> makeBlockB(const ModelLayout& layout, const Record& record);

// Faults that change the bytes of one frame.
struct FrameFaults {
    int noise = 0;                     // non-255 bytes before the first sync byte
    bool separator255 = false;         // the separator byte is 255
    bool noSeparator = false;          // no separator: block A is followed by the second sync
    int filler = 0;                    // non-255 bytes between separator and second sync
    std::optional<int> blockB255;      // a 255 at this block-B byte
    std::optional<std::string> memno;  // memory-number characters instead of the slot's
};

// The complete transmission of one frame. `noiseSalt` varies the noise bytes between frames.
struct FrameBytes {
    std::vector<std::uint8_t> bytes;
    int syncOffset = 0;  // index in `bytes` of the first sync byte (= number of noise bytes)
};

[[nodiscard]] FrameBytes makeFrame(const ModelLayout& layout, const Record& record,
                                   const FrameFaults& faults, std::uint64_t noiseSalt);

// Small deterministic generator (splitmix64), so that the content never depends on the library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next();
    int uniform(int lo, int hi);  // lo..hi inclusive
    double unit();                // [0, 1)
    bool chance(double p) { return unit() < p; }

private:
    std::uint64_t m_state;
};

}  // namespace instrument_sim
