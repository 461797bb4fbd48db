// How the windows ask the user before something that cannot be undone: a modal message box
// with the answers as buttons in the program, a scripted answerer in tests.
#pragma once

#include <functional>
#include <vector>

#include "record/user_message.h"

class QWidget;

namespace trellicap {

// Every answer the program's questions offer. Save, Discard and Cancel are the platform's
// standard buttons (their texts and order follow the desktop's conventions).
enum class Answer { Save, Discard, Cancel, Replace, KeepSlots, LoadPart, TakeOut };

struct UserQuestion {
    UserMessage message;
    std::vector<Answer> answers;  // the buttons, in this order where the platform allows
    Answer defaultAnswer;         // Enter
    Answer escapeAnswer;          // Esc and the close box
};

using Asker = std::function<Answer(QWidget* parent, const UserQuestion&)>;

// The program's asker: a modal message box; Esc and its close box give escapeAnswer.
Answer askWithMessageBox(QWidget* parent, const UserQuestion& question);

// The text of an answer's button where it is not a standard one.
[[nodiscard]] QString answerText(Answer answer);

}  // namespace trellicap
