#include "storage/ui/frmopen.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "storage/full_path.h"
#include "storage/ui/drive_list.h"
#include "storage/ui/drive_roots.h"
#include "storage/ui/file_list.h"
#include "storage/ui/file_type_box.h"
#include "storage/ui/folder_list.h"
#include "storage/ui/start_folder.h"

namespace trellicap {

namespace {

const QString kDefaultName = QStringLiteral("temp.dat");

}  // namespace

frmopen::frmopen(QString& rememberedFolder, QWidget* parent)
    : QDialog(parent),
      m_remembered(rememberedFolder),
      m_drives(new DriveList(mountedVolumeRoots(), this)),
      m_folders(new FolderList(this)),
      m_files(new FileList(this)),
      m_types(new FileTypeBox(this)),
      m_path(new QLineEdit(this)),
      m_ok(new QPushButton(QStringLiteral("Ok"), this)) {
    setObjectName(QStringLiteral("frmopen"));
    setWindowTitle(QStringLiteral("File Open"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_files->setAccessibleName(tr("Files"));
    m_types->setAccessibleName(tr("File type"));
    m_path->setAccessibleName(tr("Full path"));
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_files->setObjectName(QStringLiteral("File1"));
    m_types->setObjectName(QStringLiteral("cmbext"));
    m_path->setObjectName(QStringLiteral("Text1"));
    m_ok->setObjectName(QStringLiteral("cmdok"));
    m_ok->setDefault(true);

    m_files->setPattern(FileTypeBox::firstPattern());

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_path, 0, 0, 1, 2);
    layout->addWidget(m_files, 1, 0, 2, 1);
    layout->addWidget(m_drives, 1, 1);
    layout->addWidget(m_folders, 2, 1);
    layout->addWidget(m_types, 3, 0);
    layout->addWidget(m_ok, 3, 1, Qt::AlignRight);

    connect(m_folders, &FolderList::pathChanged, this, &frmopen::folderChanged);
    pairDriveWithFolders(*m_drives, *m_folders);
    connect(m_files, &QListWidget::itemClicked, this, &frmopen::fileClicked);
    connect(m_files, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        fileClicked(item);
        accept();
    });
    connect(m_types, &FileTypeBox::patternChosen, m_files, &FileList::setPattern);
    connect(m_ok, &QPushButton::clicked, this, &frmopen::accept);

    showStartFolder(*m_folders, m_remembered);
    folderChanged(m_folders->path());
}

void frmopen::folderChanged(const QString& folder) {
    m_remembered = folder;
    m_drives->showVolumeOf(folder);
    m_files->setFolder(folder);
    m_path->setText(joinFolderAndName(folder, kDefaultName));
}

void frmopen::fileClicked(QListWidgetItem* item) {
    m_path->setText(joinFolderAndName(m_files->folder(), item->text()));
}

void frmopen::accept() {
    const QString path = m_path->text();
    QDialog::accept();
    if (QWidget* owner = parentWidget()) {
        owner->raise();
        owner->activateWindow();
    }
    emit loadRequested(path);
}

}  // namespace trellicap
