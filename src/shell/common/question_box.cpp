#include "shell/common/question_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <map>

namespace trellicap {

namespace {

QMessageBox::StandardButton standardButton(Answer answer) {
    switch (answer) {
        case Answer::Save:
            return QMessageBox::Save;
        case Answer::Discard:
            return QMessageBox::Discard;
        case Answer::Cancel:
            return QMessageBox::Cancel;
        case Answer::Replace:
        case Answer::KeepSlots:
        case Answer::LoadPart:
        case Answer::TakeOut:
            break;
    }
    return QMessageBox::NoButton;
}

QMessageBox::ButtonRole customRole(Answer answer) {
    return answer == Answer::KeepSlots ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
}

}  // namespace

QString answerText(Answer answer) {
    switch (answer) {
        case Answer::Save:
            return QMessageBox::tr("Save");
        case Answer::Discard:
            return QMessageBox::tr("Discard");
        case Answer::Cancel:
            return QMessageBox::tr("Cancel");
        case Answer::Replace:
            return QMessageBox::tr("Replace");
        case Answer::KeepSlots:
            return QMessageBox::tr("Keep the slots as they were");
        case Answer::LoadPart:
            return QMessageBox::tr("Load the part that was read");
        case Answer::TakeOut:
            return QMessageBox::tr("Take Out");
    }
    return {};
}

Answer askWithMessageBox(QWidget* parent, const UserQuestion& question) {
    const UserMessage& m = question.message;
    QMessageBox box(m.warning ? QMessageBox::Warning : QMessageBox::Question, m.title, m.text,
                    QMessageBox::NoButton, parent);
    if (!m.informative.isEmpty()) {
        box.setInformativeText(m.informative);
    }
    std::map<QAbstractButton*, Answer> answers;
    for (const Answer answer : question.answers) {
        QAbstractButton* button = nullptr;
        if (const auto standard = standardButton(answer); standard != QMessageBox::NoButton) {
            button = box.addButton(standard);
        } else {
            button = box.addButton(answerText(answer), customRole(answer));
        }
        answers[button] = answer;
        if (answer == question.defaultAnswer) {
            box.setDefaultButton(qobject_cast<QPushButton*>(button));
        }
        if (answer == question.escapeAnswer) {
            box.setEscapeButton(button);
        }
    }
    box.exec();
    const auto chosen = answers.find(box.clickedButton());
    return chosen != answers.end() ? chosen->second : question.escapeAnswer;
}

}  // namespace trellicap
