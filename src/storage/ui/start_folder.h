// Where the save and open windows start: the folder remembered for this run, or at the
// first opening the working folder, falling back to the home folder and the root when the
// one before cannot be listed.
#pragma once

#include <QString>

namespace trellicap {

class FolderList;

void showStartFolder(FolderList& folders, const QString& remembered);

}  // namespace trellicap
