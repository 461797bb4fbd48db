// The users file of --users: one "name:hash" line per person who may log in (argon2id or
// bcrypt hashes, see password_hash.h); blank lines and lines starting with '#' are ignored.
// `trellicap-web --add-user NAME --users FILE` adds a line or replaces that user's line;
// the file is written whole (a crash never leaves half of it) and readable by its owner only.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace trellicap::web {

struct UserEntry {
    QString name;
    QByteArray hash;
};

struct UsersRead {
    std::vector<UserEntry> users;
    QString error;  // the file and line that cannot be used, or why the file cannot be read
};

// Letters, digits, '.', '_', '-' and '@', 1 to 64 of them.
[[nodiscard]] bool isValidUserName(const QString& name);

[[nodiscard]] UsersRead readUsersFile(const QString& path);

// Adds (or replaces) the user's line; the reason when the file cannot be written. A file
// that does not exist yet is made.
[[nodiscard]] QString writeUser(const QString& path, const QString& name, const QByteArray& hash);

[[nodiscard]] std::optional<QByteArray> hashOf(const std::vector<UserEntry>& users,
                                               const QString& name);

}  // namespace trellicap::web
