// The open window: pick a volume, a folder and a file (or type its path); "Ok" or a
// double-click on a file closes the window and asks for the load.
#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidgetItem;
class QPushButton;

namespace trellicap {

class DriveList;
class FileList;
class FolderList;

class frmopen : public QWidget {
    Q_OBJECT
public:
    // rememberedFolder belongs to the opener and outlives the window: the folder shown last
    // is kept there for the next opening in this run. Empty: start in the working folder.
    explicit frmopen(QString& rememberedFolder, QWidget* parent = nullptr);

signals:
    // The path as Text1 holds it, typed or set by a click.
    void loadRequested(const QString& path);

protected:
    // Enter presses "Ok" (the default button), except in the file-type box where it sets the
    // typed pattern; Esc closes the window as its close box does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void folderChanged(const QString& folder);
    void fileClicked(QListWidgetItem* item);
    void accept();

    QString& m_remembered;
    DriveList* m_drives;
    FolderList* m_folders;
    FileList* m_files;
    QComboBox* m_types;
    QLineEdit* m_path;
    QPushButton* m_ok;
};

}  // namespace trellicap
