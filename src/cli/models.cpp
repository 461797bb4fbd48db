#include "cli/models.h"

#include <QStringList>
#include <vector>

#include "profiles/model_registry.h"
#include "record/profile_text.h"
#include "storage/record_file_writer.h"

namespace trellicap::cli {

namespace {

// The registry's profiles, as the tool's models, made once.
const std::vector<CliModel>& models() {
    static const std::vector<CliModel> list = [] {
        std::vector<CliModel> made;
        for (const ModelProfile* profile : registeredProfiles()) {
            made.push_back({*profile});
        }
        return made;
    }();
    return list;
}

}  // namespace

std::span<const CliModel> cliModels() {
    return models();
}

const CliModel* modelByKey(QStringView key) {
    for (const CliModel& model : models()) {
        if (key == latin1(model.key())) {
            return &model;
        }
    }
    return nullptr;
}

const CliModel* modelByFileSize(qint64 bytes) {
    for (const CliModel& model : models()) {
        if (bytes == recordFileSize(model.profile)) {
            return &model;
        }
    }
    return nullptr;
}

QString displayName(const CliModel& model) {
    return QString(latin1(model.key())).toUpper();
}

QString modelKeys() {
    QStringList keys;
    for (const CliModel& model : models()) {
        keys.append(latin1(model.key()));
    }
    return keys.join(QLatin1Char('|'));
}

QString perModel(const std::function<QString(const ModelProfile&)>& value) {
    QStringList parts;
    for (const CliModel& model : models()) {
        parts.append(value(model.profile) + QLatin1Char(' ') + displayName(model));
    }
    return parts.join(QStringLiteral(", "));
}

QString withModelKeys(QString text) {
    QStringList names;
    for (const CliModel& model : models()) {
        names.append(displayName(model));
    }
    const QString last = names.isEmpty() ? QString() : names.takeLast();
    const QString joined =
        names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
    return text.replace(QStringLiteral("{models}"), modelKeys())
        .replace(QStringLiteral("{model names}"), joined);
}

QString otherModelNames(const CliModel& model) {
    QStringList others;
    for (const CliModel& other : models()) {
        if (&other != &model) {
            others.append(displayName(other));
        }
    }
    return others.isEmpty() ? displayName(model) : others.join(QStringLiteral(" or "));
}

}  // namespace trellicap::cli
