// The save window: pick a volume, a folder and a name; "Ok" (or Enter) asks for the save and
// closes, Esc closes as the close box does. The window writes nothing itself: whoever opened
// it saves on saveRequested.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace trellicap {

class DriveList;
class FolderList;

class frmsave : public QDialog {
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

    // "Ok": asks for the save of fullPath() unless the replace check says no.
    void accept() override;

signals:
    void saveRequested(const QString& fullPath);

private:
    void folderChanged(const QString& folder);

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
