#include "model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace instrument_sim {
namespace {

// Block B of the TFT model: where each record run travels (block-B byte, record index, count).
constexpr MappingRun kTftRuns[] = {
    {7, 260, 7, "ZERO"},      {21, 267, 7, "RANGE"},  {35, 274, 7, "VEL M/S"},
    {49, 281, 7, "DELAY"},    {63, 288, 7, "GAIN"},   {77, 295, 7, "GATE 1"},
    {91, 302, 7, "START"},    {105, 309, 7, "END"},   {119, 316, 7, "LEVEL"},
    {141, 323, 7, "GATE 2"},  {155, 330, 7, "START"}, {169, 337, 7, "END"},
    {183, 344, 7, "LEVEL"},   {205, 351, 7, "MEM"},   {219, 358, 7, "MEM NO"},
    {233, 365, 7, "ACTION"},  {257, 372, 4, "REF"},   {269, 376, 7, "REJECT"},
    {283, 383, 7, "SET REF"}, {297, 390, 7, "VIDEO"}, {311, 397, 7, "MODE"},
    {332, 404, 7, "CLOCK"},   {346, 411, 7, "COLOR"}, {360, 418, 7, "HORN"},
    {374, 425, 6, "BRIGHT"},  {396, 431, 7, "DAC"},   {410, 438, 7, "CURSOR"},
    {424, 445, 7, "POINT"},   {438, 452, 7, "PRESS"}, {460, 459, 7, "MEASURE"},
    {474, 466, 7, "X-OFF"},   {488, 473, 7, "ANGLE"}, {502, 480, 7, "THICK"},
    {524, 487, 7, ""},        {538, 494, 7, "HUD"},   {552, 501, 7, "BEEP"},
    {566, 508, 7, ""},        {580, 515, 15, "TIME"}, {598, 530, 5, "SRF"},
    {606, 535, 5, "DEP"},     {614, 540, 102, "DAC"},
};

// Block B of the DAC model.
constexpr MappingRun kDacRuns[] = {
    {7, 260, 7, "ZERO"},      {21, 267, 7, "RANGE"},   {35, 274, 7, "VEL M/S"},
    {49, 281, 7, "DELAY"},    {63, 288, 7, "GAIN"},    {77, 295, 7, "GATE 1"},
    {91, 302, 7, "START"},    {105, 309, 7, "END"},    {119, 316, 7, "LEVEL"},
    {133, 323, 7, "GATE 2"},  {147, 330, 7, "START"},  {161, 337, 7, "END"},
    {175, 344, 7, "LEVEL"},   {197, 351, 7, "MEM"},    {211, 358, 7, "MEM NO"},
    {225, 365, 7, "ACTION"},  {261, 372, 7, "REJECT"}, {275, 379, 7, "SET REF"},
    {289, 386, 7, "VIDEO"},   {303, 393, 7, "MODE"},   {325, 400, 7, "CLOCK"},
    {339, 407, 7, "BACKLIT"}, {353, 414, 7, "HORN"},   {367, 421, 6, "CONTRST"},
    {380, 427, 10, "TIME"},   {397, 437, 7, "DAC"},    {411, 444, 7, "CURSOR"},
    {425, 451, 7, "POINT"},   {439, 458, 7, "PRESS"},  {461, 465, 7, "MEASURE"},
    {475, 472, 7, "HUD"},     {489, 479, 7, "ANGLE"},  {503, 486, 12, "THICK"},
    {518, 498, 5, "SRF"},     {526, 503, 5, "DEP"},    {534, 508, 22, "DAC"},
};

constexpr Field kTftFields[] = {
    {"samples", 0, 251},    {"txtzero", 260, 7},   {"txtrange", 267, 7},   {"txtvelo", 274, 7},
    {"txtdelay", 281, 7},   {"txtgain", 288, 7},   {"txtgate", 295, 7},    {"txtstart", 302, 7},
    {"txtend", 309, 7},     {"txtlevel", 316, 7},  {"txtgate2", 323, 7},   {"txtstart2", 330, 7},
    {"txtend2", 337, 7},    {"txtlevel2", 344, 7}, {"txtmem", 351, 7},     {"txtmemno", 358, 7},
    {"txtaction", 365, 7},  {"txtrefg", 372, 4},   {"txtreject", 376, 7},  {"txtsetref", 383, 7},
    {"txtVideo", 390, 7},   {"txtmode", 397, 7},   {"txtclock", 404, 7},   {"txtcolor", 411, 7},
    {"txthorn", 418, 7},    {"txtbrt", 425, 6},    {"txtdac", 431, 7},     {"txtcur", 438, 7},
    {"txtpoint", 445, 7},   {"Txtent", 452, 7},    {"txtmea", 459, 7},     {"txtxoff", 466, 7},
    {"txtangle", 473, 7},   {"txtthick", 480, 7},  {"txtblk1", 487, 7},    {"txthud", 494, 7},
    {"txtbeep", 501, 7},    {"txtblk2", 508, 7},   {"timedate", 515, 10},  {"txtbeam", 525, 5},
    {"txtsurf", 530, 5},    {"txtdpth", 535, 5},   {"dacpoints", 540, 18}, {"unread1", 558, 3},
    {"txtopname", 561, 20}, {"txtraw", 581, 20},   {"txtaxno", 601, 20},   {"txtremark", 621, 20},
    {"unread2", 641, 1},
};

constexpr Field kDacFields[] = {
    {"samples", 0, 251},     {"txtzero", 260, 7},    {"txtrange", 267, 7},  {"txtvelo", 274, 7},
    {"txtdelay", 281, 7},    {"txtgain", 288, 7},    {"txtgate", 295, 7},   {"txtstart", 302, 7},
    {"txtend", 309, 7},      {"txtlevel", 316, 7},   {"txtgate2", 323, 7},  {"txtstart2", 330, 7},
    {"txtend2", 337, 7},     {"txtlevel2", 344, 7},  {"txtmem", 351, 7},    {"txtmemno", 358, 7},
    {"txtaction", 365, 7},   {"txtreject", 372, 7},  {"txtsetref", 379, 7}, {"txtVideo", 386, 7},
    {"txtmode", 393, 7},     {"txtclock", 400, 7},   {"txtbeep", 407, 7},   {"txthorn", 414, 7},
    {"txtcontrast", 421, 6}, {"timedate", 427, 10},  {"txtdac", 437, 7},    {"txtcur", 444, 7},
    {"txtpoint", 451, 7},    {"Txtent", 458, 7},     {"txtmea", 465, 7},    {"txthud", 472, 7},
    {"txtangle", 479, 7},    {"txtthick", 486, 7},   {"txtbeam", 493, 5},   {"txtsurf", 498, 5},
    {"txtdpth", 503, 5},     {"dacpoints", 508, 22},
};

constexpr ModelLayout kTftLayout{.model = Model::Tft,
                                 .name = "tft",
                                 .blockBLength = kTftBlockBLength,
                                 .lastFrameIndex = 641,
                                 .runs = kTftRuns,
                                 .fields = kTftFields,
                                 .dacPointsIndex = 540,
                                 .dacPointCount = 9,
                                 .threeCurveDacText = "ON 6/14"};
constexpr ModelLayout kDacLayout{.model = Model::Dac,
                                 .name = "dac",
                                 .blockBLength = kDacBlockBLength,
                                 .lastFrameIndex = 529,
                                 .runs = kDacRuns,
                                 .fields = kDacFields,
                                 .dacPointsIndex = 508,
                                 .dacPointCount = 11,
                                 .threeCurveDacText = "ON 6/12"};

constexpr std::uint8_t kBlank = 32;  // ASCII blank: pads text fields and the gaps of block B

// What the settings, the operator and the report header are drawn from (repeated entries make
// a value more frequent).
constexpr const char* kRanges[] = {"25", "50", "100", "100", "100", "125", "200", "250", "12"};
constexpr const char* kVelocities[] = {"5920", "3250", "2730", "6320", "3230"};
constexpr const char* kDelays[] = {"0.0", "0.0", "0.0", "0.0", "2.5", "10.0"};
constexpr const char* kGate1[] = {"ON", "ON", "ON", "ON", "OFF", "DAC -6", "DAC -12"};
constexpr const char* kModes[] = {"Single", "Single", "Dual", "Thru"};
constexpr const char* kVideos[] = {"Envelop", "RF", "Full", "+Half", "-Half"};
constexpr const char* kColors[] = {"OFF", "BLUE", "GREEN", "AMBER"};
constexpr const char* kAngles[] = {"000", "045", "060", "070"};
constexpr const char* kOperators[] = {"J. Smith", "A. Kumar", "R. Meyer", "T. Okafor", ""};
constexpr const char* kWorkshops[] = {"Central Workshop", "Loco Shed 4", "Depot North", ""};
constexpr const char* kDefects[] = {"Wheel seat", "Journal", "Axle body", "", ""};

const Field* findField(const ModelLayout& layout, std::string_view name) {
    for (const Field& f : layout.fields) {
        if (f.name == name) {
            return &f;
        }
    }
    return nullptr;
}

// Writes `text` blank-padded (or cut) to the field's length; fields the model lacks are skipped.
void put(Record& r, const ModelLayout& layout, std::string_view name, std::string_view text) {
    const Field* f = findField(layout, name);
    if (f == nullptr) {
        return;
    }
    for (int i = 0; i < f->count; ++i) {
        r[f->record + i] =
            i < static_cast<int>(text.size()) ? static_cast<std::uint8_t>(text[i]) : kBlank;
    }
}

std::string fixed1(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

std::string percent(int v) {
    return std::to_string(v) + "%";
}

std::string twoDigits(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}

template <typename T, std::size_t N>
const T& pick(Rng& rng, const T (&items)[N]) {
    return items[rng.uniform(0, static_cast<int>(N) - 1)];
}

void makeTrace(Record& r, Rng& rng) {
    std::array<double, kSampleCount> a{};
    // Initial pulse: saturated for a few samples, then ringing down.
    const int pulseWidth = rng.uniform(3, 6);
    const double pulseTop = rng.chance(0.1) ? rng.uniform(101, 118) : 100.0;
    for (int i = 0; i < kSampleCount; ++i) {
        a[i] = i < pulseWidth ? pulseTop : pulseTop * std::exp(-(i - pulseWidth + 1) / 2.5);
    }
    auto addEcho = [&](double pos, double amp, double width) {
        for (int i = 0; i < kSampleCount; ++i) {
            const double d = (i - pos) / width;
            a[i] += amp * std::exp(-0.5 * d * d);
        }
    };
    if (rng.chance(0.5)) {
        // Back-wall echo train: equally spaced, decaying.
        const double spacing = rng.uniform(40, 110);
        double amp = rng.uniform(55, 98);
        for (double pos = spacing; pos < kSampleCount; pos += spacing) {
            addEcho(pos, amp, 1.5 + rng.unit() * 1.5);
            amp *= 0.45 + rng.unit() * 0.25;
        }
    } else {
        // A few flaw echoes, later ones weaker.
        const int n = rng.uniform(1, 4);
        for (int k = 0; k < n; ++k) {
            const double pos = rng.uniform(25, 240);
            const double amp = (20 + rng.unit() * 75) * (1.0 - pos / 500.0);
            addEcho(pos, amp, 1.2 + rng.unit() * 2.5);
        }
        if (rng.chance(0.15)) {
            addEcho(rng.uniform(40, 200), rng.uniform(102, 115), 2.0);  // a clipped echo
        }
    }
    for (int i = 0; i < kSampleCount; ++i) {
        double v = a[i] + rng.uniform(0, 2);  // grass
        if (a[i] <= 100.0) {
            v = std::min(v, 100.0);  // only the deliberately clipped echoes go above 100
        }
        r[i] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 120));
    }
}

void makeDacPoints(Record& r, const ModelLayout& layout, Rng& rng) {
    // Valid points with amplitudes >= 5, descending, then one point below 5 that ends the
    // curve; the rest stay 0. At most pointCount - 1 valid points, so the end point fits.
    const int valid = rng.uniform(3, layout.dacPointCount - 1);
    int x = rng.uniform(15, 40);
    const int step = std::max(8, (235 - x) / valid);
    double y = rng.uniform(80, 98);
    int p = layout.dacPointsIndex;
    for (int k = 0; k < valid; ++k) {
        r[p++] = static_cast<std::uint8_t>(std::min(x, 250));
        r[p++] = static_cast<std::uint8_t>(std::max(5, static_cast<int>(y)));
        x += step - rng.uniform(0, 4);
        y = std::max(5.0, y * (0.6 + rng.unit() * 0.25));
    }
    r[p++] = static_cast<std::uint8_t>(std::min(x, kLastNonSyncByte));
    r[p++] = static_cast<std::uint8_t>(rng.uniform(0, 4));
    for (; p < layout.dacPointsIndex + 2 * layout.dacPointCount; ++p) {
        r[p] = 0;
    }
}

// The seed of slot `slot`'s generator. The multipliers only spread seed and slot apart; they
// are frozen, since changing one changes the content of every slot.
std::uint64_t slotSeed(std::uint64_t seed, int slot) {
    constexpr std::uint64_t kSeedMultiplier = 1000003ull;  // a prime
    constexpr std::uint64_t kSlotMultiplier = 7919ull;     // a prime
    constexpr std::uint64_t kOffset = 17ull;
    return seed * kSeedMultiplier + static_cast<std::uint64_t>(slot) * kSlotMultiplier + kOffset;
}

// ZERO, RANGE, VEL M/S, DELAY, gain and both gates.
void putGateSettings(Record& r, const ModelLayout& layout, Rng& rng) {
    put(r, layout, "txtzero", std::to_string(rng.uniform(95, 125)));
    put(r, layout, "txtrange", pick(rng, kRanges));
    put(r, layout, "txtvelo", pick(rng, kVelocities));
    put(r, layout, "txtdelay", pick(rng, kDelays));
    put(r, layout, "txtgain", fixed1(rng.uniform(40, 160) / 2.0));  // "45.5": 5 codes shown
    put(r, layout, "txtgate", pick(rng, kGate1));
    const int start1 = rng.uniform(1, 12) * 5;
    put(r, layout, "txtstart", percent(start1));
    put(r, layout, "txtend", percent(rng.uniform(2, (100 - start1) / 5) * 5));
    put(r, layout, "txtlevel", percent(rng.uniform(2, 16) * 5));
    put(r, layout, "txtgate2", rng.chance(0.4) ? "ON" : "OFF");
    const int start2 = rng.uniform(4, 14) * 5;
    put(r, layout, "txtstart2", percent(start2));
    put(r, layout, "txtend2", percent(rng.uniform(1, (100 - start2) / 5) * 5));
    put(r, layout, "txtlevel2", percent(rng.uniform(2, 12) * 5));
}

// MEM, MEM NO, ACTION, REF, REJECT, SET REF, VIDEO, MODE, CLOCK, COLOR/BEEP/BACKLIT, HORN,
// BRIGHT/CONTRST, time and date, DAC.
void putPanelSettings(Record& r, const ModelLayout& layout, Rng& rng, int slot) {
    put(r, layout, "txtmem", "A Scan");
    char memno[8];
    std::snprintf(memno, sizeof memno, "%03d", slot);
    put(r, layout, "txtmemno", memno);
    put(r, layout, "txtaction", "Send");
    put(r, layout, "txtrefg", rng.chance(0.5) ? "OFF" : fixed1(rng.uniform(40, 120) / 2.0));
    put(r, layout, "txtreject", rng.chance(0.6) ? "00%" : percent(rng.uniform(1, 4) * 5));
    put(r, layout, "txtsetref", rng.chance(0.8) ? "OFF" : "ON");
    put(r, layout, "txtVideo", pick(rng, kVideos));
    put(r, layout, "txtmode", pick(rng, kModes));
    put(r, layout, "txtclock", rng.chance(0.85) ? "ON" : "OFF");
    // COLOR exists in the TFT model only; BEEP (TFT) and BACKLIT (DAC) are both `txtbeep`.
    // Every value is drawn in both models, so that a slot looks alike in both.
    put(r, layout, "txtcolor", pick(rng, kColors));
    put(r, layout, "txtbeep", rng.chance(0.5) ? "ON" : "OFF");
    put(r, layout, "txthorn", rng.chance(0.3) ? "ON" : "OFF");
    put(r, layout, "txtbrt", std::to_string(rng.uniform(1, 10) * 10));
    put(r, layout, "txtcontrast", std::to_string(rng.uniform(1, 10) * 10));
    put(r, layout, "timedate",
        twoDigits(rng.uniform(6, 19)) + twoDigits(rng.uniform(0, 59)) +
            twoDigits(rng.uniform(1, 28)) + twoDigits(rng.uniform(1, 12)) +
            twoDigits(rng.uniform(3, 24)));
    const int dacState = rng.uniform(0, 5);
    put(r, layout, "txtdac",
        dacState <= 1 ? std::string_view("OFF")
                      : (dacState <= 3 ? std::string_view("ON") : layout.threeCurveDacText));
}

// CURSOR, POINT, PRESS, MEASURE, X-OFF, ANGLE, THICK, HUD and the blank fields. Returns the
// probe angle, which the readouts depend on.
const char* putMeasureSettings(Record& r, const ModelLayout& layout, Rng& rng) {
    char cursor[8];
    std::snprintf(cursor, sizeof cursor, "%03d", rng.uniform(1, 250));
    put(r, layout, "txtcur", cursor);
    put(r, layout, "txtpoint", "001");
    put(r, layout, "Txtent", "ENTER");
    const bool measure = rng.chance(0.8);
    put(r, layout, "txtmea", measure ? "ON" : "OFF");
    put(r, layout, "txtxoff", rng.chance(0.5) ? "OFF" : fixed1(rng.uniform(0, 30) / 2.0));
    const char* angle = pick(rng, kAngles);
    put(r, layout, "txtangle", angle);
    char thick[8];
    std::snprintf(thick, sizeof thick, "%04d", rng.uniform(10, 300));
    put(r, layout, "txtthick", thick);
    put(r, layout, "txtblk1", "");
    put(r, layout, "txthud", rng.chance(0.7) ? "OFF" : "ON");
    put(r, layout, "txtblk2", "");
    return angle;
}

// Readouts: beam path, surface distance, depth ("12.3 "), from the probe angle.
void putReadouts(Record& r, const ModelLayout& layout, Rng& rng, const char* angle) {
    const double beam = rng.uniform(50, 2400) / 10.0;
    const double rad = std::atoi(angle) * 3.14159265358979 / 180.0;
    put(r, layout, "txtbeam", fixed1(beam));
    put(r, layout, "txtsurf", fixed1(beam * std::sin(rad)));
    put(r, layout, "txtdpth", fixed1(beam * std::cos(rad)));
}

// Report header fields: only the TFT frame carries them (the DAC layout has no such fields, so
// nothing is written there); some slots leave them blank.
void putReportHeader(Record& r, const ModelLayout& layout, Rng& rng) {
    if (rng.chance(0.7)) {
        char axle[24];
        std::snprintf(axle, sizeof axle, "WDM-%d / %05d", rng.uniform(1, 4),
                      rng.uniform(1000, 99999));
        put(r, layout, "txtopname", pick(rng, kOperators));
        put(r, layout, "txtraw", pick(rng, kWorkshops));
        put(r, layout, "txtaxno", axle);
        put(r, layout, "txtremark", pick(rng, kDefects));
    }
}

}  // namespace

// splitmix64 (Steele, Lea, Flood): the golden-ratio increment and the two mixing multipliers.
std::uint64_t Rng::next() {
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int Rng::uniform(int lo, int hi) {
    return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
}

double Rng::unit() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

const ModelLayout& layoutFor(Model model) {
    return model == Model::Tft ? kTftLayout : kDacLayout;
}

Record makeRecord(const ModelLayout& layout, std::uint64_t seed, int slot) {
    Record r{};
    Rng rng(slotSeed(seed, slot));

    // The order of the calls is the order of the random draws: changing it changes every slot.
    makeTrace(r, rng);
    // Everything the frame carries from block B's first index on starts blank; the fields are
    // written over it.
    for (int i = kBlockBFirstRecordIndex; i <= layout.lastFrameIndex; ++i) {
        r[i] = kBlank;
    }
    putGateSettings(r, layout, rng);
    putPanelSettings(r, layout, rng, slot);
    const char* angle = putMeasureSettings(r, layout, rng);
    putReadouts(r, layout, rng, angle);
    makeDacPoints(r, layout, rng);
    putReportHeader(r, layout, rng);
    return r;
}

void setMemoryNumber(Record& record, std::string_view text) {
    constexpr std::size_t kLength = kMemnoLength;
    const std::size_t n = std::min<std::size_t>(text.size(), kLength);
    const std::size_t blanks = kLength - n;  // right-aligned
    for (std::size_t i = 0; i < kLength; ++i) {
        record[kMemnoRecordIndex + i] =
            i < blanks ? kBlank : static_cast<std::uint8_t>(text[i - blanks]);
    }
}

std::vector<std::uint8_t> makeBlockB(const ModelLayout& layout, const Record& record) {
    std::vector<std::uint8_t> b(static_cast<std::size_t>(layout.blockBLength), kBlank);
    int gapStart = 0;
    for (const MappingRun& run : layout.runs) {
        // The instrument sends each field's label in the gap in front of the value.
        for (int i = 0; i < run.blockB - gapStart && i < static_cast<int>(run.label.size()); ++i) {
            b[gapStart + i] = static_cast<std::uint8_t>(run.label[i]);
        }
        for (int j = 0; j < run.count; ++j) {
            b[run.blockB + j] = record[run.record + j];
        }
        gapStart = run.blockB + run.count;
    }
    return b;
}

FrameBytes makeFrame(const ModelLayout& layout, const Record& record, const FrameFaults& faults,
                     std::uint64_t noiseSalt) {
    Record r = record;
    if (faults.memno) {
        setMemoryNumber(r, *faults.memno);
    }
    FrameBytes out;
    auto& v = out.bytes;
    // The noise generator's seed; the multiplier only spreads consecutive salts apart.
    Rng rng(noiseSalt * 0x2545F4914F6CDD1Dull + 99);
    for (int i = 0; i < faults.noise; ++i) {
        v.push_back(static_cast<std::uint8_t>(rng.uniform(0, kLastNonSyncByte)));
    }
    out.syncOffset = static_cast<int>(v.size());
    v.push_back(kSync);
    v.push_back(kBlockAPosition0);
    for (int i = 0; i < kSampleCount; ++i) {
        v.push_back(r[i]);
    }
    if (!faults.noSeparator) {
        v.push_back(faults.separator255 ? kSync : kSeparator);
    }
    for (int i = 0; i < faults.filler; ++i) {
        v.push_back(static_cast<std::uint8_t>(rng.uniform(0, kLastNonSyncByte)));
    }
    v.push_back(kSync);
    std::vector<std::uint8_t> b = makeBlockB(layout, r);
    if (faults.blockB255 && *faults.blockB255 >= 0 && *faults.blockB255 < layout.blockBLength) {
        b[static_cast<std::size_t>(*faults.blockB255)] = kSync;
    }
    v.insert(v.end(), b.begin(), b.end());
    return out;
}

}  // namespace instrument_sim
