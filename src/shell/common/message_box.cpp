#include "shell/common/message_box.h"

#include <QMessageBox>

namespace trellicap {

void showMessageBox(QWidget* parent, const UserMessage& message) {
    QMessageBox box(message.warning ? QMessageBox::Warning : QMessageBox::Information,
                    message.title, message.text, QMessageBox::Ok, parent);
    if (!message.informative.isEmpty()) {
        box.setInformativeText(message.informative);
    }
    box.exec();
}

}  // namespace trellicap
