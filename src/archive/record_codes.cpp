#include "archive/record_codes.h"

#ifdef TRELLICAP_HAVE_ZLIB
#include <zlib.h>
#endif

#include <QString>

#include "archive/sha256.h"

namespace trellicap::archive {

namespace {

constexpr qsizetype kContentHashBytes = 16;
// zlib's quick matching: a record of some 1.4 KB deflates to within a few bytes (under 1 %)
// of zlib's default, in two thirds of its time; every capture's commit pays it.
constexpr int kDeflateLevel = 2;
#ifdef TRELLICAP_HAVE_ZLIB
// A record is some 1.4 KB: a 2 KB window sees all of it, and the stream's state is a few
// kilobytes instead of zlib's 270 KB default, made once per thread and reset per record.
constexpr int kWindowBits = 11;
constexpr int kMemLevel = 4;

// The deflater of this thread, kept between records.
class Deflater {
public:
    Deflater() {
        m_ready = deflateInit2(&m_stream, kDeflateLevel, Z_DEFLATED, kWindowBits, kMemLevel,
                               Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Deflater() {
        if (m_ready) {
            deflateEnd(&m_stream);
        }
    }
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // As qCompress writes it (the length, big-endian, then the zlib stream), so that
    // qUncompress reads it; empty when zlib refused.
    QByteArray deflate(const QByteArray& input) {
        if (!m_ready || deflateReset(&m_stream) != Z_OK) {
            return {};
        }
        const auto bound =
            static_cast<qsizetype>(deflateBound(&m_stream, static_cast<uLong>(input.size())));
        QByteArray out(4 + bound, Qt::Uninitialized);
        const auto length = static_cast<quint32>(input.size());
        out[0] = static_cast<char>(length >> 24);
        out[1] = static_cast<char>(length >> 16);
        out[2] = static_cast<char>(length >> 8);
        out[3] = static_cast<char>(length);
        m_stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.constData()));
        m_stream.avail_in = static_cast<uInt>(input.size());
        m_stream.next_out = reinterpret_cast<Bytef*>(out.data() + 4);
        m_stream.avail_out = static_cast<uInt>(bound);
        if (::deflate(&m_stream, Z_FINISH) != Z_STREAM_END) {
            return {};
        }
        out.resize(4 + static_cast<qsizetype>(m_stream.total_out));
        return out;
    }

private:
    z_stream m_stream{};
    bool m_ready = false;
};
#else
// Without zlib's own headers: Qt's, which makes a fresh stream for every record.
class Deflater {
public:
    QByteArray deflate(const QByteArray& input) { return qCompress(input, kDeflateLevel); }
};
#endif
// No record holds more values than this (the largest profile's 701, with room).
constexpr qsizetype kMostEncodedBytes = 64 * 1024;

// Low bytes of every value, then high bytes: the zeros of the high bytes lie together.
QByteArray toPlanes(const QByteArray& encoded) {
    const qsizetype values = encoded.size() / 2;
    QByteArray planes(encoded.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < values; ++i) {
        planes[i] = encoded[2 * i];
        planes[values + i] = encoded[2 * i + 1];
    }
    return planes;
}

QByteArray fromPlanes(const QByteArray& planes) {
    const qsizetype values = planes.size() / 2;
    QByteArray encoded(planes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < values; ++i) {
        encoded[2 * i] = planes[i];
        encoded[2 * i + 1] = planes[values + i];
    }
    return encoded;
}

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
    // "model:slot:" and the values, hashed in one piece.
    QByteArray message;
    message.reserve(static_cast<qsizetype>(model.size()) + 16 + encoded.size());
    message.append(QByteArrayView(model.data(), static_cast<qsizetype>(model.size())));
    message.append(':').append(QByteArray::number(slot)).append(':').append(encoded);
    // 128 of the 256 bits: far beyond any archive's count of records, and 64 bytes less per
    // kept version in the table and its index.
    return QString::fromLatin1(sha256(message).left(kContentHashBytes).toHex());
}

PackedValues packValues(const QByteArray& encoded) {
    if (encoded.size() % 2 != 0) {
        return {encoded, Packing::Plain};
    }
    thread_local Deflater deflater;
    QByteArray deflated = deflater.deflate(toPlanes(encoded));
    if (deflated.isEmpty() || deflated.size() >= encoded.size()) {
        return {encoded, Packing::Plain};
    }
    return {std::move(deflated), Packing::Deflated};
}

std::optional<QByteArray> unpackValues(const QByteArray& stored, int packing) {
    switch (static_cast<Packing>(packing)) {
        case Packing::Plain:
            return stored;
        case Packing::Deflated: {
            // qCompress writes the length first (big-endian): refuse a damaged one before
            // zlib would allocate it.
            if (stored.size() < 4) {
                return std::nullopt;
            }
            const auto* head = reinterpret_cast<const unsigned char*>(stored.constData());
            const qsizetype length = (qsizetype{head[0]} << 24) | (qsizetype{head[1]} << 16) |
                                     (qsizetype{head[2]} << 8) | qsizetype{head[3]};
            if (length == 0 || length > kMostEncodedBytes || length % 2 != 0) {
                return std::nullopt;
            }
            const QByteArray planes = qUncompress(stored);
            if (planes.size() != length) {
                return std::nullopt;
            }
            return fromPlanes(planes);
        }
    }
    return std::nullopt;
}

}  // namespace trellicap::archive
