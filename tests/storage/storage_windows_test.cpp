#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "storage/ui/drive_list.h"
#include "storage/ui/folder_list.h"
#include "storage/ui/frmopen.h"
#include "storage/ui/frmsave.h"

namespace trellicap {
namespace {

template <typename T>
T* control(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QStringList texts(QListWidget* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i) {
        all.append(list->item(i)->text());
    }
    return all;
}

// Double-clicks an entry the way the user does.
void doubleClick(QListWidget* list, const QString& text) {
    const auto items = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    const QPoint at = list->visualItemRect(items.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void click(QListWidget* list, const QString& text) {
    const auto items = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(items.first()).center());
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

class StorageWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_root = QDir(m_dir.path()).canonicalPath();
        QDir(m_root).mkpath(QStringLiteral("records/old"));
        for (const char* name : {"a.dat", "b.txt", "notes", "C.DAT"}) {
            QFile file(m_root + QStringLiteral("/records/") + QLatin1String(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    // The folder list moves one entry at a time, as the user does.
    static void walkTo(QListWidget* dir, const QStringList& entries) {
        for (const QString& entry : entries) {
            doubleClick(dir, entry);
        }
    }

    QTemporaryDir m_dir;
    QString m_root;
};

TEST_F(StorageWindows, SaveWindowShowsFullPathAndAsksForTheSaveOnOk) {
    QString remembered = m_root;
    QPointer<frmsave> window = new frmsave(remembered);
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("File Save"));
    EXPECT_EQ(control<QLabel>(*window, "Label1")->text(), QStringLiteral("File Name"));
    auto* name = control<QLineEdit>(*window, "txtfilename");
    auto* text1 = control<QLineEdit>(*window, "Text1");
    auto* dir = control<QListWidget>(*window, "Dir1");
    EXPECT_EQ(name->text(), QStringLiteral("temp.dat"));
    EXPECT_EQ(text1->text(), native(m_root + QStringLiteral("/temp.dat")));

    walkTo(dir, {QStringLiteral("records"), QStringLiteral("old")});
    EXPECT_EQ(text1->text(), native(m_root + QStringLiteral("/records/old/temp.dat")));
    walkTo(dir, {QStringLiteral("..")});
    EXPECT_EQ(texts(dir), (QStringList{"..", "old"}));

    name->clear();
    QTest::keyClicks(name, QStringLiteral("run7.dat"));
    const QString expected = native(m_root + QStringLiteral("/records/run7.dat"));
    EXPECT_EQ(text1->text(), expected);

    QSignalSpy saved(window.data(), &frmsave::saveRequested);
    QTest::mouseClick(control<QPushButton>(*window, "cmdsaveok"), Qt::LeftButton);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved.first().first().toString(), expected);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(remembered, m_root + QStringLiteral("/records"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    // The next save opens where this one ended.
    frmsave again(remembered);
    EXPECT_EQ(control<QLineEdit>(again, "Text1")->text(),
              native(m_root + QStringLiteral("/records/temp.dat")));
}

TEST_F(StorageWindows, FolderAtARootGetsNoSecondSeparator) {
    QString remembered = QDir::rootPath();
    frmsave save(remembered);
    EXPECT_EQ(control<QLineEdit>(save, "Text1")->text(),
              native(QDir::rootPath()) + QStringLiteral("temp.dat"));
    EXPECT_FALSE(texts(control<QListWidget>(save, "Dir1")).contains(QStringLiteral("..")));

    // The drive list offers the volume that holds the root, and choosing it goes there.
    QString elsewhere = m_root;
    frmopen open(elsewhere);
    auto* drives = control<QComboBox>(open, "Drive1");
    const int rootVolume = drives->findData(QDir::rootPath());
    ASSERT_GE(rootVolume, 0);
    drives->activated(rootVolume);
    EXPECT_EQ(elsewhere, QDir::rootPath());
    EXPECT_EQ(control<QLineEdit>(open, "Text1")->text(),
              native(QDir::rootPath()) + QStringLiteral("temp.dat"));
}

TEST_F(StorageWindows, OpenWindowListsFilesByTypeAndLoadsTheClickedOne) {
    QString remembered = m_root + QStringLiteral("/records");
    QPointer<frmopen> window = new frmopen(remembered);
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("File Open"));
    auto* files = control<QListWidget>(*window, "File1");
    auto* types = control<QComboBox>(*window, "cmbext");
    auto* text1 = control<QLineEdit>(*window, "Text1");
    EXPECT_EQ(text1->text(), native(remembered + QStringLiteral("/temp.dat")));

    ASSERT_EQ(types->count(), 3);
    EXPECT_EQ(types->itemText(0), QStringLiteral("*.dat"));
    EXPECT_EQ(types->itemText(1), QStringLiteral("*.txt"));
    EXPECT_EQ(types->itemText(2), QStringLiteral("All Files(*.*)"));
    EXPECT_EQ(types->currentText(), QStringLiteral("*.dat"));
    EXPECT_EQ(texts(files), (QStringList{"a.dat", "C.DAT"}));

    types->activated(1);
    EXPECT_EQ(texts(files), QStringList{"b.txt"});
    types->activated(2);
    EXPECT_EQ(texts(files), (QStringList{"a.dat", "b.txt", "C.DAT", "notes"}));
    types->lineEdit()->clear();
    QTest::keyClicks(types->lineEdit(), QStringLiteral("*.t*;n*"));
    EXPECT_EQ(texts(files), (QStringList{"b.txt", "notes"}));

    click(files, QStringLiteral("notes"));
    const QString expected = native(remembered + QStringLiteral("/notes"));
    EXPECT_EQ(text1->text(), expected);

    QSignalSpy loads(window.data(), &frmopen::loadRequested);
    QTest::mouseClick(control<QPushButton>(*window, "cmdok"), Qt::LeftButton);
    ASSERT_EQ(loads.size(), 1);
    EXPECT_EQ(loads.first().first().toString(), expected);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(StorageWindows, OpenWindowLoadsADoubleClickedFileOrATypedPath) {
    QString remembered = m_root + QStringLiteral("/records");
    frmopen byClick(remembered);
    byClick.show();
    QSignalSpy clicked(&byClick, &frmopen::loadRequested);
    doubleClick(control<QListWidget>(byClick, "File1"), QStringLiteral("C.DAT"));
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_EQ(clicked.first().first().toString(), native(remembered + QStringLiteral("/C.DAT")));

    frmopen typed(remembered);
    typed.show();
    QSignalSpy loads(&typed, &frmopen::loadRequested);
    auto* text1 = control<QLineEdit>(typed, "Text1");
    text1->clear();
    QTest::keyClicks(text1, QStringLiteral("/somewhere/else.dat"));
    QTest::mouseClick(control<QPushButton>(typed, "cmdok"), Qt::LeftButton);
    ASSERT_EQ(loads.size(), 1);
    EXPECT_EQ(loads.first().first().toString(), QStringLiteral("/somewhere/else.dat"));
}

TEST_F(StorageWindows, SaveAndOpenRememberTheirFoldersIndependently) {
    QString saveFolder;
    QString openFolder;
    {
        frmsave save(saveFolder);
        frmopen open(openFolder);
        EXPECT_EQ(saveFolder, QDir::currentPath());  // first opening: the working folder
        EXPECT_EQ(openFolder, QDir::currentPath());
        ASSERT_TRUE(save.findChild<FolderList*>(QStringLiteral("Dir1"))->setPath(m_root));
        walkTo(control<QListWidget>(save, "Dir1"), {QStringLiteral("records")});
    }
    EXPECT_EQ(saveFolder, m_root + QStringLiteral("/records"));
    EXPECT_EQ(openFolder, QDir::currentPath());

    frmsave save(saveFolder);
    EXPECT_EQ(control<QLineEdit>(save, "Text1")->text(),
              native(m_root + QStringLiteral("/records/temp.dat")));
    frmopen open(openFolder);
    EXPECT_EQ(control<QLineEdit>(open, "Text1")->text(),
              native(QDir::currentPath()) + QDir::separator() + QStringLiteral("temp.dat"));

    // A remembered folder that has gone away falls back to the working folder.
    QString gone = m_root + QStringLiteral("/removed");
    frmsave fallback(gone);
    EXPECT_EQ(gone, QDir::currentPath());
}

QStringList itemData(const QComboBox& list) {
    QStringList all;
    for (int i = 0; i < list.count(); ++i) {
        all.append(list.itemData(i).toString());
    }
    return all;
}

TEST_F(StorageWindows, DriveListOffersTheRootWhenTheMountTableListsNoVolume) {
    // A fresh debootstrap root: the mount table has no entry for "/".
    DriveList drives{QStringList()};
    FolderList folders;
    pairDriveWithFolders(drives, folders);
    ASSERT_TRUE(folders.setPath(m_root + QStringLiteral("/records")));
    drives.showVolumeOf(folders.path());
    EXPECT_EQ(itemData(drives), QStringList{QDir::rootPath()});
    EXPECT_EQ(drives.currentData().toString(), QDir::rootPath());

    drives.activated(0);
    EXPECT_EQ(folders.path(), QDir::rootPath());
}

TEST_F(StorageWindows, DriveListShowsTheVolumeThatHoldsTheFolder) {
    // Folders of the test stand in for mount points, so the machine's own table plays no part.
    const QString stick = m_root + QStringLiteral("/records");
    const QString prefixOnly = m_root + QStringLiteral("/rec");  // not a parent of records/
    ASSERT_TRUE(QDir().mkpath(prefixOnly));
    const QString boundFile = stick + QStringLiteral("/a.dat");  // a file mounted on its own
    DriveList drives({stick, prefixOnly + '/', boundFile, m_root + QStringLiteral("/gone")});
    QStringList offered{QDir::rootPath(), prefixOnly, stick};
    offered.sort();
    EXPECT_EQ(itemData(drives), offered);

    drives.showVolumeOf(stick + QStringLiteral("/old"));
    EXPECT_EQ(drives.currentData().toString(), stick);
    drives.showVolumeOf(prefixOnly);
    EXPECT_EQ(drives.currentData().toString(), prefixOnly);
    drives.showVolumeOf(m_root);
    EXPECT_EQ(drives.currentData().toString(), QDir::rootPath());
    EXPECT_EQ(drives.count(), offered.size());
}

TEST_F(StorageWindows, EnterAsksAndEscClosesWithoutAsking) {
    QString remembered = m_root + QStringLiteral("/records");
    // Save: Enter in the name box saves under that name; a refused replace keeps the window.
    QPointer<frmsave> save = new frmsave(remembered);
    save->show();
    QSignalSpy saved(save.data(), &frmsave::saveRequested);
    int replaceAsked = 0;
    save->setReplaceCheck([&replaceAsked](const QString&) {
        ++replaceAsked;
        return false;
    });
    auto* name = control<QLineEdit>(*save, "txtfilename");
    name->setText(QStringLiteral("a.dat"));  // exists
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(replaceAsked, 1);
    EXPECT_EQ(saved.size(), 0);
    EXPECT_TRUE(save->isVisible());
    name->setText(QStringLiteral("new.dat"));
    QTest::keyClick(name, Qt::Key_Enter);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved.first().first().toString(), native(remembered + QStringLiteral("/new.dat")));
    EXPECT_FALSE(save->isVisible());

    QPointer<frmsave> escaped = new frmsave(remembered);
    escaped->show();
    QSignalSpy notSaved(escaped.data(), &frmsave::saveRequested);
    QTest::keyClick(control<QLineEdit>(*escaped, "txtfilename"), Qt::Key_Escape);
    EXPECT_EQ(notSaved.size(), 0);
    EXPECT_FALSE(escaped->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(escaped.isNull());  // Esc ends the window as its close box does

    // Open: Enter in the file-type box only narrows the list; Enter on the file list loads
    // the clicked file; Esc loads nothing.
    QPointer<frmopen> open = new frmopen(remembered);
    open->show();
    QSignalSpy loads(open.data(), &frmopen::loadRequested);
    auto* types = control<QComboBox>(*open, "cmbext");
    types->lineEdit()->clear();
    QTest::keyClicks(types->lineEdit(), QStringLiteral("*.txt"));
    QTest::keyClick(types, Qt::Key_Return);  // where the focus sits when typing there
    EXPECT_EQ(loads.size(), 0);
    EXPECT_TRUE(open->isVisible());
    auto* files = control<QListWidget>(*open, "File1");
    EXPECT_EQ(texts(files), QStringList{"b.txt"});
    click(files, QStringLiteral("b.txt"));
    QTest::keyClick(files, Qt::Key_Return);
    ASSERT_EQ(loads.size(), 1);
    EXPECT_EQ(loads.first().first().toString(), native(remembered + QStringLiteral("/b.txt")));
    EXPECT_FALSE(open->isVisible());

    frmopen escapedOpen(remembered);
    escapedOpen.show();
    QSignalSpy noLoad(&escapedOpen, &frmopen::loadRequested);
    QTest::keyClick(control<QLineEdit>(escapedOpen, "Text1"), Qt::Key_Escape);
    EXPECT_EQ(noLoad.size(), 0);
    EXPECT_FALSE(escapedOpen.isVisible());
}

}  // namespace
}  // namespace trellicap
