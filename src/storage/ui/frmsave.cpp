#include "storage/ui/frmsave.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "storage/full_path.h"
#include "storage/ui/drive_list.h"
#include "storage/ui/drive_roots.h"
#include "storage/ui/folder_list.h"
#include "storage/ui/start_folder.h"

namespace trellicap {

frmsave::frmsave(QString& rememberedFolder, QWidget* parent)
    : QDialog(parent),
      m_remembered(rememberedFolder),
      m_drives(new DriveList(mountedVolumeRoots(), this)),
      m_folders(new FolderList(this)),
      m_nameLabel(new QLabel(QStringLiteral("File Name"), this)),
      m_name(new QLineEdit(QStringLiteral("temp.dat"), this)),
      m_fullPath(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("Ok"), this)) {
    setObjectName(QStringLiteral("frmsave"));
    setWindowTitle(QStringLiteral("File Save"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_fullPath->setAccessibleName(tr("Full path"));
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_nameLabel->setObjectName(QStringLiteral("Label1"));
    m_name->setObjectName(QStringLiteral("txtfilename"));
    m_fullPath->setObjectName(QStringLiteral("Text1"));
    m_ok->setObjectName(QStringLiteral("cmdsaveok"));
    // Ok writes to the folder and name above, so an edit here would be ignored: show only.
    m_fullPath->setReadOnly(true);
    m_nameLabel->setBuddy(m_name);
    m_ok->setDefault(true);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_nameLabel, 0, 0);
    layout->addWidget(m_name, 1, 0);
    layout->addWidget(m_drives, 0, 1);
    layout->addWidget(m_folders, 1, 1, 2, 1);
    layout->addWidget(m_fullPath, 3, 0, 1, 2);
    layout->addWidget(m_ok, 4, 1, Qt::AlignRight);

    connect(m_folders, &FolderList::pathChanged, this, &frmsave::folderChanged);
    pairDriveWithFolders(*m_drives, *m_folders);
    connect(m_name, &QLineEdit::textChanged, this, [this] { m_fullPath->setText(fullPath()); });
    connect(m_ok, &QPushButton::clicked, this, &frmsave::accept);

    showStartFolder(*m_folders, m_remembered);
    folderChanged(m_folders->path());
}

QString frmsave::fullPath() const {
    return joinFolderAndName(m_folders->path(), m_name->text());
}

void frmsave::folderChanged(const QString& folder) {
    m_remembered = folder;
    m_drives->showVolumeOf(folder);
    m_fullPath->setText(fullPath());
}

void frmsave::accept() {
    const QString path = fullPath();
    const QFileInfo existing(path);
    if (m_replaceCheck && existing.exists() && !existing.isDir() && !m_replaceCheck(path)) {
        m_name->setFocus();
        return;
    }
    emit saveRequested(path);
    QDialog::accept();
    if (QWidget* owner = parentWidget()) {
        owner->raise();
        owner->activateWindow();
    }
}

}  // namespace trellicap
