// The folder list of the save and open windows: ".." and the subfolders of the current
// folder; activating an entry moves there.
#pragma once

#include <QListWidget>

namespace trellicap {

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    [[nodiscard]] QString path() const { return m_path; }
    // Moves to folder (made absolute and clean). A folder that does not exist or cannot be
    // listed is refused and the list stays where it was.
    bool setPath(const QString& folder);

    // The entry that leads to the parent folder.
    static QString parentEntry() { return QStringLiteral(".."); }

signals:
    void pathChanged(const QString& path);

protected:
    // Enter opens the folder under the cursor and goes no further: it is not the window's Ok.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void enter(const QString& entry);

    QString m_path;
};

}  // namespace trellicap
