#include "web/users_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include "web/password_hash.h"

namespace trellicap::web {

bool isValidUserName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9._@-]{1,64}$"));
    return pattern.match(name).hasMatch();
}

UsersRead readUsersFile(const QString& path) {
    UsersRead read;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        read.error = QStringLiteral("the users file \"%1\" cannot be read: %2")
                         .arg(path, file.errorString());
        return read;
    }
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        const QString name = QString::fromUtf8(line.left(colon));
        const QByteArray hash = colon < 0 ? QByteArray() : line.mid(colon + 1);
        if (colon < 0 || !isValidUserName(name) || !isKnownHash(hash)) {
            read.users.clear();
            read.error = QStringLiteral(
                             "the users file \"%1\", line %2, is not \"name:hash\" "
                             "with an argon2id or bcrypt hash")
                             .arg(path)
                             .arg(number);
            return read;
        }
        if (hashOf(read.users, name)) {
            read.users.clear();
            read.error = QStringLiteral("the users file \"%1\" names %2 twice").arg(path, name);
            return read;
        }
        read.users.push_back({name, hash});
    }
    if (read.users.empty()) {
        read.error = QStringLiteral(
                         "the users file \"%1\" names no user; add one with "
                         "trellicap-web --add-user NAME --users %1")
                         .arg(path);
    }
    return read;
}

QString writeUser(const QString& path, const QString& name, const QByteArray& hash) {
    QByteArray lines;
    bool replaced = false;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            return QStringLiteral("\"%1\" cannot be read: %2").arg(path, existing.errorString());
        }
        while (!existing.atEnd()) {
            const QByteArray line = existing.readLine();
            const QByteArray trimmed = line.trimmed();
            if (!trimmed.startsWith('#') && trimmed.startsWith(name.toUtf8() + ':')) {
                if (!replaced) {
                    lines += name.toUtf8() + ':' + hash + '\n';
                    replaced = true;
                }
                continue;
            }
            lines += line;
            if (!line.endsWith('\n')) {
                lines += '\n';
            }
        }
    }
    if (!replaced) {
        lines += name.toUtf8() + ':' + hash + '\n';
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.errorString());
    }
    // Hashes are no passwords, but nobody else needs to read them.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(lines) != lines.size() || !file.commit()) {
        return QStringLiteral("\"%1\" cannot be written: %2").arg(path, file.errorString());
    }
    return {};
}

std::optional<QByteArray> hashOf(const std::vector<UserEntry>& users, const QString& name) {
    for (const UserEntry& user : users) {
        if (user.name == name) {
            return user.hash;
        }
    }
    return std::nullopt;
}

}  // namespace trellicap::web
