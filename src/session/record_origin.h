// Where a record came from: the record file a slot was opened from, the instrument (and when
// it arrived), or the archive (which record and version). The session keeps one for every
// slot and one for the record shown, so that the window, the printed page and the exports
// name a record by where it came from and never by a file that does not hold it.
#pragma once

#include <QString>
#include <QTime>

namespace trellicap {

struct RecordOrigin {
    enum class Kind { Empty, StartUp, File, Instrument, Archive };
    Kind kind = Kind::Empty;
    int slot = 0;         // 1..200; 0 for the start-up trace
    QString file;         // File: the record file's absolute path
    QTime arrived;        // Instrument: when the frame was filed
    QString archiveId;    // Archive: the record's UUID
    int version = 0;      // Archive: its version
    bool edited = false;  // header fields stored into it since

    static RecordOrigin startUp() { return {Kind::StartUp, 0, {}, {}, {}, 0, false}; }
    static RecordOrigin empty(int slot) { return {Kind::Empty, slot, {}, {}, {}, 0, false}; }
    static RecordOrigin ofFile(int slot, QString path) {
        return {Kind::File, slot, std::move(path), {}, {}, 0, false};
    }
    static RecordOrigin fromInstrument(int slot, QTime at) {
        return {Kind::Instrument, slot, {}, at, {}, 0, false};
    }
    static RecordOrigin fromArchive(int slot, QString uuid, int version) {
        return {Kind::Archive, slot, {}, {}, std::move(uuid), version, false};
    }
};

// "Mem 20 of shift-1.dat", "Mem 12 from the instrument 22:33", "Archive: Mem 3 v2 (1a2b3c4d)",
// "Mem 7 (no record)", "Start-up trace"; ", notes edited" after a header store.
[[nodiscard]] QString originText(const RecordOrigin& origin);

}  // namespace trellicap
