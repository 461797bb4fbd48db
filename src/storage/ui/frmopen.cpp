#include "storage/ui/frmopen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "storage/full_path.h"
#include "storage/ui/drive_list.h"
#include "storage/ui/drive_roots.h"
#include "storage/ui/file_list.h"
#include "storage/ui/folder_list.h"
#include "storage/ui/start_folder.h"

namespace trellicap {

namespace {

// The file-type entries and the pattern each one stands for.
struct FileType {
    const char* entry;
    const char* pattern;
};
constexpr FileType kFileTypes[] = {
    {"*.dat", "*.dat"},
    {"*.txt", "*.txt"},
    {"All Files(*.*)", "*.*"},
};

const QString kDefaultName = QStringLiteral("temp.dat");

}  // namespace

frmopen::frmopen(QString& rememberedFolder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_remembered(rememberedFolder),
      m_drives(new DriveList(mountedVolumeRoots(), this)),
      m_folders(new FolderList(this)),
      m_files(new FileList(this)),
      m_types(new QComboBox(this)),
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

    m_types->setEditable(true);
    m_types->setInsertPolicy(QComboBox::NoInsert);  // a typed pattern is used, not kept
    for (const FileType& type : kFileTypes) {
        m_types->addItem(QString::fromLatin1(type.entry), QString::fromLatin1(type.pattern));
    }
    m_types->setCurrentIndex(0);
    m_files->setPattern(QString::fromLatin1(kFileTypes[0].pattern));

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
    connect(m_types, &QComboBox::activated, this,
            [this](int index) { m_files->setPattern(m_types->itemData(index).toString()); });
    connect(m_types->lineEdit(), &QLineEdit::textEdited, m_files, &FileList::setPattern);
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

void frmopen::keyPressEvent(QKeyEvent* event) {
    const bool inTypes = m_types->isAncestorOf(focusWidget()) || focusWidget() == m_types;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!inTypes) {
                m_ok->click();
            }
            return;
        case Qt::Key_Escape:
            close();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void frmopen::accept() {
    const QString path = m_path->text();
    close();
    if (QWidget* owner = parentWidget()) {
        owner->raise();
        owner->activateWindow();
    }
    emit loadRequested(path);
}

}  // namespace trellicap
