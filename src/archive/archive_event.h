// One change the archive has to make durable, in the order the run made it: the keeper
// queues them and the writer applies them one by one, so a failing archive catches up in
// the same order later.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "archive/iso_time.h"
#include "profiles/model_profile.h"

namespace trellicap::archive {

// Where a record came from. `edit`: a version made by "S  A  V  E" (the record's typed
// header fields stored), whatever its record came from first.
enum class Source { Capture, Unsolicited, File, Restore, Edit };

[[nodiscard]] QString sourceName(Source source);
// Every source's name, in the order the archive window's filter offers them.
[[nodiscard]] QStringList sourceNames();

// A record file as it stood on the disk when the run opened or saved it: what the restore
// after a crash checks before it reads the file again.
struct RecordFileFacts {
    QString path;  // absolute
    qint64 size = -1;
    QString hash;  // SHA-256 of the file's bytes, 64 hex digits; empty: it could not be read
    [[nodiscard]] bool known() const { return !path.isEmpty() && !hash.isEmpty(); }
};

// The facts of the file at `path` now (size -1 and no hash when it cannot be read).
[[nodiscard]] RecordFileFacts recordFileFacts(const QString& path);

struct SlotValues {
    int slot = 0;  // 1..200
    std::vector<RecordValue> values;
};

struct ArchiveEvent {
    enum class Kind {
        StartRun,     // the program started with a fresh memory table
        Keep,         // a record reached a slot (a capture, a frame, a restore)
        HeaderStore,  // "S  A  V  E": a new version of the slot's record
        Load,         // a record file replaced the memory table: its marked slots
        Saved,        // the memory table was saved into the record file `path`
        EndRun,       // the program ended the way its operator chose
        MarkOffered,  // the records of earlier runs were restored: never offer them again
        Cleared,      // File > New: the memory table is a fresh start's, no file's
    };
    Kind kind = Kind::Keep;
    QDateTime arrived;  // the PC's time of the change
    Source source = Source::Capture;
    SlotValues record;               // Keep, HeaderStore
    QString path;                    // Load, Saved; Keep from a file
    std::vector<SlotValues> loaded;  // Load
    QStringList runIds;              // MarkOffered
    // Load, Saved: the file the memory table now is (not known after a load of part of a
    // file: the table is then no file's).
    RecordFileFacts file;
};

}  // namespace trellicap::archive
