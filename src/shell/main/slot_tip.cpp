#include "shell/main/slot_tip.h"

#include <QStringList>

#include "display/panel_texts.h"
#include "profiles/panel_walk.h"
#include "record/profile_text.h"

namespace trellicap {

namespace {

// The time-and-date line of the record, whatever its CLOCK setting says about showing it.
QString timeAndDate(const ModelProfile& profile, std::span<const RecordValue> record) {
    const auto first = timeDateIndex(profile);
    if (first && *first + 10 <= static_cast<int>(record.size())) {
        return timeDateLine(record.subspan(static_cast<std::size_t>(*first), 10));
    }
    return {};
}

}  // namespace

QString slotTip(const ModelProfile& profile, std::span<const RecordValue> record) {
    const PanelTexts texts = buildPanelTexts(profile, record);
    QStringList lines{timeAndDate(profile, record),
                      QStringLiteral("RANGE %1").arg(texts.text(profile.roles.range).trimmed())};
    // The first header field that holds something: the operator, else the next one.
    for (const HeaderField& field : profile.headerFields) {
        const QString text = texts.text(field.control).trimmed();
        if (!text.isEmpty()) {
            QString label = qs(field.label);
            while (label.endsWith(QLatin1Char('.')) || label.endsWith(QLatin1Char(' '))) {
                label.chop(1);
            }
            lines.append(label + QStringLiteral(": ") + text);
            break;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace trellicap
