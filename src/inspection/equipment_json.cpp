#include "inspection/equipment_json.h"

#include <QJsonDocument>

namespace trellicap::inspection {

namespace {

void require(JsonFields& fields, const char* key, const QString& value) {
    if (value.isEmpty()) {
        fields.error(key, QStringLiteral("is needed"));
    }
}

DailyCheck readCheck(JsonFields& fields) {
    DailyCheck check;
    check.id = fields.text("id");
    const auto date = fields.date("date");
    if (!date && !fields.has("date")) {
        fields.error("date", QStringLiteral("is needed"));
    }
    check.date = date.value_or(QDate());
    check.instrument = fields.text("instrument");
    require(fields, "instrument", check.instrument);
    check.probe = fields.text("probe");
    check.block = fields.text("block");
    check.measuredAngleDeg = fields.number("measured_angle_deg");
    check.indexPointMm = fields.number("index_point_mm");
    const QString result = fields.text("result");
    if (result == QLatin1String("pass") || result == QLatin1String("fail")) {
        check.passed = result == QLatin1String("pass");
    } else {
        fields.error("result", QStringLiteral("\"pass\" or \"fail\" is expected"));
    }
    check.by = fields.text("by");
    return check;
}

std::optional<ItemData> readItem(JsonFields& fields) {
    const QString kindText = fields.text("kind");
    const auto kind = kindFromName(kindText);
    // Written by `equipment list --json`; the register sets them anew.
    fields.skip("version");
    fields.skip("changed_by");
    fields.skip("changed_at");
    if (!kind) {
        fields.error("kind", QStringLiteral("one of instrument, probe, block, couplant, "
                                            "daily_check is expected"));
        return std::nullopt;
    }
    switch (*kind) {
        case ItemKind::Instrument: {
            Instrument instrument = readInstrument(fields);
            require(fields, "serial", instrument.serial);
            return instrument;
        }
        case ItemKind::Probe: {
            Probe probe = readProbe(fields);
            require(fields, "serial", probe.serial);
            if (!probe.type) {
                fields.error("type", QStringLiteral("is needed (straight, angle or dual)"));
            }
            return probe;
        }
        case ItemKind::Block: {
            ReferenceBlock block = readBlock(fields);
            require(fields, "id", block.id);
            return block;
        }
        case ItemKind::Couplant: {
            Couplant couplant{fields.text("name"), fields.text("batch")};
            require(fields, "name", couplant.name);
            return couplant;
        }
        case ItemKind::DailyCheck:
            return readCheck(fields);
    }
    return std::nullopt;
}

QJsonObject dataJson(const ItemData& data) {
    QJsonObject out;
    out.insert(QStringLiteral("kind"), kindName(kindOf(data)));
    if (const auto* instrument = std::get_if<Instrument>(&data)) {
        writeInstrument(out, *instrument);
    } else if (const auto* probe = std::get_if<Probe>(&data)) {
        writeProbe(out, *probe);
    } else if (const auto* block = std::get_if<ReferenceBlock>(&data)) {
        writeBlock(out, *block);
    } else if (const auto* couplant = std::get_if<Couplant>(&data)) {
        putText(out, "name", couplant->name);
        putText(out, "batch", couplant->batch);
    } else if (const auto* check = std::get_if<DailyCheck>(&data)) {
        putText(out, "id", check->id);
        putDate(out, "date", check->date);
        putText(out, "instrument", check->instrument);
        putText(out, "probe", check->probe);
        putText(out, "block", check->block);
        putNumber(out, "measured_angle_deg", check->measuredAngleDeg);
        putNumber(out, "index_point_mm", check->indexPointMm);
        out.insert(QStringLiteral("result"),
                   check->passed ? QStringLiteral("pass") : QStringLiteral("fail"));
        putText(out, "by", check->by);
    }
    return out;
}

}  // namespace

void putText(QJsonObject& out, const char* key, const QString& text) {
    if (!text.isEmpty()) {
        out.insert(QLatin1String(key), text);
    }
}

void putNumber(QJsonObject& out, const char* key, const std::optional<double>& value) {
    if (value) {
        out.insert(QLatin1String(key), *value);
    }
}

void putDate(QJsonObject& out, const char* key, const std::optional<QDate>& date) {
    if (date && date->isValid()) {
        out.insert(QLatin1String(key), dateText(*date));
    }
}

Instrument readInstrument(JsonFields& fields) {
    Instrument instrument;
    instrument.model = fields.text("model");
    instrument.serial = fields.text("serial");
    instrument.firmware = fields.text("firmware");
    instrument.certificate = fields.text("certificate");
    instrument.calibrationDue = fields.date("calibration_due");
    return instrument;
}

Probe readProbe(JsonFields& fields) {
    Probe probe;
    if (const QString type = fields.text("type"); !type.isEmpty()) {
        probe.type = probeTypeFromName(type);
        if (!probe.type) {
            fields.error("type", QStringLiteral("straight, angle or dual is expected"));
        }
    }
    probe.makerType = fields.text("maker_type");
    probe.serial = fields.text("serial");
    probe.frequencyMhz = fields.number("frequency_mhz");
    probe.elementSize = fields.text("element_size");
    probe.angleDeg = fields.number("angle_deg");
    probe.measuredAngleDeg = fields.number("measured_angle_deg");
    probe.delayUs = fields.number("delay_us");
    probe.calibrationDue = fields.date("calibration_due");
    return probe;
}

ReferenceBlock readBlock(JsonFields& fields) {
    ReferenceBlock block;
    block.designation = fields.text("designation");
    block.id = fields.text("id");
    block.velocityMs = fields.number("velocity_m_s");
    return block;
}

void writeInstrument(QJsonObject& out, const Instrument& instrument) {
    putText(out, "model", instrument.model);
    putText(out, "serial", instrument.serial);
    putText(out, "firmware", instrument.firmware);
    putText(out, "certificate", instrument.certificate);
    putDate(out, "calibration_due", instrument.calibrationDue);
}

void writeProbe(QJsonObject& out, const Probe& probe) {
    if (probe.type) {
        out.insert(QStringLiteral("type"), probeTypeName(*probe.type));
    }
    putText(out, "maker_type", probe.makerType);
    putText(out, "serial", probe.serial);
    putNumber(out, "frequency_mhz", probe.frequencyMhz);
    putText(out, "element_size", probe.elementSize);
    putNumber(out, "angle_deg", probe.angleDeg);
    putNumber(out, "measured_angle_deg", probe.measuredAngleDeg);
    putNumber(out, "delay_us", probe.delayUs);
    putDate(out, "calibration_due", probe.calibrationDue);
}

void writeBlock(QJsonObject& out, const ReferenceBlock& block) {
    putText(out, "designation", block.designation);
    putText(out, "id", block.id);
    putNumber(out, "velocity_m_s", block.velocityMs);
}

ItemsRead readItems(const QByteArray& text) {
    ItemsRead read;
    QString error;
    const auto top = jsonObjectOf(text, &error);
    if (!top) {
        read.errors << error;
        return read;
    }
    auto takeOne = [&read](const QJsonObject& object, const QString& where) {
        JsonFields fields(object, where, read.errors);
        if (auto item = readItem(fields)) {
            read.items.push_back(std::move(*item));
        }
        fields.finish();
    };
    if (top->contains(QStringLiteral("items"))) {
        JsonFields fields(*top, QString(), read.errors);
        const QJsonArray items = fields.array("items");
        fields.finish();
        for (qsizetype i = 0; i < items.size(); ++i) {
            takeOne(items.at(i).toObject(), QStringLiteral("items[%1].").arg(i));
        }
    } else {
        takeOne(*top, QString());
    }
    if (!read.errors.isEmpty()) {
        read.items.clear();
    }
    return read;
}

QJsonObject itemJson(const EquipmentItem& item) {
    QJsonObject out = dataJson(item.data);
    if (item.version > 0) {
        out.insert(QStringLiteral("version"), item.version);
        putText(out, "changed_by", item.by);
        putText(out, "changed_at", item.at);
    }
    return out;
}

QByteArray itemsDocument(const std::vector<EquipmentItem>& items) {
    QJsonArray array;
    for (const EquipmentItem& item : items) {
        array.append(itemJson(item));
    }
    return QJsonDocument(QJsonObject{{QStringLiteral("items"), array}})
        .toJson(QJsonDocument::Indented);
}

}  // namespace trellicap::inspection
