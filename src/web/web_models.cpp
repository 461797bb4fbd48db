#include "web/web_models.h"

#include <QString>
#include <array>

#include "profiles/dac.h"
#include "profiles/tft.h"

namespace trellicap::web {

namespace {

const std::array<const ModelProfile*, 2> kModels = {&tft::kProfile, &dac::kProfile};

}  // namespace

std::span<const ModelProfile* const> webModels() {
    return kModels;
}

const ModelProfile* profileByKey(QStringView key) {
    for (const ModelProfile* profile : kModels) {
        if (key == QLatin1String(profile->modelKey.data(),
                                 static_cast<qsizetype>(profile->modelKey.size()))) {
            return profile;
        }
    }
    return nullptr;
}

QString modelName(QStringView key) {
    return key.toString().toUpper();
}

}  // namespace trellicap::web
