#include "archive/record_facts.h"

#include <QStringList>
#include <optional>

#include "record/iso_time_date.h"
#include "record/text_codes.h"

namespace trellicap::archive {

namespace {

constexpr std::size_t kTimeDateCodes = 10;

// The settings kept as columns, by the objectName of the box that shows each.
struct SettingColumn {
    std::string_view control;
    QString RecordFacts::*member;
};
const SettingColumn kSettingColumns[] = {
    {"txtrange", &RecordFacts::range}, {"txtdelay", &RecordFacts::delay},
    {"txtgain", &RecordFacts::gain},   {"txtgate", &RecordFacts::gate1},
    {"txtgate2", &RecordFacts::gate2},
};

QString latin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString shownText(std::span<const RecordValue> record, int first, int count) {
    const auto begin = static_cast<std::size_t>(first);
    if (first < 0 || begin + static_cast<std::size_t>(count) > record.size()) {
        return {};
    }
    return cutAtNul(codesToText(record.subspan(begin, static_cast<std::size_t>(count)))).trimmed();
}

}  // namespace

RecordFacts recordFacts(const ModelProfile& profile, std::span<const RecordValue> record) {
    RecordFacts facts;
    // The settings lie in the order of the panel's walk from index 260.
    int at = kSettingsStart;
    for (const PanelStep& step : profile.panelSteps) {
        if (step.timeDate && static_cast<std::size_t>(at) + kTimeDateCodes <= record.size()) {
            facts.timeDate =
                isoTimeDate(record.subspan(static_cast<std::size_t>(at), kTimeDateCodes));
        }
        for (const SettingColumn& column : kSettingColumns) {
            if (step.control == column.control) {
                facts.*column.member = shownText(record, at, step.shown);
            }
        }
        at += step.advance;
    }
    for (const HeaderField& field : profile.headerFields) {
        facts.header.emplace_back(latin1(field.control),
                                  shownText(record, field.firstRow, field.runLength));
    }
    return facts;
}

QString searchText(const RecordFacts& facts, const QStringList& fileNames) {
    QStringList parts;
    for (const auto& [name, text] : facts.header) {
        if (!text.isEmpty()) {
            parts.append(text);
        }
    }
    parts.append(fileNames);
    // A separator no typed text holds, so a search never matches across two fields.
    return parts.join(QChar(0x1F)).toLower();
}

}  // namespace trellicap::archive
