// equipment add | list | check: the register of instruments, probes, reference blocks,
// couplants and daily checks kept in the archive, every change a new version; and what is
// past its calibration date or lacks a passed daily check.
#include <QDate>
#include <QFile>

#include "cli/cli_failure.h"
#include "cli/command.h"
#include "cli/job_archive.h"
#include "cli/job_output.h"
#include "cli/output_file.h"
#include "inspection/equipment_json.h"

namespace trellicap::cli {

namespace {

QString dateOf(const std::optional<QDate>& date) {
    return date ? date->toString(Qt::ISODate) : QStringLiteral("-");
}

QString number(const std::optional<double>& value) {
    return value ? QString::number(*value, 'g', 15) : QStringLiteral("-");
}

void runAdd(const CommandLine& line) {
    const QString path = line.required(QStringLiteral("from"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failInput(QStringLiteral("\"%1\" could not be read: %2.").arg(path, file.errorString()));
    }
    const inspection::ItemsRead read = inspection::readItems(file.readAll());
    if (!read.errors.isEmpty()) {
        failInput(QStringLiteral("\"%1\" is not an equipment entry: %2.")
                      .arg(path, read.errors.join(QStringLiteral("; "))));
    }
    auto store = openJobStore(line);
    const QString by = line.isSet(QStringLiteral("by")) ? line.value(QStringLiteral("by"))
                                                        : inspection::loginName();
    QString out;
    for (const inspection::ItemData& data : read.items) {
        inspection::EquipmentItem item{data, 0, by, inspection::nowText()};
        if (auto refused = store->keepItem(item)) {
            failInput(QStringLiteral("%1: %2.").arg(inspection::itemTitle(data), *refused));
        }
        out += QStringLiteral("kept %1, version %2\n")
                   .arg(inspection::itemTitle(item.data))
                   .arg(item.version);
    }
    writeStandardOutput(out.toUtf8());
}

QString registerText(const inspection::EquipmentRegister& equipment) {
    std::vector<QStringList> instruments{
        {"instrument", "serial", "firmware", "certificate", "calibration due", "version"}};
    std::vector<QStringList> probes{{"probe", "type", "serial", "MHz", "element", "angle",
                                     "measured", "delay us", "calibration due", "version"}};
    std::vector<QStringList> blocks{{"block", "ID", "velocity m/s", "version"}};
    std::vector<QStringList> couplants{{"couplant", "batch", "version"}};
    std::vector<QStringList> checks{
        {"daily check", "instrument", "probe", "block", "angle", "index mm", "result", "by"}};
    for (const inspection::EquipmentItem& item : equipment.items()) {
        const QString version = QString::number(item.version);
        if (const auto* i = std::get_if<inspection::Instrument>(&item.data)) {
            instruments.push_back({i->model, i->serial, i->firmware, i->certificate,
                                   dateOf(i->calibrationDue), version});
        } else if (const auto* p = std::get_if<inspection::Probe>(&item.data)) {
            probes.push_back({p->makerType, p->type ? inspection::probeTypeName(*p->type) : "-",
                              p->serial, number(p->frequencyMhz), p->elementSize,
                              number(p->angleDeg), number(p->measuredAngleDeg), number(p->delayUs),
                              dateOf(p->calibrationDue), version});
        } else if (const auto* b = std::get_if<inspection::ReferenceBlock>(&item.data)) {
            blocks.push_back({b->designation, b->id, number(b->velocityMs), version});
        } else if (const auto* c = std::get_if<inspection::Couplant>(&item.data)) {
            couplants.push_back({c->name, c->batch, version});
        } else if (const auto* d = std::get_if<inspection::DailyCheck>(&item.data)) {
            checks.push_back({d->date.toString(Qt::ISODate), d->instrument, d->probe, d->block,
                              number(d->measuredAngleDeg), number(d->indexPointMm),
                              d->passed ? QStringLiteral("pass") : QStringLiteral("fail"), d->by});
        }
    }
    QString text;
    for (const auto* table : {&instruments, &probes, &blocks, &couplants, &checks}) {
        if (table->size() > 1) {
            text += alignedTable(*table) + QLatin1Char('\n');
        }
    }
    return text.isEmpty() ? QStringLiteral("The equipment register is empty.\n") : text;
}

void runList(const CommandLine& line) {
    auto store = openJobStore(line);
    const inspection::EquipmentRegister equipment = registerOf(*store);
    writeStandardOutput(line.isSet(QStringLiteral("json"))
                            ? inspection::itemsDocument(equipment.items())
                            : registerText(equipment).toUtf8());
}

void runCheck(const CommandLine& line) {
    auto store = openJobStore(line);
    const inspection::EquipmentRegister equipment = registerOf(*store);
    std::optional<QDate> date;
    if (line.isSet(QStringLiteral("date"))) {
        date = QDate::fromString(line.value(QStringLiteral("date")), Qt::ISODate);
        if (!date->isValid()) {
            failUsage(QStringLiteral("--date takes a day such as 2026-12-08, not '%1'.")
                          .arg(line.value(QStringLiteral("date"))));
        }
    }
    QStringList warnings;
    if (line.isSet(QStringLiteral("job"))) {
        QString error;
        const auto job = store->job(line.value(QStringLiteral("job")), &error);
        if (!job) {
            failInput(error + QLatin1Char('.'));
        }
        const std::vector<QDate> days =
            date ? std::vector<QDate>{*date}
                 : inspection::daysOfUse(job->dateFrom, job->dateTo, QDate::currentDate());
        warnings = inspection::equipmentWarnings(equipment, inspection::equipmentUse(*job), days);
    } else {
        // Every instrument and probe of the register on the day.
        const QDate day = date.value_or(QDate::currentDate());
        for (const inspection::EquipmentItem& item : equipment.items()) {
            inspection::EquipmentUse use;
            if (const auto* i = std::get_if<inspection::Instrument>(&item.data)) {
                use.instrumentSerial = i->serial;
            } else if (const auto* p = std::get_if<inspection::Probe>(&item.data)) {
                use.probeSerial = p->serial;
            } else {
                continue;
            }
            warnings << inspection::equipmentWarnings(equipment, use, {day});
        }
    }
    QString text;
    for (const QString& warning : warnings) {
        text += QStringLiteral("warning: %1\n").arg(warning);
    }
    writeStandardOutput(
        (text.isEmpty() ? QStringLiteral("Nothing is due and every check passed.\n") : text)
            .toUtf8());
}

}  // namespace

const Command& equipmentAddCommand() {
    static const Command command{
        {QStringLiteral("equipment add"),
         QStringLiteral("--from ITEM.json [--archive PATH] [--by NAME]"),
         QStringLiteral("an instrument, probe, block, couplant or daily check into the register"),
         QStringLiteral(
             "Keeps the entry of ITEM.json ({\"kind\": \"probe\", ...}, or {\"items\": [...]}\n"
             "as 'equipment list' writes it) as the next version of its serial number,\n"
             "block ID or couplant name; a daily check is kept as a new entry. docs/cli.md\n"
             "lists the keys of each kind."),
         {{{QStringLiteral("from")}, QStringLiteral("ITEM.json"), QStringLiteral("the entry")},
          jobArchiveOption(),
          byOption()},
         0},
        runAdd};
    return command;
}

const Command& equipmentListCommand() {
    static const Command command{
        {QStringLiteral("equipment list"),
         QStringLiteral("[--json] [--archive PATH]"),
         QStringLiteral("the register: each entry's newest version"),
         QStringLiteral("Lists the instruments, probes, blocks, couplants and daily checks, each\n"
                        "entry's newest version. --json writes {\"items\": [...]}, which\n"
                        "'equipment add' reads back."),
         {{{QStringLiteral("json")}, {}, QStringLiteral("structured output")}, jobArchiveOption()},
         0},
        runList};
    return command;
}

const Command& equipmentCheckCommand() {
    static const Command command{
        {QStringLiteral("equipment check"),
         QStringLiteral("[--date YYYY-MM-DD] [--job ID] [--archive PATH]"),
         QStringLiteral("what is past its calibration date or lacks a passed daily check"),
         QStringLiteral("Names every instrument and probe past its calibration due date on the\n"
                        "day (default today) and every instrument without a passed daily check\n"
                        "that day; with --job, the equipment the job names on the job's days."),
         {{{QStringLiteral("date")}, QStringLiteral("YYYY-MM-DD"), QStringLiteral("the day")},
          {{QStringLiteral("job")}, QStringLiteral("ID"), QStringLiteral("a job's equipment")},
          jobArchiveOption()},
         0},
        runCheck};
    return command;
}

}  // namespace trellicap::cli
