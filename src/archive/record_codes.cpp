#include "archive/record_codes.h"

#include <QCryptographicHash>
#include <QString>

namespace trellicap::archive {

namespace {

constexpr qsizetype kContentHashBytes = 16;

}  // namespace

QByteArray encodeRecord(std::span<const RecordValue> values) {
    QByteArray bytes(static_cast<qsizetype>(values.size() * 2), Qt::Uninitialized);
    char* out = bytes.data();
    for (RecordValue value : values) {
        const auto bits = static_cast<std::uint16_t>(value);
        *out++ = static_cast<char>(bits & 0xFF);
        *out++ = static_cast<char>(bits >> 8);
    }
    return bytes;
}

std::optional<std::vector<RecordValue>> decodeRecord(const QByteArray& bytes, int count) {
    if (count < 0 || bytes.size() != static_cast<qsizetype>(count) * 2) {
        return std::nullopt;
    }
    std::vector<RecordValue> values(static_cast<std::size_t>(count));
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (auto& value : values) {
        const auto bits = static_cast<std::uint16_t>(in[0] | (in[1] << 8));
        value = static_cast<RecordValue>(bits);
        in += 2;
    }
    return values;
}

QString contentHash(std::string_view model, int slot, const QByteArray& encoded) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(model.data(), static_cast<qsizetype>(model.size())));
    hash.addData(QByteArray::number(slot).prepend(':').append(':'));
    hash.addData(encoded);
    // 128 of the 256 bits: far beyond any archive's count of records, and 64 bytes less per
    // kept version in the table and its index.
    return QString::fromLatin1(hash.result().left(kContentHashBytes).toHex());
}

}  // namespace trellicap::archive
