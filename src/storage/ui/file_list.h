// The file list of the open window: the files of one folder whose names match a pattern
// such as "*.dat", "*.dat;*.txt" or "*.*" (every file, with or without an extension).
#pragma once

#include <QListWidget>

namespace trellicap {

class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    [[nodiscard]] QString folder() const { return m_folder; }
    [[nodiscard]] QString pattern() const { return m_pattern; }
    void setFolder(const QString& folder);
    void setPattern(const QString& pattern);

private:
    void refresh();

    QString m_folder;
    QString m_pattern = QStringLiteral("*.dat");
};

}  // namespace trellicap
