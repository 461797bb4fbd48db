#include "inspection/job.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <array>

namespace trellicap::inspection {

namespace {

constexpr std::array<const char*, 5> kResultTexts = {"no indication", "below recording level",
                                                     "acceptable", "reject", "outside DAC"};

template <class T>
void fillText(QString& mine, const T& theirs) {
    if (mine.isEmpty()) {
        mine = theirs;
    }
}

template <class T>
void fillValue(std::optional<T>& mine, const std::optional<T>& theirs) {
    if (!mine) {
        mine = theirs;
    }
}

}  // namespace

QString resultText(Result result) {
    return QString::fromLatin1(kResultTexts[static_cast<std::size_t>(result)]);
}

std::optional<Result> resultFromText(const QString& text) {
    for (std::size_t i = 0; i < kResultTexts.size(); ++i) {
        if (text == QLatin1String(kResultTexts[i])) {
            return static_cast<Result>(i);
        }
    }
    return std::nullopt;
}

Job nextVersion(Job job, const QString& by, const QString& at, const QString& what) {
    ++job.version;
    job.history.push_back({job.version, by, at, what});
    return job;
}

const JobItem* findItem(const Job& job, int item) {
    const auto it = std::find_if(job.items.begin(), job.items.end(),
                                 [item](const JobItem& entry) { return entry.item == item; });
    return it == job.items.end() ? nullptr : &*it;
}

JobItem* findItem(Job& job, int item) {
    return const_cast<JobItem*>(findItem(std::as_const(job), item));
}

int nextItemNumber(const Job& job) {
    int highest = 0;
    for (const JobItem& item : job.items) {
        highest = std::max(highest, item.item);
    }
    return highest + 1;
}

QString itemName(const JobItem& item) {
    const QString mem = QStringLiteral("Mem %1").arg(item.slot);
    switch (item.origin.kind) {
        case OriginKind::Archive:
            return QStringLiteral("%1 (archive %2 v%3)")
                .arg(mem, item.origin.archiveUuid.left(8))
                .arg(item.origin.archiveVersion);
        case OriginKind::File:
        case OriginKind::Slot:
            break;
    }
    const QString file = QFileInfo(item.origin.file).fileName();
    return file.isEmpty() ? mem : QStringLiteral("%1 (%2)").arg(mem, file);
}

QString jobTitle(const Job& job) {
    QStringList parts;
    if (!job.order.isEmpty()) {
        parts << QStringLiteral("Order %1").arg(job.order);
    }
    if (!job.object.isEmpty()) {
        parts << job.object;
    }
    QString title = parts.isEmpty() ? QStringLiteral("Job") : parts.join(QStringLiteral(", "));
    if (!job.client.isEmpty()) {
        title += QStringLiteral(" (%1)").arg(job.client);
    }
    return title;
}

std::optional<double> jobProbeAngle(const Job& job) {
    return job.probe.measuredAngleDeg ? job.probe.measuredAngleDeg : job.probe.angleDeg;
}

EquipmentUse equipmentUse(const Job& job) {
    return {job.instrument.serial, job.probe.serial, job.block.id};
}

Job withRegisterDetails(Job job, const EquipmentRegister& equipment) {
    if (const Instrument* kept = equipment.instrument(job.instrument.serial)) {
        fillText(job.instrument.model, kept->model);
        fillText(job.instrument.firmware, kept->firmware);
        fillText(job.instrument.certificate, kept->certificate);
        fillValue(job.instrument.calibrationDue, kept->calibrationDue);
    }
    if (const Probe* kept = equipment.probe(job.probe.serial)) {
        fillText(job.probe.makerType, kept->makerType);
        fillText(job.probe.elementSize, kept->elementSize);
        fillValue(job.probe.frequencyMhz, kept->frequencyMhz);
        fillValue(job.probe.angleDeg, kept->angleDeg);
        fillValue(job.probe.measuredAngleDeg, kept->measuredAngleDeg);
        fillValue(job.probe.delayUs, kept->delayUs);
        fillValue(job.probe.calibrationDue, kept->calibrationDue);
        fillValue(job.probe.type, kept->type);
    }
    if (const ReferenceBlock* kept = equipment.block(job.block.id)) {
        fillText(job.block.designation, kept->designation);
        fillValue(job.block.velocityMs, kept->velocityMs);
    }
    return job;
}

QString nowText() {
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate);
}

QString loginName() {
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty()) {
            return name;
        }
    }
    return QStringLiteral("unknown");
}

}  // namespace trellicap::inspection
