#include "link/frame_reader.h"

#include <cassert>

namespace trellicap {

FrameReader::FrameReader(const ModelProfile& profile, std::span<RecordValue> raw)
    : m_profile(profile), m_raw(raw), m_blockBEnd(kBlockBStart + profile.blockBLength) {
    assert(raw.size() >= static_cast<std::size_t>(profile.rawSize()));
    assert(m_blockBEnd <= profile.rawSize());
}

void FrameReader::start() {
    m_stage = Stage::BlockA;
    m_position = 0;
}

void FrameReader::reset() {
    m_stage = Stage::Idle;
    m_position = 0;
}

bool FrameReader::feed(std::uint8_t byte) {
    switch (m_stage) {
        case Stage::BlockA:
            m_raw[static_cast<std::size_t>(m_position++)] = byte;
            if (m_position == kBlockALength) {
                m_stage = Stage::Separator;
            }
            return false;
        case Stage::Separator:
            m_stage = Stage::Filler;
            return false;
        case Stage::Filler:
            if (byte == kSyncByte) {
                m_stage = Stage::BlockB;
                m_position = kBlockBStart;
            }
            return false;
        case Stage::BlockB:
            m_raw[static_cast<std::size_t>(m_position++)] = byte;
            if (m_position == m_blockBEnd) {
                m_stage = Stage::Complete;
                return true;
            }
            return false;
        case Stage::Idle:
        case Stage::Complete:
            return false;
    }
    return false;
}

void FrameReader::mapInto(std::span<RecordValue> capture) const {
    for (const FrameMapRun& run : m_profile.frameMap) {
        assert(run.rawStart + run.count <= static_cast<int>(m_raw.size()));
        assert(run.recordStart + run.count <= static_cast<int>(capture.size()));
        for (int j = 0; j < run.count; ++j) {
            capture[static_cast<std::size_t>(run.recordStart + j)] =
                m_raw[static_cast<std::size_t>(run.rawStart + j)];
        }
    }
}

}  // namespace trellicap
