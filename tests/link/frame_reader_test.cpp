#include "link/frame_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "link/wire_frames.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/record_store.h"

namespace trellicap {
namespace {

using testing::frameBody;
using testing::patternRaw;

struct RawToRecord {
    int raw;
    int record;
};

// First and last element of every mapping row, as the frame layout documents them.
constexpr RawToRecord kTftLiteral[] = {
    {1, 0},     {251, 250}, {267, 260}, {273, 266}, {281, 267}, {287, 273}, {295, 274}, {301, 280},
    {309, 281}, {315, 287}, {323, 288}, {329, 294}, {337, 295}, {343, 301}, {351, 302}, {357, 308},
    {365, 309}, {371, 315}, {379, 316}, {385, 322}, {401, 323}, {407, 329}, {415, 330}, {421, 336},
    {429, 337}, {435, 343}, {443, 344}, {449, 350}, {465, 351}, {471, 357}, {479, 358}, {485, 364},
    {493, 365}, {499, 371}, {517, 372}, {520, 375}, {529, 376}, {535, 382}, {543, 383}, {549, 389},
    {557, 390}, {563, 396}, {571, 397}, {577, 403}, {592, 404}, {598, 410}, {606, 411}, {612, 417},
    {620, 418}, {626, 424}, {634, 425}, {639, 430}, {656, 431}, {662, 437}, {670, 438}, {676, 444},
    {684, 445}, {690, 451}, {698, 452}, {704, 458}, {720, 459}, {726, 465}, {734, 466}, {740, 472},
    {748, 473}, {754, 479}, {762, 480}, {768, 486}, {784, 487}, {790, 493}, {798, 494}, {804, 500},
    {812, 501}, {818, 507}, {826, 508}, {832, 514}, {840, 515}, {854, 529}, {858, 530}, {862, 534},
    {866, 535}, {870, 539}, {874, 540}, {975, 641},
};

constexpr RawToRecord kDacLiteral[] = {
    {1, 0},     {251, 250}, {267, 260}, {273, 266}, {281, 267}, {287, 273}, {295, 274}, {301, 280},
    {309, 281}, {315, 287}, {323, 288}, {329, 294}, {337, 295}, {343, 301}, {351, 302}, {357, 308},
    {365, 309}, {371, 315}, {379, 316}, {385, 322}, {393, 323}, {399, 329}, {407, 330}, {413, 336},
    {421, 337}, {427, 343}, {435, 344}, {441, 350}, {457, 351}, {463, 357}, {471, 358}, {477, 364},
    {485, 365}, {491, 371}, {521, 372}, {527, 378}, {535, 379}, {541, 385}, {549, 386}, {555, 392},
    {563, 393}, {569, 399}, {585, 400}, {591, 406}, {599, 407}, {605, 413}, {613, 414}, {619, 420},
    {627, 421}, {632, 426}, {640, 427}, {649, 436}, {657, 437}, {663, 443}, {671, 444}, {677, 450},
    {685, 451}, {691, 457}, {699, 458}, {705, 464}, {721, 465}, {727, 471}, {735, 472}, {741, 478},
    {749, 479}, {755, 485}, {763, 486}, {774, 497}, {778, 498}, {782, 502}, {786, 503}, {790, 507},
    {794, 508}, {815, 529},
};

constexpr RecordValue kUntouched = -7;

// Feeds a frame body; returns how many bytes it took to complete (0: never completed).
int feedAll(FrameReader& reader, const QByteArray& body) {
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (reader.feed(static_cast<std::uint8_t>(body[i]))) {
            return static_cast<int>(i + 1);
        }
    }
    return 0;
}

std::vector<RecordValue> readAndMap(const ModelProfile& profile, const QByteArray& body,
                                    RecordStore& store) {
    FrameReader reader(profile, store.raw());
    reader.start();
    EXPECT_NE(feedAll(reader, body), 0);
    std::vector<RecordValue> capture(static_cast<std::size_t>(profile.recordSize()), kUntouched);
    reader.mapInto(capture);
    return capture;
}

// Indexes a frame writes: 0..250 and 260..lastWritten; every other index keeps its value.
void checkMapping(const ModelProfile& profile, std::span<const RawToRecord> literal,
                  int lastWritten) {
    RecordStore store(profile);
    const auto raw = patternRaw(profile);
    const auto capture = readAndMap(profile, frameBody(profile, raw), store);
    for (const auto& pair : literal) {
        EXPECT_EQ(capture[static_cast<std::size_t>(pair.record)], pair.raw % 251)
            << "record " << pair.record << " from raw " << pair.raw;
    }
    for (int r = 0; r < profile.recordSize(); ++r) {
        const bool written = r <= 250 || (r >= 260 && r <= lastWritten);
        EXPECT_EQ(capture[static_cast<std::size_t>(r)] != kUntouched, written) << "index " << r;
    }
}

TEST(FrameReader, TftFieldsLandAtTheirDocumentedIndexes) {
    checkMapping(tft::kProfile, kTftLiteral, 642);
    // Raw 976 lies past block B and is never written: index 642 is 0 even after a request
    // preset the raw buffer.
    RecordStore store(tft::kProfile);
    store.presetRawForRequest();
    const auto capture =
        readAndMap(tft::kProfile, frameBody(tft::kProfile, patternRaw(tft::kProfile)), store);
    EXPECT_EQ(capture[642], 0);
}

TEST(FrameReader, DacFieldsLandAtTheirDocumentedIndexes) {
    checkMapping(dac::kProfile, kDacLiteral, 529);
}

TEST(FrameReader, RawPositionZeroAndTheGapAfterBlockAAreNeverCopied) {
    for (const ModelProfile* profile : {&tft::kProfile, &dac::kProfile}) {
        RecordStore store(*profile);
        auto raw = patternRaw(*profile);
        raw[0] = 11;
        const auto first = readAndMap(*profile, frameBody(*profile, raw), store);
        raw[0] = 222;
        std::fill(store.raw().begin() + 252, store.raw().begin() + 260, RecordValue{99});
        const auto second = readAndMap(*profile, frameBody(*profile, raw), store);
        EXPECT_EQ(first, second);
        EXPECT_EQ(store.raw()[0], 222);
        EXPECT_TRUE(std::all_of(store.raw().begin() + 252, store.raw().begin() + 260,
                                [](RecordValue v) { return v == 99; }));
    }
}

TEST(FrameReader, SeparatorIsDroppedUnseenAndFillerRunsToTheSecondSync) {
    const auto& profile = tft::kProfile;
    RecordStore store(profile);
    const auto raw = patternRaw(profile);
    const auto plain = readAndMap(profile, frameBody(profile, raw), store);

    // A 255 separator opens nothing; the filler after it does not shift block B.
    const QByteArray filler("\x01\x02\xfe\x00\x7f", 5);
    const auto body = frameBody(profile, raw, 255, filler);
    EXPECT_EQ(readAndMap(profile, body, store), plain);

    FrameReader reader(profile, store.raw());
    reader.start();
    EXPECT_EQ(feedAll(reader, body), body.size());
    EXPECT_TRUE(reader.complete());

    // A 255 separator straight before block B: block B's bytes are filler until a 255.
    reader.start();
    QByteArray noSecondSync = body.left(kBlockALength);
    noSecondSync.append(static_cast<char>(255));
    noSecondSync.append(QByteArray(800, 'x'));
    EXPECT_EQ(feedAll(reader, noSecondSync), 0);
    EXPECT_EQ(reader.stage(), FrameReader::Stage::Filler);
}

TEST(FrameReader, CompletesOnTheLastByteOfBlockBAndIgnoresWhatFollows) {
    for (const ModelProfile* profile : {&tft::kProfile, &dac::kProfile}) {
        RecordStore store(*profile);
        FrameReader reader(*profile, store.raw());
        EXPECT_FALSE(reader.reading());
        const QByteArray body = frameBody(*profile, patternRaw(*profile));
        EXPECT_EQ(body.size(), kBlockALength + 2 + profile->blockBLength);
        reader.start();
        EXPECT_EQ(feedAll(reader, body), body.size());
        const std::vector<RecordValue> rawAfter(store.raw().begin(), store.raw().end());
        for (int i = 0; i < 50; ++i) {
            EXPECT_FALSE(reader.feed(255));
            EXPECT_FALSE(reader.feed(1));
        }
        EXPECT_TRUE(reader.complete());
        EXPECT_TRUE(std::equal(rawAfter.begin(), rawAfter.end(), store.raw().begin()));

        // A frame dropped part-way leaves the reader idle, ready for the next sync byte.
        reader.start();
        feedAll(reader, body.left(300));
        EXPECT_EQ(reader.stage(), FrameReader::Stage::BlockB);
        reader.reset();
        EXPECT_FALSE(reader.reading());
        EXPECT_FALSE(reader.feed(0));
    }
}

}  // namespace
}  // namespace trellicap
