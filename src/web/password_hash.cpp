#include "web/password_hash.h"

#include <argon2.h>
#include <crypt.h>

#include <QRandomGenerator>
#include <array>
#include <memory>

namespace trellicap::web {

namespace {

// OWASP's argon2id setting: 19 MiB, two passes, one lane. A login costs a few tens of
// milliseconds, a guess as much.
constexpr uint32_t kTimeCost = 2;
constexpr uint32_t kMemoryKiB = 19456;
constexpr uint32_t kLanes = 1;
constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;

bool isArgon2id(const QByteArray& hash) {
    return hash.startsWith("$argon2id$");
}

bool isBcrypt(const QByteArray& hash) {
    return (hash.startsWith("$2b$") || hash.startsWith("$2y$") || hash.startsWith("$2a$")) &&
           hash.size() == 60;
}

// Equal without telling, through its time, where two texts first differ.
bool sameBytes(const char* a, const QByteArray& b) {
    const std::size_t length = std::char_traits<char>::length(a);
    if (length != static_cast<std::size_t>(b.size())) {
        return false;
    }
    unsigned char difference = 0;
    for (std::size_t i = 0; i < length; ++i) {
        difference |= static_cast<unsigned char>(a[i] ^ b[static_cast<qsizetype>(i)]);
    }
    return difference == 0;
}

}  // namespace

QByteArray hashPassword(const QString& password) {
    const QByteArray secret = password.toUtf8();
    std::array<quint32, kSaltBytes / 4> salt{};
    QRandomGenerator::system()->fillRange(salt.data(), salt.size());
    const std::size_t length =
        argon2_encodedlen(kTimeCost, kMemoryKiB, kLanes, kSaltBytes, kHashBytes, Argon2_id);
    QByteArray encoded(static_cast<qsizetype>(length), '\0');
    if (argon2id_hash_encoded(kTimeCost, kMemoryKiB, kLanes, secret.constData(),
                              static_cast<std::size_t>(secret.size()), salt.data(), kSaltBytes,
                              kHashBytes, encoded.data(), length) != ARGON2_OK) {
        return {};
    }
    encoded.truncate(static_cast<qsizetype>(qstrlen(encoded.constData())));
    return encoded;
}

bool verifyPassword(const QString& password, const QByteArray& hash) {
    const QByteArray secret = password.toUtf8();
    if (isArgon2id(hash)) {
        return argon2id_verify(hash.constData(), secret.constData(),
                               static_cast<std::size_t>(secret.size())) == ARGON2_OK;
    }
    if (isBcrypt(hash)) {
        // A code 0 inside the password would cut it short for crypt: such a password is no
        // password of a bcrypt hash.
        if (secret.contains('\0')) {
            return false;
        }
        auto data = std::make_unique<crypt_data>();
        const char* result = crypt_r(secret.constData(), hash.constData(), data.get());
        return result != nullptr && result[0] != '*' && sameBytes(result, hash);
    }
    return false;
}

bool isKnownHash(const QByteArray& hash) {
    return isArgon2id(hash) || isBcrypt(hash);
}

}  // namespace trellicap::web
