// A message for the user (a message box in the program; recorded in tests).
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace trellicap {

struct UserMessage {
    UserMessage(QString title_, QString text_, QString informative_ = {}, bool warning_ = true)
        : title(std::move(title_)),
          text(std::move(text_)),
          informative(std::move(informative_)),
          warning(warning_) {}

    QString title;
    QString text;
    QString informative;  // the system's reason and what to do, under the fixed text
    bool warning = true;
};

using Messenger = std::function<void(QWidget* parent, const UserMessage&)>;

// The program's messenger: a modal message box with an OK button.
void showMessageBox(QWidget* parent, const UserMessage& message);

}  // namespace trellicap
