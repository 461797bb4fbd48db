// Reads one instrument frame, byte by byte, into the raw frame buffer and maps it into a
// record. Knows nothing of ports or timers: the link feeds it the bytes that follow the
// first sync byte and decides what a stalled or finished frame means.
//
// On the wire after the first 255: block A (252 bytes, raw 0..251), one separator byte of
// any value (a 255 there opens nothing), filler bytes up to the second 255, then block B
// (raw 260 onward, the profile's blockBLength bytes).
#pragma once

#include <cstdint>
#include <span>

#include "profiles/model_profile.h"

namespace trellicap {

class FrameReader {
public:
    enum class Stage {
        Idle,       // no frame started, or the last one was dropped
        BlockA,     // raw positions 0..251
        Separator,  // the byte right after block A, dropped unseen
        Filler,     // dropped up to and including the second sync byte
        BlockB,     // raw positions 260..
        Complete,   // block B is in; mapInto() may run
    };

    // raw must hold at least the profile's raw frame buffer.
    FrameReader(const ModelProfile& profile, std::span<RecordValue> raw);

    // A sync byte was seen: the next byte is raw position 0.
    void start();
    // Drops a frame part-way; the raw buffer keeps what came, no record is touched.
    void reset();
    // True exactly when this byte completes block B. Bytes fed while not reading are ignored.
    bool feed(std::uint8_t byte);

    // Copies the profile's frameMap runs from the raw buffer into a record, in table order.
    // Record indexes outside the runs keep their values.
    void mapInto(std::span<RecordValue> capture) const;

    [[nodiscard]] Stage stage() const { return m_stage; }
    // Between start() and completion: the frame owns the incoming bytes.
    [[nodiscard]] bool reading() const {
        return m_stage != Stage::Idle && m_stage != Stage::Complete;
    }
    [[nodiscard]] bool complete() const { return m_stage == Stage::Complete; }
    // The raw position the next block byte goes to.
    [[nodiscard]] int position() const { return m_position; }

private:
    const ModelProfile& m_profile;
    std::span<RecordValue> m_raw;
    int m_blockBEnd;  // one past the last raw position of block B
    Stage m_stage = Stage::Idle;
    int m_position = 0;
};

}  // namespace trellicap
