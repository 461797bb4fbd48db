#include "cli/job_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "cli/cli_failure.h"
#include "cli/record_input.h"
#include "inspection/job_json.h"
#include "record/profile_text.h"
#include "report/job_evaluation.h"

namespace trellicap::cli {

const CliModel* jobModel(const inspection::Job& job) {
    if (job.model.isEmpty()) {
        return nullptr;
    }
    const CliModel* model = modelByKey(job.model);
    if (model == nullptr) {
        failInput(
            QStringLiteral("the job's model \"%1\" is not one of %2.").arg(job.model, modelKeys()));
    }
    return model;
}

std::optional<inspection::ReferenceEcho> loadReference(inspection::Job& job, const QString& folder,
                                                       const CliModel& model) {
    inspection::ReferenceSensitivity& reference = job.reference;
    if (reference.method != inspection::ReferenceMethod::Record) {
        return std::nullopt;
    }
    const QString name = QStringLiteral("%1, Mem %2").arg(reference.file).arg(reference.slot);
    if (reference.values.empty()) {
        if (reference.file.isEmpty() || reference.slot < 1 || reference.slot > kSlotCount) {
            failInput(
                QStringLiteral("the reference method \"record\" needs reference.file and "
                               "reference.slot (1 to 200)."));
        }
        const QString path = QDir(folder).absoluteFilePath(reference.file);
        const RecordInput input = loadInput(path, &model);
        const auto column = input.session->store().column(reference.slot - 1);
        reference.values.assign(column.begin(), column.end());
        reference.model = qs(model.key());
    }
    const auto echo = referenceEcho(model.profile, reference);
    if (!echo) {
        failInput(QStringLiteral("the reference record (%1) shows no echo in gate 1 (or is not "
                                 "a %2 record).")
                      .arg(name, displayName(model)));
    }
    return echo;
}

JobFile readJobFile(const QString& path, const CliModel* model) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failInput(QStringLiteral("\"%1\" could not be read: %2.").arg(path, file.errorString()));
    }
    inspection::JobRead read = inspection::readJob(file.readAll());
    if (!read.errors.isEmpty()) {
        failInput(QStringLiteral("\"%1\" is not a job: %2.")
                      .arg(path, read.errors.join(QStringLiteral("; "))));
    }
    JobFile out{std::move(read.job), std::nullopt};
    const CliModel* named = jobModel(out.job);
    if (named != nullptr && model != nullptr && named != model) {
        failInput(QStringLiteral("the job is of the %1 model, the record file of the %2 model.")
                      .arg(displayName(*named), displayName(*model)));
    }
    const CliModel* chosen = model != nullptr ? model : named;
    if (chosen == nullptr) {
        chosen = &cliModels().front();
    }
    out.reference = loadReference(out.job, QFileInfo(path).absolutePath(), *chosen);
    return out;
}

}  // namespace trellicap::cli
