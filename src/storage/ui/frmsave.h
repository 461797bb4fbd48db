// The save window: pick a volume, a folder and a name; "Ok" asks for the save and closes.
// The window writes nothing itself: whoever opened it saves on saveRequested.
#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace trellicap {

class DriveList;
class FolderList;

class frmsave : public QWidget {
    Q_OBJECT
public:
    // rememberedFolder belongs to the opener and outlives the window: the folder shown last
    // is kept there for the next opening in this run. Empty: start in the working folder.
    explicit frmsave(QString& rememberedFolder, QWidget* parent = nullptr);

    // Folder and name joined as the window shows them in Text1.
    [[nodiscard]] QString fullPath() const;

    // Asked before "Ok" replaces an existing file; false keeps the window open with the
    // name as typed. Without one, an existing file is replaced.
    using ReplaceCheck = std::function<bool(const QString& fullPath)>;
    void setReplaceCheck(ReplaceCheck check) { m_replaceCheck = std::move(check); }

signals:
    void saveRequested(const QString& fullPath);

protected:
    // Enter presses "Ok" (the default button); Esc closes the window as its close box does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void folderChanged(const QString& folder);
    void accept();

    QString& m_remembered;
    DriveList* m_drives;
    FolderList* m_folders;
    QLabel* m_nameLabel;
    QLineEdit* m_name;
    QLineEdit* m_fullPath;
    QPushButton* m_ok;
    ReplaceCheck m_replaceCheck;
};

}  // namespace trellicap
