// Compiled, not run. Without a case macro it must compile clean: both real profiles pass their
// checks. Each case macro swaps one table of the TFT profile for a broken one, and the build
// must stop on that case's rule (tests/profiles/CMakeLists.txt matches the rule's name). The
// broken profile is a named constant, checked as tft.h and dac.h check theirs, so the error
// reads as it would for a real table.
#include "profiles/dac.h"
#include "profiles/profile_checks.h"
#include "profiles/tft.h"

namespace trellicap {

static_assert(profileIsValid(tft::kProfile));
static_assert(profileIsValid(dac::kProfile));

consteval ModelProfile tftWithFrameMap(std::span<const FrameMapRun> map) {
    ModelProfile profile = tft::kProfile;
    profile.frameMap = map;
    return profile;
}

#if defined(CASE_RUN_PAST_RAW_BUFFER)
// The TFT raw buffer ends at 1000.
inline constexpr FrameMapRun kMap[] = {{1, 0, 251}, {995, 642, 10}};
inline constexpr ModelProfile kBroken = tftWithFrameMap(kMap);
static_assert(profileIsValid(kBroken));

#elif defined(CASE_OVERLAPPING_RUNS)
// Raw 270..273 would feed two settings.
inline constexpr FrameMapRun kMap[] = {{1, 0, 251}, {267, 260, 7}, {270, 267, 7}};
inline constexpr ModelProfile kBroken = tftWithFrameMap(kMap);
static_assert(profileIsValid(kBroken));

#elif defined(CASE_TWO_POSITIONS_PAST_BLOCK_B)
// Only index 642 may take a fixed 0 from past block B; this run would give 643 one as well.
inline constexpr FrameMapRun kMap[] = {{1, 0, 251}, {874, 540, 102}, {976, 642, 2}};
inline constexpr ModelProfile kBroken = tftWithFrameMap(kMap);
static_assert(profileIsValid(kBroken));

#elif defined(CASE_PANEL_WALK_SHORT)
// Without the depth readout the walk stops 5 codes before the DAC points.
consteval ModelProfile tftWithoutLastPanelStep() {
    ModelProfile profile = tft::kProfile;
    profile.panelSteps = profile.panelSteps.first(profile.panelSteps.size() - 1);
    return profile;
}
inline constexpr ModelProfile kBroken = tftWithoutLastPanelStep();
static_assert(profileIsValid(kBroken));

#elif defined(CASE_ROLE_NAMES_NO_BOX)
// The range box renamed in the tables but not in the roles: the axis labels would go blank.
consteval ModelProfile tftWithStaleRangeRole() {
    ModelProfile profile = tft::kProfile;
    profile.roles.range = "txtrng";
    return profile;
}
inline constexpr ModelProfile kBroken = tftWithStaleRangeRole();
static_assert(profileIsValid(kBroken));

#elif defined(CASE_GATE_ROLE_NAMES_A_HEADER_BOX)
// A header box is no panel box: gate 2's level would read the operator's name.
consteval ModelProfile tftWithGateOnHeaderBox() {
    ModelProfile profile = tft::kProfile;
    profile.roles.gate2.level = "txtopname";
    return profile;
}
inline constexpr ModelProfile kBroken = tftWithGateOnHeaderBox();
static_assert(profileIsValid(kBroken));

#elif defined(CASE_INFO_HEADER_NAMES_A_SETTING)
// The info table's header column must be a report header field.
consteval ModelProfile dacWithInfoHeaderOnASetting() {
    ModelProfile profile = dac::kProfile;
    profile.roles.infoHeader = "txtrange";
    return profile;
}
inline constexpr ModelProfile kBroken = dacWithInfoHeaderOnASetting();
static_assert(profileIsValid(kBroken));
#endif

}  // namespace trellicap
