#include "session/job_desk.h"

#include <QStringList>
#include <algorithm>

namespace trellicap {

namespace {

using inspection::Job;

// The details and the names the history gives them, compared one by one.
template <class F>
void forEachDetail(const Job& a, const Job& b, F&& visit) {
    visit(a.client == b.client, "client");
    visit(a.order == b.order, "order number");
    visit(a.object == b.object, "object");
    visit(a.material == b.material, "material");
    visit(a.thicknessMm == b.thicknessMm, "thickness");
    visit(a.surface == b.surface, "surface condition");
    visit(a.temperatureC == b.temperatureC, "temperature");
    visit(a.procedure == b.procedure && a.procedureRevision == b.procedureRevision, "procedure");
    visit(a.standard == b.standard && a.testingLevel == b.testingLevel, "standard");
    visit(a.place == b.place, "place");
    visit(a.organisation == b.organisation, "organisation");
    visit(a.dateFrom == b.dateFrom && a.dateTo == b.dateTo, "dates");
    visit(a.inspector == b.inspector, "inspector");
    visit(a.reviewer == b.reviewer, "reviewer");
    visit(a.instrument == b.instrument, "instrument");
    visit(a.probe == b.probe, "probe");
    visit(a.block == b.block, "block");
    visit(a.couplant == b.couplant, "couplant");
    visit(a.reference == b.reference, "reference sensitivity");
    visit(a.evaluation == b.evaluation, "evaluation rule");
}

}  // namespace

void copyDetails(Job& to, const Job& from) {
    Job next = from;
    next.id = to.id;
    next.version = to.version;
    next.model = to.model;
    next.items = std::move(to.items);
    next.history = std::move(to.history);
    to = std::move(next);
}

QString changedDetails(const Job& before, const Job& after) {
    QStringList names;
    forEachDetail(before, after, [&names](bool same, const char* name) {
        if (!same) {
            names << QString::fromLatin1(name);
        }
    });
    return names.join(QStringLiteral(", "));
}

JobDesk::JobDesk(inspection::InspectionStore& store, const ModelProfile& profile)
    : m_store(store), m_profile(profile) {}

QString JobDesk::defaultAuthor() const {
    return m_job.inspector.name.isEmpty() ? inspection::loginName() : m_job.inspector.name;
}

inspection::JobResults jobResults(const JobEvaluation& evaluation) {
    inspection::JobResults results{evaluation.summary.overall, {}};
    for (const inspection::Evaluation& e : evaluation.records) {
        results.records.push_back(e.result ? inspection::resultText(*e.result) : QString());
    }
    return results;
}

void JobDesk::adopt(Job job) {
    m_job = std::move(job);
    m_evaluation = evaluateJob(m_profile, m_job);
    emit jobChanged();
}

std::optional<QString> JobDesk::keep(Job next, const QString& by, const QString& what) {
    next = inspection::nextVersion(std::move(next), by.isEmpty() ? defaultAuthor() : by,
                                   inspection::nowText(), what);
    const JobEvaluation evaluation = evaluateJob(m_profile, next);
    if (auto error = m_store.keepJob(next, jobResults(evaluation))) {
        return error;
    }
    adopt(std::move(next));
    return std::nullopt;
}

std::optional<QString> JobDesk::open(const QString& id) {
    QString error;
    auto job = m_store.job(id, &error);
    if (!job) {
        return error;
    }
    if (!job->model.isEmpty() && job->model != modelName(m_profile)) {
        return QStringLiteral("the job holds %1 records; this program reads %2 records")
            .arg(job->model.toUpper(), modelName(m_profile).toUpper());
    }
    adopt(std::move(*job));
    return std::nullopt;
}

std::optional<QString> JobDesk::create(Job details, const QString& by) {
    Job job;
    copyDetails(job, details);
    job.model = modelName(m_profile);
    job.items = std::move(details.items);
    for (std::size_t i = 0; i < job.items.size(); ++i) {
        job.items[i].item = static_cast<int>(i + 1);
    }
    return keep(std::move(job), by, QStringLiteral("created"));
}

std::optional<QString> JobDesk::editDetails(const Job& details, const QString& by) {
    if (!hasJob()) {
        return QStringLiteral("no job is open");
    }
    Job next = m_job;
    copyDetails(next, details);
    const QString changed = changedDetails(m_job, next);
    if (changed.isEmpty()) {
        return std::nullopt;  // nothing to keep
    }
    return keep(std::move(next), by, QStringLiteral("details changed: %1").arg(changed));
}

std::optional<QString> JobDesk::addRecords(std::vector<inspection::JobItem> items,
                                           const QString& by) {
    if (!hasJob()) {
        return QStringLiteral("no job is open: choose Job > New Job... or Open Job... first");
    }
    if (items.empty()) {
        return QStringLiteral("no record was chosen");
    }
    Job next = m_job;
    int number = inspection::nextItemNumber(next);
    QStringList mems;
    for (inspection::JobItem& item : items) {
        if (static_cast<int>(item.values.size()) != m_profile.recordSize()) {
            return QStringLiteral("Mem %1 is not a %2 record")
                .arg(item.slot)
                .arg(modelName(m_profile).toUpper());
        }
        item.item = number++;
        mems << QString::number(item.slot);
        next.items.push_back(std::move(item));
    }
    next.model = modelName(m_profile);
    const QString count = items.size() == 1 ? QStringLiteral("1 record")
                                            : QStringLiteral("%1 records").arg(items.size());
    return keep(std::move(next), by,
                QStringLiteral("%1 added (Mem %2)").arg(count, mems.join(QStringLiteral(", "))));
}

std::optional<QString> JobDesk::setNotes(int item, std::optional<double> lengthMm,
                                         const QString& position, const QString& by) {
    Job next = m_job;
    inspection::JobItem* entry = inspection::findItem(next, item);
    if (entry == nullptr) {
        return QStringLiteral("the job has no record %1").arg(item);
    }
    if (entry->lengthMm == lengthMm && entry->position == position) {
        return std::nullopt;
    }
    entry->lengthMm = lengthMm;
    entry->position = position;
    return keep(std::move(next), by, QStringLiteral("notes of record %1 set").arg(item));
}

std::optional<QString> JobDesk::overrideResult(int item, std::optional<inspection::Result> result,
                                               const QString& reason, const QString& by) {
    if (reason.trimmed().isEmpty()) {
        return QStringLiteral("a result is set by hand only with its reason");
    }
    if (result == inspection::Result::OutsideDac) {
        return QStringLiteral("\"outside DAC\" is no result to set");
    }
    Job next = m_job;
    inspection::JobItem* entry = inspection::findItem(next, item);
    if (entry == nullptr) {
        return QStringLiteral("the job has no record %1").arg(item);
    }
    const QString who = by.isEmpty() ? defaultAuthor() : by;
    QString what;
    if (result) {
        entry->resultOverride =
            inspection::ResultOverride{*result, reason.trimmed(), who, inspection::nowText()};
        what = QStringLiteral("result of record %1 set to %2: %3")
                   .arg(item)
                   .arg(inspection::resultText(*result), reason.trimmed());
    } else {
        if (!entry->resultOverride) {
            return std::nullopt;
        }
        entry->resultOverride.reset();
        what = QStringLiteral("result of record %1 computed again: %2")
                   .arg(item)
                   .arg(reason.trimmed());
    }
    return keep(std::move(next), who, what);
}

std::optional<QString> JobDesk::removeRecord(int item, const QString& by) {
    Job next = m_job;
    const auto it = std::find_if(next.items.begin(), next.items.end(),
                                 [item](const inspection::JobItem& e) { return e.item == item; });
    if (it == next.items.end()) {
        return QStringLiteral("the job has no record %1").arg(item);
    }
    const QString name = inspection::itemName(*it);
    next.items.erase(it);
    return keep(std::move(next), by,
                QStringLiteral("record %1 (%2) taken out").arg(item).arg(name));
}

}  // namespace trellicap
