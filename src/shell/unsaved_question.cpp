#include "shell/unsaved_question.h"

#include <QMessageBox>

namespace trellicap {

namespace {

UnsavedAnswer askWithMessageBox(QWidget* parent, const QString& program) {
    QMessageBox box(QMessageBox::Warning, program,
                    QStringLiteral("The slots hold records that are not saved."),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("msgunsaved"));
    box.setInformativeText(QStringLiteral("Save them to a record file first?"));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save:
            return UnsavedAnswer::Save;
        case QMessageBox::Discard:
            return UnsavedAnswer::Discard;
        default:
            return UnsavedAnswer::Cancel;
    }
}

}  // namespace

bool mayDiscardUnsaved(QWidget* parent, const QString& program, bool unsaved,
                       const std::function<bool()>& save, const UnsavedAsker& ask) {
    if (!unsaved) {
        return true;
    }
    switch (ask ? ask(parent, program) : askWithMessageBox(parent, program)) {
        case UnsavedAnswer::Save:
            return save && save();
        case UnsavedAnswer::Discard:
            return true;
        case UnsavedAnswer::Cancel:
            return false;
    }
    return false;
}

}  // namespace trellicap
