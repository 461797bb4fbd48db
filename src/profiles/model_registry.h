// The models this build knows, from the model registry (src/profiles/models.cmake): every
// front end iterates these lists and never names a model of its own. The names come without
// the profiles (a window program shows the names of every model but holds its own profile
// only); the profiles are for the programs that read every model's records (trellicap-cli).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "profiles/model_profile.h"

namespace trellicap {

struct RegisteredModel {
    std::string_view key;      // "tft": trellicap-cli's --model, the archive's model
    std::string_view name;     // "TFT": as a person writes it
    std::string_view program;  // the window program's executable
    std::int64_t fileBytes;    // a whole record file of the model
};

// Library trellicap_model_names (or _all_model_names with the test models).
[[nodiscard]] std::span<const RegisteredModel> registeredModels();
// Library trellicap_model_profiles (or _all_model_profiles), in the same order.
[[nodiscard]] std::span<const ModelProfile* const> registeredProfiles();
// The profile of that key ("tft"), or nothing.
[[nodiscard]] inline const ModelProfile* registeredProfile(std::string_view key) {
    for (const ModelProfile* profile : registeredProfiles()) {
        if (profile->modelKey == key) {
            return profile;
        }
    }
    return nullptr;
}

}  // namespace trellicap
