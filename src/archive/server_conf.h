// archive.conf in the working folder, beside udc.cfg: the team server of this folder's
// archive, an INI file with the section [server] and the key url. No file, or no url in it,
// means no team server: the archive stays on this computer.
#pragma once

#include <QString>

namespace trellicap::archive {

inline constexpr const char* kServerConfFileName = "archive.conf";

struct ServerConf {
    QString url;    // empty: no team server
    QString error;  // why the file could not be read; empty when it could (or is absent)
};

[[nodiscard]] QString serverConfPath(const QString& workingFolder);

[[nodiscard]] ServerConf readServerConf(const QString& workingFolder);

// Writes url (or removes it when empty), keeping whatever else the file holds. Returns why
// it failed, or an empty text.
[[nodiscard]] QString writeServerConf(const QString& workingFolder, const QString& url);

}  // namespace trellicap::archive
