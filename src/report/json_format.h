// Slot records as JSON (docs/trellicap-cli.schema.json): the model, then per slot the same
// content as a CSV row, structured. Written by hand rather than through QJsonObject, which
// sorts keys: the settings keep the panel's order, and every key its documented place.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "profiles/model_profile.h"
#include "report/slot_record.h"

namespace trellicap {

// A JSON string literal: quotes, backslashes and control codes escaped, the rest as it is.
[[nodiscard]] QString jsonString(const QString& text);

// Two-space indentation; the samples and the DAC points each on one line.
[[nodiscard]] QByteArray jsonDocument(const ModelProfile& profile, const FieldLabels& labels,
                                      const std::vector<SlotRecord>& records);

}  // namespace trellicap
