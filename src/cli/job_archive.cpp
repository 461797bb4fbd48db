#include "cli/job_archive.h"

#include "cli/cli_failure.h"

namespace trellicap::cli {

OptionSyntax jobArchiveOption() {
    return {{QStringLiteral("archive")},
            QStringLiteral("PATH"),
            QStringLiteral("the archive the jobs and the register are kept in (default "
                           "./archive.sqlite, made when missing)")};
}

OptionSyntax byOption() {
    return {{QStringLiteral("by")},
            QStringLiteral("NAME"),
            QStringLiteral("who makes the change (default: the job's inspector, else the login "
                           "name)")};
}

std::unique_ptr<ArchiveInspectionStore> openJobStore(const CommandLine& line) {
    const QString path = line.isSet(QStringLiteral("archive"))
                             ? line.value(QStringLiteral("archive"))
                             : QStringLiteral("archive.sqlite");
    auto store = std::make_unique<ArchiveInspectionStore>(path);
    if (!store->isOpen()) {
        failInput(store->error() + QLatin1Char('.'));
    }
    return store;
}

QString changedBy(const CommandLine& line, const inspection::Job& job) {
    if (line.isSet(QStringLiteral("by")) && !line.value(QStringLiteral("by")).trimmed().isEmpty()) {
        return line.value(QStringLiteral("by")).trimmed();
    }
    return job.inspector.name.isEmpty() ? inspection::loginName() : job.inspector.name;
}

OpenJob openJob(const CommandLine& line, const CliModel* fallback) {
    OpenJob out;
    out.store = openJobStore(line);
    QString error;
    const auto job = out.store->job(line.positional(0), &error);
    if (!job) {
        failInput(error + QLatin1Char('.'));
    }
    out.model = job->model.isEmpty() ? fallback : modelByKey(job->model);
    if (out.model == nullptr) {
        out.model = job->model.isEmpty() ? &cliModels().front() : nullptr;
    }
    if (out.model == nullptr) {
        failInput(QStringLiteral("the job's model \"%1\" is not one of %2.")
                      .arg(job->model, modelKeys()));
    }
    out.desk = std::make_unique<JobDesk>(*out.store, out.model->profile);
    if (auto refused = out.desk->open(job->id)) {
        failInput(*refused + QLatin1Char('.'));
    }
    return out;
}

inspection::EquipmentRegister registerOf(inspection::InspectionStore& store) {
    QString error;
    auto equipment = store.equipment(&error);
    if (!equipment) {
        failInput(QStringLiteral("the equipment register cannot be read: %1.").arg(error));
    }
    return std::move(*equipment);
}

}  // namespace trellicap::cli
