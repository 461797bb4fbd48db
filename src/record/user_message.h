// A message for the user: a title, the fixed text, and under it the system's reason and what
// to do. The windows show it in a message box; tests record it.
#pragma once

#include <QString>

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

}  // namespace trellicap
