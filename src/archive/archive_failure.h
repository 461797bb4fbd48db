// Why the archive could not write, in words for the status bar: the engine's error sorted
// into what an operator can act on.
#pragma once

#include <QString>

class QSqlError;

namespace trellicap::archive {

enum class FailureKind {
    Locked,    // another program holds the database
    ReadOnly,  // the file or its folder cannot be written
    Full,      // the medium has no room
    Disk,      // the operating system refused a read or write
    Damaged,   // the file is not a database or its pages are broken
    Other,
};

struct ArchiveFailure {
    FailureKind kind = FailureKind::Other;
    QString reason;  // "the disk is full", with the engine's own words after it
};

[[nodiscard]] ArchiveFailure classifyFailure(const QSqlError& error);

}  // namespace trellicap::archive
