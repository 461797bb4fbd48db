// The question before a command that would throw away records not yet saved (File > New, a
// record file dropped on the window): Save, Discard or Cancel. The answer comes from a
// message box, or from a test's stand-in.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace trellicap {

enum class UnsavedAnswer { Save, Discard, Cancel };

// Asks the question over `parent`; empty: a message box with Save, Discard and Cancel.
using UnsavedAsker = std::function<UnsavedAnswer(QWidget* parent, const QString& program)>;

// Whether the command may go on: nothing is unsaved, the user discards, or the user chose
// Save and `save` succeeded. Cancel, or a save that failed (it says why itself), stops it.
[[nodiscard]] bool mayDiscardUnsaved(QWidget* parent, const QString& program, bool unsaved,
                                     const std::function<bool()>& save,
                                     const UnsavedAsker& ask = {});

}  // namespace trellicap
