// One kept version of a record as the archive's readers see it: the facts a search returns
// (archive_search.h), the team server's note of who sent it, and the record files it was
// saved into. Which column of record_versions fills which member is version_columns.h's
// table.
#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace trellicap::archive {

struct KeptVersion {
    QString uuid;
    int version = 0;
    QString model;
    int slot = 0;
    QString source;  // capture, unsolicited, file, restore, edit
    QString path;    // the record file a `file` record came from
    QString arrived;
    QString timeDate;
    std::vector<std::pair<QString, QString>> header;  // box name -> text
    QString range;
    QString delay;
    QString gain;
    QString gate1;
    QString gate2;
    QStringList savedIn;
    qint64 arrivedMs = 0;
    QString contentHash;  // written with the version; not read back by a search
    QString searchText;   // written with the version; not read back by a search
    QString sentFrom;     // team server: the laptop (its host name, else its working folder)
    QString sentBy;       // team server: the inspector's role that sent it
};

}  // namespace trellicap::archive
