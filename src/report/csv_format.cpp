#include "report/csv_format.h"

#include <QStringList>

namespace trellicap {

namespace {

const QString kRowEnd = QStringLiteral("\r\n");

// A setting's number as its shortest decimal; a computed one to its tenth.
QString plainNumber(const std::optional<double>& value) {
    return value ? QString::number(*value + 0.0, 'g', 15) : QString();
}
QString tenths(const std::optional<double>& value) {
    return value ? QString::number(*value, 'f', 1) : QString();
}

void appendNumbers(QStringList& row, const SlotRecord& record) {
    const RecordNumbers& n = record.numbers;
    row << plainNumber(n.gainDb) << plainNumber(n.rangeMm) << plainNumber(n.delayMm);
    for (const RecordNumbers::Gate& gate : n.gates) {
        row << plainNumber(gate.startPct) << plainNumber(gate.widthPct)
            << plainNumber(gate.levelPct);
    }
    const inspection::Evaluation& e = record.evaluation;
    row << plainNumber(e.angleDeg) << tenths(e.depthMm) << tenths(e.surfaceMm) << tenths(e.levelDb)
        << tenths(e.dacPct) << (e.result ? inspection::resultText(*e.result) : QString());
}

void appendLabels(QStringList& row, const std::vector<Field>& fields) {
    for (const Field& field : fields) {
        row.append(csvField(field.label));
    }
}

void appendTexts(QStringList& row, const std::vector<QString>& texts) {
    for (const QString& text : texts) {
        row.append(csvField(text));
    }
}

QString headingRow(const FieldLabels& labels, bool samples) {
    QStringList row{QStringLiteral("slot")};
    appendLabels(row, labels.settings);
    row.append(QStringLiteral("time_date"));
    appendLabels(row, labels.readouts);
    appendLabels(row, labels.header);
    for (int i = 0; samples && i < kSamplesStored; ++i) {
        row.append(QStringLiteral("s%1").arg(i));
    }
    for (const char* column : kGatePeakColumns) {
        row.append(QLatin1String(column));
    }
    for (const char* column : kNumberColumns) {
        row.append(QLatin1String(column));
    }
    return row.join(QLatin1Char(',')) + kRowEnd;
}

QString recordRow(const SlotRecord& record, bool samples) {
    QStringList row{QString::number(record.slot)};
    appendTexts(row, record.settings);
    row.append(csvField(record.timeDate));
    appendTexts(row, record.readouts);
    appendTexts(row, record.header);
    for (int i = 0; samples && i < kSamplesStored; ++i) {
        row.append(QString::number(record.ascan[static_cast<std::size_t>(i)]));
    }
    for (const QString& text : gatePeakTexts(record.gatePeaks)) {
        row.append(text);
    }
    appendNumbers(row, record);
    return row.join(QLatin1Char(',')) + kRowEnd;
}

}  // namespace

QString csvField(const QString& text) {
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                        text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quoted) {
        return text;
    }
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QByteArray csvDocument(const FieldLabels& labels, const std::vector<SlotRecord>& records,
                       bool samples) {
    QString document = headingRow(labels, samples);
    for (const SlotRecord& record : records) {
        document += recordRow(record, samples);
    }
    return document.toUtf8();
}

}  // namespace trellicap
