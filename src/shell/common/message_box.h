// How the windows tell the user something: a modal message box in the program, a recorder
// in tests.
#pragma once

#include <functional>

#include "record/user_message.h"

class QWidget;

namespace trellicap {

using Messenger = std::function<void(QWidget* parent, const UserMessage&)>;

// The program's messenger: a modal message box with an OK button.
void showMessageBox(QWidget* parent, const UserMessage& message);

}  // namespace trellicap
