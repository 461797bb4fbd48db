#include "cli/models.h"

#include <QStringList>
#include <array>

#include "profiles/dac.h"
#include "profiles/tft.h"
#include "storage/record_file_writer.h"

namespace trellicap::cli {

namespace {

const std::array<CliModel, 2> kModels = {{
    {tft::kProfile},
    {dac::kProfile},
}};

QLatin1String latin1(std::string_view text) {
    return QLatin1String(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::span<const CliModel> cliModels() {
    return kModels;
}

const CliModel* modelByKey(QStringView key) {
    for (const CliModel& model : kModels) {
        if (key == latin1(model.key())) {
            return &model;
        }
    }
    return nullptr;
}

const CliModel* modelByFileSize(qint64 bytes) {
    for (const CliModel& model : kModels) {
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
    for (const CliModel& model : kModels) {
        keys.append(latin1(model.key()));
    }
    return keys.join(QLatin1Char('|'));
}

}  // namespace trellicap::cli

namespace trellicap::cli {

QString perModel(const std::function<QString(const ModelProfile&)>& value) {
    QStringList parts;
    for (const CliModel& model : kModels) {
        parts.append(value(model.profile) + QLatin1Char(' ') + displayName(model));
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace trellicap::cli
