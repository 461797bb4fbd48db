// The last record files opened or saved, per program, newest first, kept in the user's
// settings (QSettings, organisation "Trellicap", application the program's name).
#pragma once

#include <QString>
#include <QStringList>

namespace trellicap {

inline constexpr int kRecentFileCount = 8;

// The list with `path` in front (an earlier place of the same file dropped), cut to `limit`.
[[nodiscard]] QStringList withRecentFile(QStringList list, const QString& path,
                                         int limit = kRecentFileCount);

class RecentFiles {
public:
    explicit RecentFiles(QString program);

    [[nodiscard]] QStringList files() const;
    void add(const QString& path);
    void remove(const QString& path);

private:
    QString m_program;
};

}  // namespace trellicap
