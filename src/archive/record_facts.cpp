#include "archive/record_facts.h"

#include <QStringList>

#include "profiles/panel_walk.h"
#include "record/iso_time_date.h"
#include "record/profile_text.h"
#include "record/text_codes.h"

namespace trellicap::archive {

namespace {

constexpr std::size_t kTimeDateCodes = 10;

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
    // The settings kept as columns are the boxes the profile names for what they mean.
    const std::pair<std::string_view, QString RecordFacts::*> settings[] = {
        {profile.roles.range, &RecordFacts::range},
        {profile.roles.delay, &RecordFacts::delay},
        {profile.roles.gain, &RecordFacts::gain},
        {profile.roles.gate1.mode, &RecordFacts::gate1},
        {profile.roles.gate2.mode, &RecordFacts::gate2},
    };
    walkPanel(profile, [&](const PanelStep& step, int at) {
        if (step.timeDate && static_cast<std::size_t>(at) + kTimeDateCodes <= record.size()) {
            facts.timeDate =
                isoTimeDate(record.subspan(static_cast<std::size_t>(at), kTimeDateCodes));
        }
        for (const auto& [control, member] : settings) {
            if (step.control == control) {
                facts.*member = shownText(record, at, step.shown);
            }
        }
    });
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
    return parts.join(kSearchTextSeparator).toLower();
}

}  // namespace trellicap::archive
