#include "storage/ui/file_type_box.h"

#include <QKeyEvent>
#include <QLineEdit>

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

}  // namespace

FileTypeBox::FileTypeBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);  // a typed pattern is used, not kept
    for (const FileType& type : kFileTypes) {
        addItem(QString::fromLatin1(type.entry), QString::fromLatin1(type.pattern));
    }
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this,
            [this](int index) { emit patternChosen(itemData(index).toString()); });
    connect(lineEdit(), &QLineEdit::textEdited, this, &FileTypeBox::patternChosen);
}

QString FileTypeBox::firstPattern() {
    return QString::fromLatin1(kFileTypes[0].pattern);
}

void FileTypeBox::keyPressEvent(QKeyEvent* event) {
    QComboBox::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();  // taken here: it goes no further to the window's default button
    }
}

}  // namespace trellicap
