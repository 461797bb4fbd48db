#include "report/json_format.h"

#include <QStringList>

#include "record/profile_text.h"

namespace trellicap {

namespace {

QString indent(int level) {
    return QString(level * 2, QLatin1Char(' '));
}

// {"label": "text", ...} over several lines, at the given level.
QString textObject(const std::vector<Field>& fields, const std::vector<QString>& texts, int level) {
    if (fields.empty()) {
        return QStringLiteral("{}");
    }
    QStringList members;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        members.append(indent(level + 1) + jsonString(fields[i].label) + QStringLiteral(": ") +
                       jsonString(texts[i]));
    }
    return QStringLiteral("{\n") + members.join(QStringLiteral(",\n")) + QLatin1Char('\n') +
           indent(level) + QLatin1Char('}');
}

QString samplesArray(const SlotRecord& record) {
    QStringList values;
    for (const RecordValue sample : record.ascan) {
        values.append(QString::number(sample));
    }
    return QLatin1Char('[') + values.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString pointsArray(const SlotRecord& record) {
    QStringList points;
    for (const auto& [x, y] : record.dacPoints) {
        points.append(QStringLiteral("[%1, %2]").arg(x).arg(y));
    }
    return QLatin1Char('[') + points.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString slotObject(const FieldLabels& labels, const SlotRecord& record) {
    constexpr int kLevel = 2;
    const QString in = indent(kLevel + 1);
    QStringList members = {
        in + QStringLiteral("\"slot\": %1").arg(record.slot),
        in + QStringLiteral("\"marked\": ") +
            (record.marked ? QStringLiteral("true") : QStringLiteral("false")),
        in + QStringLiteral("\"settings\": ") +
            textObject(labels.settings, record.settings, kLevel + 1),
        in + QStringLiteral("\"time_date\": ") + jsonString(record.timeDate),
        in + QStringLiteral("\"readouts\": ") +
            textObject(labels.readouts, record.readouts, kLevel + 1),
        in + QStringLiteral("\"header\": ") + textObject(labels.header, record.header, kLevel + 1),
        in + QStringLiteral("\"ascan\": ") + samplesArray(record),
        in + QStringLiteral("\"dac_points\": ") + pointsArray(record),
    };
    const std::array<QString, 4> peaks = gatePeakTexts(record.gatePeaks);
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        members.append(in + jsonString(QLatin1String(kGatePeakColumns[i])) + QStringLiteral(": ") +
                       (peaks[i].isEmpty() ? QStringLiteral("null") : peaks[i]));
    }
    return indent(kLevel) + QStringLiteral("{\n") + members.join(QStringLiteral(",\n")) +
           QLatin1Char('\n') + indent(kLevel) + QLatin1Char('}');
}

}  // namespace

QString jsonString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'"' || u == u'\\') {
            out += QLatin1Char('\\') + c;
        } else if (u < 0x20) {
            out += QStringLiteral("\\u%1").arg(static_cast<int>(u), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out + QLatin1Char('"');
}

QByteArray jsonDocument(const ModelProfile& profile, const FieldLabels& labels,
                        const std::vector<SlotRecord>& records) {
    QStringList objects;
    for (const SlotRecord& record : records) {
        objects.append(slotObject(labels, record));
    }
    const QString list =
        objects.isEmpty()
            ? QStringLiteral("[]")
            : QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) + QStringLiteral("\n  ]");
    const QString key = qs(profile.modelKey);
    return (QStringLiteral("{\n  \"model\": ") + jsonString(key) +
            QStringLiteral(",\n  \"slots\": ") + list + QStringLiteral("\n}\n"))
        .toUtf8();
}

}  // namespace trellicap
