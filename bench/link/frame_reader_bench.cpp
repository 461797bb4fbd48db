// Frame reader + field mapping on the pure path: bytes after the sync byte in, record out.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "link/frame_reader.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/record_store.h"

namespace {

using trellicap::FrameReader;
using trellicap::ModelProfile;

std::vector<std::uint8_t> frameBody(const ModelProfile& profile) {
    std::vector<std::uint8_t> body;
    for (int p = 0; p < trellicap::kBlockALength; ++p) {
        body.push_back(static_cast<std::uint8_t>(p % 251));
    }
    body.push_back(0);    // separator
    body.push_back(7);    // a filler byte
    body.push_back(255);  // second sync
    for (int k = 0; k < profile.blockBLength; ++k) {
        body.push_back(static_cast<std::uint8_t>((k * 13) % 251));
    }
    return body;
}

void readAndMap(benchmark::State& state, const ModelProfile& profile) {
    trellicap::RecordStore store(profile);
    FrameReader reader(profile, store.raw());
    const auto body = frameBody(profile);
    for (auto _ : state) {
        reader.start();
        bool complete = false;
        for (const std::uint8_t byte : body) {
            complete = reader.feed(byte);
        }
        reader.mapInto(store.capture());
        benchmark::DoNotOptimize(complete);
        benchmark::DoNotOptimize(store.capture().data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());  // frames
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(body.size() + 1));
}

void BM_FrameReadAndMapTft(benchmark::State& state) {
    readAndMap(state, trellicap::tft::kProfile);
}
void BM_FrameReadAndMapDac(benchmark::State& state) {
    readAndMap(state, trellicap::dac::kProfile);
}

BENCHMARK(BM_FrameReadAndMapTft);
BENCHMARK(BM_FrameReadAndMapDac);

}  // namespace

BENCHMARK_MAIN();
