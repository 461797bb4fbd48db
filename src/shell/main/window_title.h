// The main window's title: the open record file's name before the program's caption, and the
// desktop's mark of unsaved changes ("[*]", shown as "*" while the window is modified). With
// no file open and nothing unsaved it is the caption alone, as the window has always been.
#pragma once

#include <QString>

namespace trellicap {

// "shift-12.dat[*] — Trellicap KVR(TFT)"; "Trellicap KVR(TFT)[*]" for unsaved records
// without a file; "Trellicap KVR(TFT)" at rest.
[[nodiscard]] QString windowTitleFor(const QString& caption, const QString& filePath, bool unsaved);

}  // namespace trellicap
