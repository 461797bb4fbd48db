// The path the save and open windows show and use: a folder and a file name joined by one
// native separator, never doubled when the folder is a root that already ends in one
// ("/" + "temp.dat" -> "/temp.dat", "C:\" + "temp.dat" -> "C:\temp.dat").
#pragma once

#include <QString>

namespace trellicap {

[[nodiscard]] QString joinFolderAndName(const QString& folder, const QString& name);

}  // namespace trellicap
