#include "archive/sha256.h"

#include <QCryptographicHash>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>
#define TRELLICAP_SHA_NI 1
#endif

namespace trellicap::archive {

#ifdef TRELLICAP_SHA_NI
namespace {

alignas(16) constexpr std::uint32_t kSha256Rounds[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

bool cpuHasShaInstructions() {
    unsigned a = 0;
    unsigned b = 0;
    unsigned c = 0;
    unsigned d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) {
        return false;
    }
    const bool ssse3 = (c & bit_SSSE3) != 0;
    const bool sse41 = (c & bit_SSE4_1) != 0;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) {
        return false;
    }
    return ssse3 && sse41 && (b & bit_SHA) != 0;
}

// The compression function over whole 64-byte blocks: four rounds a step, the message
// schedule kept as four vectors of four words (W[t-16..t-1]).
__attribute__((target("sha,sse4.1,ssse3"))) void sha256Blocks(std::uint32_t state[8],
                                                              const unsigned char* data,
                                                              std::size_t blocks) {
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    __m128i cdab =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
    __m128i efgh =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
    __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
    __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
    for (std::size_t block = 0; block < blocks; ++block, data += 64) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        __m128i w[4];
        for (int step = 0; step < 16; ++step) {
            __m128i words;
            if (step < 4) {
                words = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * step)), byteSwap);
            } else {
                // W[t-16] + s0(W[t-15]), + W[t-7], then + s1(W[t-2]).
                __m128i next = _mm_sha256msg1_epu32(w[step & 3], w[(step + 1) & 3]);
                next =
                    _mm_add_epi32(next, _mm_alignr_epi8(w[(step + 3) & 3], w[(step + 2) & 3], 4));
                words = _mm_sha256msg2_epu32(next, w[(step + 3) & 3]);
            }
            w[step & 3] = words;
            __m128i rounds = _mm_add_epi32(
                words, _mm_load_si128(reinterpret_cast<const __m128i*>(kSha256Rounds + 4 * step)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, rounds);
            rounds = _mm_shuffle_epi32(rounds, 0x0E);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, rounds);
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

QByteArray sha256ByInstructions(QByteArrayView data) {
    std::uint32_t state[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    const auto size = static_cast<std::size_t>(data.size());
    const std::size_t whole = size / 64;
    sha256Blocks(state, bytes, whole);
    // The rest, the 0x80 that ends the message and its length in bits, big-endian.
    unsigned char tail[128] = {};
    const std::size_t rest = size - whole * 64;
    if (rest > 0) {
        std::memcpy(tail, bytes + whole * 64, rest);
    }
    tail[rest] = 0x80;
    const std::size_t tailBlocks = rest + 9 <= 64 ? 1 : 2;
    const std::uint64_t bits = static_cast<std::uint64_t>(size) * 8;
    for (int i = 0; i < 8; ++i) {
        tail[tailBlocks * 64 - 1 - static_cast<std::size_t>(i)] =
            static_cast<unsigned char>(bits >> (8 * i));
    }
    sha256Blocks(state, tail, tailBlocks);
    QByteArray digest(32, Qt::Uninitialized);
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 4; ++j) {
            digest[4 * i + j] = static_cast<char>(state[i] >> (24 - 8 * j));
        }
    }
    return digest;
}

}  // namespace
#endif

bool sha256InHardware() {
#ifdef TRELLICAP_SHA_NI
    static const bool has = cpuHasShaInstructions();
    return has;
#else
    return false;
#endif
}

QByteArray sha256(QByteArrayView data) {
#ifdef TRELLICAP_SHA_NI
    if (sha256InHardware()) {
        return sha256ByInstructions(data);
    }
#endif
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256);
}

}  // namespace trellicap::archive
