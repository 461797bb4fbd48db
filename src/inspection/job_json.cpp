#include "inspection/job_json.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "inspection/equipment_json.h"
#include "inspection/json_reading.h"
#include "inspection/record_values_text.h"

namespace trellicap::inspection {

namespace {

Person readPerson(JsonFields fields) {
    Person person{fields.text("name"), fields.text("certification")};
    fields.finish();
    return person;
}

QJsonObject personJson(const Person& person) {
    QJsonObject out;
    putText(out, "name", person.name);
    putText(out, "certification", person.certification);
    return out;
}

std::vector<RecordValue> readValues(JsonFields& fields) {
    const QString text = fields.text("values");
    if (text.isEmpty()) {
        return {};
    }
    auto values = valuesFromText(text);
    if (!values) {
        fields.error("values", QStringLiteral("Base64 of the record's 16-bit values is expected"));
        return {};
    }
    return std::move(*values);
}

ReferenceSensitivity readReference(JsonFields fields) {
    ReferenceSensitivity reference;
    const QString method = fields.text("method");
    if (method == QLatin1String("record")) {
        reference.method = ReferenceMethod::Record;
    } else if (!method.isEmpty() && method != QLatin1String("dac")) {
        fields.error("method", QStringLiteral("\"dac\" or \"record\" is expected"));
    }
    reference.reflector = fields.text("reflector");
    reference.gainDb = fields.number("gain_db");
    reference.transferDb = fields.number("transfer_db").value_or(0.0);
    reference.file = fields.text("file");
    reference.slot = fields.integer("slot").value_or(0);
    reference.model = fields.text("model");
    reference.values = readValues(fields);
    fields.finish();
    return reference;
}

EvaluationRule readRule(JsonFields fields) {
    EvaluationRule rule;
    rule.recordingLevelDb = fields.number("recording_level_db");
    rule.acceptanceLevelDb = fields.number("acceptance_level_db");
    rule.lengthLimitMm = fields.number("length_limit_mm");
    rule.acceptanceCriteria = fields.text("acceptance_criteria");
    fields.finish();
    return rule;
}

ResultOverride readOverride(JsonFields fields) {
    ResultOverride out;
    const QString result = fields.text("result");
    const auto parsed = resultFromText(result);
    if (!parsed || *parsed == Result::OutsideDac) {
        fields.error("result", QStringLiteral("one of \"no indication\", \"below recording "
                                              "level\", \"acceptable\", \"reject\" is expected"));
    }
    out.result = parsed.value_or(Result::Reject);
    out.reason = fields.text("reason");
    if (out.reason.trimmed().isEmpty()) {
        fields.error("reason", QStringLiteral("an override needs its reason"));
    }
    out.by = fields.text("by");
    out.at = fields.text("at");
    fields.finish();
    return out;
}

JobItem readJobItem(JsonFields fields) {
    JobItem item;
    item.item = fields.integer("item").value_or(0);
    item.slot = fields.integer("slot").value_or(0);
    const QString source = fields.text("source");
    if (source == QLatin1String("file")) {
        item.origin.kind = OriginKind::File;
    } else if (source == QLatin1String("archive")) {
        item.origin.kind = OriginKind::Archive;
    } else if (!source.isEmpty() && source != QLatin1String("slot")) {
        fields.error("source", QStringLiteral("\"slot\", \"file\" or \"archive\" is expected"));
    }
    item.origin.file = fields.text("file");
    item.origin.archiveUuid = fields.text("archive_uuid");
    item.origin.archiveVersion = fields.integer("archive_version").value_or(0);
    item.values = readValues(fields);
    if (item.values.empty()) {
        fields.error("values", QStringLiteral("is needed: the record itself"));
    }
    item.lengthMm = fields.number("length_mm");
    item.position = fields.text("position");
    if (fields.has("override")) {
        item.resultOverride = readOverride(fields.object("override"));
    } else {
        fields.skip("override");
    }
    fields.finish();
    return item;
}

JobChange readChange(JsonFields fields) {
    JobChange change;
    change.version = fields.integer("version").value_or(0);
    change.by = fields.text("by");
    change.at = fields.text("at");
    change.what = fields.text("what");
    fields.finish();
    return change;
}

template <class T, class Read>
std::vector<T> readList(JsonFields& fields, const char* key, Read read) {
    std::vector<T> out;
    const QJsonArray array = fields.array(key);
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString where =
            fields.where() + QStringLiteral("%1[%2].").arg(QLatin1String(key)).arg(i);
        if (!array.at(i).isObject()) {
            fields.error(key, QStringLiteral("entry %1 is not an object in braces").arg(i));
            continue;
        }
        out.push_back(read(JsonFields(array.at(i).toObject(), where, fields.errors())));
    }
    return out;
}

}  // namespace

QString methodName(ReferenceMethod method) {
    return method == ReferenceMethod::Record ? QStringLiteral("record") : QStringLiteral("dac");
}

QString originName(OriginKind kind) {
    switch (kind) {
        case OriginKind::File:
            return QStringLiteral("file");
        case OriginKind::Archive:
            return QStringLiteral("archive");
        case OriginKind::Slot:
            break;
    }
    return QStringLiteral("slot");
}

JobRead readJob(const QByteArray& text) {
    JobRead read;
    QString error;
    const auto top = jsonObjectOf(text, &error);
    if (!top) {
        read.errors << error;
        return read;
    }
    JsonFields fields(*top, QString(), read.errors);
    Job& job = read.job;
    job.id = fields.text("id");
    job.version = fields.integer("version").value_or(0);
    job.model = fields.text("model");
    job.client = fields.text("client");
    job.order = fields.text("order");
    job.object = fields.text("object");
    job.material = fields.text("material");
    job.thicknessMm = fields.number("thickness_mm");
    job.surface = fields.text("surface");
    job.temperatureC = fields.number("temperature_c");
    job.procedure = fields.text("procedure");
    job.procedureRevision = fields.text("procedure_revision");
    job.standard = fields.text("standard");
    job.testingLevel = fields.text("testing_level");
    job.place = fields.text("place");
    job.organisation = fields.text("organisation");
    job.dateFrom = fields.date("date_from");
    job.dateTo = fields.date("date_to");
    job.inspector = readPerson(fields.object("inspector"));
    job.reviewer = readPerson(fields.object("reviewer"));
    {
        JsonFields instrument = fields.object("instrument");
        job.instrument = readInstrument(instrument);
        instrument.finish();
        JsonFields probe = fields.object("probe");
        job.probe = readProbe(probe);
        probe.finish();
        JsonFields block = fields.object("block");
        job.block = readBlock(block);
        block.finish();
    }
    job.couplant = fields.text("couplant");
    job.reference = readReference(fields.object("reference"));
    job.evaluation = readRule(fields.object("evaluation"));
    job.items = readList<JobItem>(fields, "records", readJobItem);
    job.history = readList<JobChange>(fields, "history", readChange);
    fields.finish();
    return read;
}

QJsonObject jobJson(const Job& job) {
    QJsonObject out;
    putText(out, "id", job.id);
    if (job.version > 0) {
        out.insert(QStringLiteral("version"), job.version);
    }
    putText(out, "model", job.model);
    putText(out, "client", job.client);
    putText(out, "order", job.order);
    putText(out, "object", job.object);
    putText(out, "material", job.material);
    putNumber(out, "thickness_mm", job.thicknessMm);
    putText(out, "surface", job.surface);
    putNumber(out, "temperature_c", job.temperatureC);
    putText(out, "procedure", job.procedure);
    putText(out, "procedure_revision", job.procedureRevision);
    putText(out, "standard", job.standard);
    putText(out, "testing_level", job.testingLevel);
    putText(out, "place", job.place);
    putText(out, "organisation", job.organisation);
    putDate(out, "date_from", job.dateFrom);
    putDate(out, "date_to", job.dateTo);
    out.insert(QStringLiteral("inspector"), personJson(job.inspector));
    out.insert(QStringLiteral("reviewer"), personJson(job.reviewer));
    QJsonObject instrument;
    writeInstrument(instrument, job.instrument);
    out.insert(QStringLiteral("instrument"), instrument);
    QJsonObject probe;
    writeProbe(probe, job.probe);
    out.insert(QStringLiteral("probe"), probe);
    QJsonObject block;
    writeBlock(block, job.block);
    out.insert(QStringLiteral("block"), block);
    putText(out, "couplant", job.couplant);

    QJsonObject reference;
    reference.insert(QStringLiteral("method"), methodName(job.reference.method));
    putText(reference, "reflector", job.reference.reflector);
    putNumber(reference, "gain_db", job.reference.gainDb);
    reference.insert(QStringLiteral("transfer_db"), job.reference.transferDb);
    putText(reference, "file", job.reference.file);
    if (job.reference.slot > 0) {
        reference.insert(QStringLiteral("slot"), job.reference.slot);
    }
    putText(reference, "model", job.reference.model);
    if (!job.reference.values.empty()) {
        reference.insert(QStringLiteral("values"), valuesText(job.reference.values));
    }
    out.insert(QStringLiteral("reference"), reference);

    QJsonObject rule;
    putNumber(rule, "recording_level_db", job.evaluation.recordingLevelDb);
    putNumber(rule, "acceptance_level_db", job.evaluation.acceptanceLevelDb);
    putNumber(rule, "length_limit_mm", job.evaluation.lengthLimitMm);
    putText(rule, "acceptance_criteria", job.evaluation.acceptanceCriteria);
    out.insert(QStringLiteral("evaluation"), rule);

    QJsonArray records;
    for (const JobItem& item : job.items) {
        QJsonObject entry;
        entry.insert(QStringLiteral("item"), item.item);
        entry.insert(QStringLiteral("slot"), item.slot);
        entry.insert(QStringLiteral("source"), originName(item.origin.kind));
        putText(entry, "file", item.origin.file);
        putText(entry, "archive_uuid", item.origin.archiveUuid);
        if (item.origin.archiveVersion > 0) {
            entry.insert(QStringLiteral("archive_version"), item.origin.archiveVersion);
        }
        putNumber(entry, "length_mm", item.lengthMm);
        putText(entry, "position", item.position);
        if (item.resultOverride) {
            QJsonObject change;
            change.insert(QStringLiteral("result"), resultText(item.resultOverride->result));
            putText(change, "reason", item.resultOverride->reason);
            putText(change, "by", item.resultOverride->by);
            putText(change, "at", item.resultOverride->at);
            entry.insert(QStringLiteral("override"), change);
        }
        entry.insert(QStringLiteral("values"), valuesText(item.values));
        records.append(entry);
    }
    out.insert(QStringLiteral("records"), records);

    QJsonArray history;
    for (const JobChange& change : job.history) {
        history.append(QJsonObject{{QStringLiteral("version"), change.version},
                                   {QStringLiteral("by"), change.by},
                                   {QStringLiteral("at"), change.at},
                                   {QStringLiteral("what"), change.what}});
    }
    out.insert(QStringLiteral("history"), history);
    return out;
}

QByteArray jobDocument(const Job& job) {
    return QJsonDocument(jobJson(job)).toJson(QJsonDocument::Indented);
}

}  // namespace trellicap::inspection
