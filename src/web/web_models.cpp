#include "web/web_models.h"

#include "profiles/model_registry.h"
#include "record/profile_text.h"

namespace trellicap::web {

namespace {}  // namespace

std::span<const ModelProfile* const> webModels() {
    return registeredProfiles();
}

const ModelProfile* profileByKey(QStringView key) {
    const QByteArray name = key.toLatin1();
    return registeredProfile(
        std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
}

QString modelName(QStringView key) {
    for (const RegisteredModel& model : registeredModels()) {
        if (key == latin1(model.key)) {
            return QString::fromLatin1(model.name.data(),
                                       static_cast<qsizetype>(model.name.size()));
        }
    }
    return key.toString().toUpper();
}

}  // namespace trellicap::web
