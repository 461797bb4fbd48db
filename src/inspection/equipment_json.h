// ITEM.json: one register entry, its kind first ({"kind": "probe", "serial": ...}), or
// {"items": [...]} for several (what `equipment list --json` writes). The instrument, probe
// and block objects are also the equipment objects of JOB.json.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <vector>

#include "inspection/equipment.h"
#include "inspection/json_reading.h"

namespace trellicap::inspection {

// The entries of an ITEM.json; the errors, one per line, when it cannot be taken whole.
struct ItemsRead {
    std::vector<ItemData> items;
    QStringList errors;
};
[[nodiscard]] ItemsRead readItems(const QByteArray& text);

// One entry with its version, who and when; and the register as {"items": [...]}.
[[nodiscard]] QJsonObject itemJson(const EquipmentItem& item);
[[nodiscard]] QByteArray itemsDocument(const std::vector<EquipmentItem>& items);

// The equipment objects alone (without "kind"), as JOB.json holds them.
[[nodiscard]] Instrument readInstrument(JsonFields& fields);
[[nodiscard]] Probe readProbe(JsonFields& fields);
[[nodiscard]] ReferenceBlock readBlock(JsonFields& fields);
void writeInstrument(QJsonObject& out, const Instrument& instrument);
void writeProbe(QJsonObject& out, const Probe& probe);
void writeBlock(QJsonObject& out, const ReferenceBlock& block);

// Writers' helpers: a key only where there is something to say.
void putText(QJsonObject& out, const char* key, const QString& text);
void putNumber(QJsonObject& out, const char* key, const std::optional<double>& value);
void putDate(QJsonObject& out, const char* key, const std::optional<QDate>& date);

}  // namespace trellicap::inspection
