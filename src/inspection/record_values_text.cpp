#include "inspection/record_values_text.h"

#include <QByteArray>

namespace trellicap::inspection {

QString valuesText(std::span<const RecordValue> values) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(values.size() * 2));
    for (const RecordValue value : values) {
        const auto bits = static_cast<std::uint16_t>(value);
        bytes.append(static_cast<char>(bits & 0xff));
        bytes.append(static_cast<char>(bits >> 8));
    }
    return QString::fromLatin1(bytes.toBase64());
}

std::optional<std::vector<RecordValue>> valuesFromText(const QString& text) {
    const auto decoded =
        QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() % 2 != 0) {
        return std::nullopt;
    }
    const QByteArray& bytes = decoded.decoded;
    std::vector<RecordValue> values(static_cast<std::size_t>(bytes.size() / 2));
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto low = static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(2 * i)]);
        const auto high = static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(2 * i + 1)]);
        values[i] = static_cast<RecordValue>(static_cast<std::uint16_t>(low | (high << 8)));
    }
    return values;
}

}  // namespace trellicap::inspection
