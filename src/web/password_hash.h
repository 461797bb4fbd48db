// Passwords kept as one-way hashes: argon2id for the hashes this program writes (the
// parameters travel inside the hash), and bcrypt ($2b$, $2y$, $2a$, through the system's
// crypt) for hashes an office made with other tools, such as htpasswd -B.
#pragma once

#include <QByteArray>
#include <QString>

namespace trellicap::web {

// "$argon2id$v=19$m=19456,t=2,p=1$<salt>$<hash>" with a fresh random salt; empty when the
// library refuses (it never should).
[[nodiscard]] QByteArray hashPassword(const QString& password);

// True when the password gives the hash; false for any other password and for a hash of a
// kind this program does not know.
[[nodiscard]] bool verifyPassword(const QString& password, const QByteArray& hash);

// Whether a text is a hash verifyPassword knows (for reading a users file).
[[nodiscard]] bool isKnownHash(const QByteArray& hash);

}  // namespace trellicap::web
