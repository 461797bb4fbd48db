// The open window: pick a volume, a folder and a file (or type its path); "Ok", Enter or a
// double-click on a file closes the window and asks for the load. Enter in the file-type box
// only sets the typed pattern; Esc closes the window as its close box does.
#pragma once

#include <QDialog>

class QLineEdit;
class QListWidgetItem;
class QPushButton;

namespace trellicap {

class DriveList;
class FileList;
class FileTypeBox;
class FolderList;

class frmopen : public QDialog {
    Q_OBJECT
public:
    // rememberedFolder belongs to the opener and outlives the window: the folder shown last
    // is kept there for the next opening in this run. Empty: start in the working folder.
    explicit frmopen(QString& rememberedFolder, QWidget* parent = nullptr);

    // "Ok": closes the window and asks for the load of the path in Text1.
    void accept() override;

signals:
    // The path as Text1 holds it, typed or set by a click.
    void loadRequested(const QString& path);

private:
    void folderChanged(const QString& folder);
    void fileClicked(QListWidgetItem* item);

    QString& m_remembered;
    DriveList* m_drives;
    FolderList* m_folders;
    FileList* m_files;
    FileTypeBox* m_types;
    QLineEdit* m_path;
    QPushButton* m_ok;
};

}  // namespace trellicap
