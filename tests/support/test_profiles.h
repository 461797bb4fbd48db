// Every profile the profile-driven tests run against: the two instruments and a test-only
// variant. A profile added here runs the panel, plot, record-file and command-line cases of
// tests/profiles/every_profile_test.cpp.
#pragma once

#include <array>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "support/variant_profile.h"

namespace trellicap::testing {

inline constexpr std::array<const ModelProfile*, 3> kTestProfiles = {
    &tft::kProfile,
    &dac::kProfile,
    &variant::kProfile,
};

}  // namespace trellicap::testing
