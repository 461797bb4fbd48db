// One change the archive has to make durable, in the order the run made it: the keeper
// queues them and the writer applies them one by one, so a failing archive catches up in
// the same order later.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap::archive {

// Where a record came from. A header store ("S  A  V  E") keeps the source of the version
// it edits; `edit` names a record that was nothing but typed header fields.
enum class Source { Capture, Unsolicited, File, Restore, Edit };

[[nodiscard]] QString sourceName(Source source);

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
    };
    Kind kind = Kind::Keep;
    QDateTime arrived;  // the PC's time of the change
    Source source = Source::Capture;
    SlotValues record;               // Keep, HeaderStore
    QString path;                    // Load, Saved; Keep from a file
    std::vector<SlotValues> loaded;  // Load
    QStringList runIds;              // MarkOffered
};

// "2026-12-08T14:02:11+01:00": the local time with its offset from UTC.
[[nodiscard]] QString isoWithOffset(const QDateTime& time);

}  // namespace trellicap::archive
