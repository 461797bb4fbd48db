// Frames as the instrument puts them on the wire, for feeding the reader and the link.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <string_view>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap::testing {

// The slot a 110-byte request asks for, 0 for anything else.
inline int requestedSlot(const QByteArray& bytes) {
    if (bytes.size() != 110 || bytes[0] != 'R' || bytes[22] != 'A') {
        return 0;
    }
    return (bytes[44] - '0') * 100 + (bytes[66] - '0') * 10 + (bytes[88] - '0');
}

// A raw frame buffer whose every position p holds p % 251: any shift shows in the values.
inline std::vector<std::uint8_t> patternRaw(const ModelProfile& profile) {
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(profile.rawSize()));
    for (std::size_t p = 0; p < raw.size(); ++p) {
        raw[p] = static_cast<std::uint8_t>(p % 251);
    }
    return raw;
}

// What follows the first sync byte: block A, the separator, filler, 255, block B.
inline QByteArray frameBody(const ModelProfile& profile, const std::vector<std::uint8_t>& raw,
                            std::uint8_t separator = 0, const QByteArray& filler = {}) {
    QByteArray body;
    for (int p = 0; p < kBlockALength; ++p) {
        body.append(static_cast<char>(raw[static_cast<std::size_t>(p)]));
    }
    body.append(static_cast<char>(separator));
    body.append(filler);
    body.append(static_cast<char>(kSyncByte));
    for (int p = kBlockBStart; p < kBlockBStart + profile.blockBLength; ++p) {
        body.append(static_cast<char>(raw[static_cast<std::size_t>(p)]));
    }
    return body;
}

// A whole frame, sync byte first.
inline QByteArray wireFrame(const ModelProfile& profile, const std::vector<std::uint8_t>& raw,
                            std::uint8_t separator = 0, const QByteArray& filler = {}) {
    return QByteArray(1, static_cast<char>(kSyncByte)) + frameBody(profile, raw, separator, filler);
}

// The pattern frame with memory-number codes (record 358..360) spelling `digits`; the raw
// positions are found through the profile's map (the map itself is checked elsewhere).
inline QByteArray frameWithMemoryNumber(const ModelProfile& profile, std::string_view digits,
                                        std::uint8_t salt = 0) {
    auto raw = patternRaw(profile);
    for (auto& byte : raw) {
        byte = static_cast<std::uint8_t>((byte + salt) % 251);
    }
    for (int k = 0; k < 3; ++k) {
        const int index = kMemoryNumberFirst + k;
        for (const FrameMapRun& run : profile.frameMap) {
            if (index >= run.recordStart && index < run.recordStart + run.count) {
                raw[static_cast<std::size_t>(run.rawStart + index - run.recordStart)] =
                    static_cast<std::uint8_t>(digits[static_cast<std::size_t>(k)]);
            }
        }
    }
    return wireFrame(profile, raw);
}

// The raw frame `raw` with the record's codes from `index` on spelling `text` (record indexes,
// put at their wire positions through the profile's map).
inline void putRecordText(const ModelProfile& profile, std::vector<std::uint8_t>& raw, int index,
                          std::string_view text) {
    for (std::size_t k = 0; k < text.size(); ++k) {
        const int at = index + static_cast<int>(k);
        for (const FrameMapRun& run : profile.frameMap) {
            if (at >= run.recordStart && at < run.recordStart + run.count) {
                raw[static_cast<std::size_t>(run.rawStart + at - run.recordStart)] =
                    static_cast<std::uint8_t>(text[k]);
            }
        }
    }
}

}  // namespace trellicap::testing
