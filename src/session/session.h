// One run of the program with its records, without any window: the record store, the serial
// port and the link, the slot shown, the slot marks, the unsaved state, the record file the
// table came from, and the record shown (a SlotView). The window program is a view of it and
// trellicap-cli uses it headless, so both file, recall, save and load records one way.
// Every record that reaches the memory table is also kept in the archive when the session
// has one.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "link/batch_result.h"
#include "link/serial_port.h"
#include "profiles/model_profile.h"
#include "record/record_store.h"
#include "report/slot_view.h"
#include "session/record_origin.h"
#include "session/refusal.h"
#include "storage/record_file_reader.h"

namespace trellicap {

namespace archive {
class ArchiveKeeper;
struct RestoreFile;
}  // namespace archive
class InstrumentLink;
class LinkClock;
class PortRecovery;

class Session : public QObject {
    Q_OBJECT
public:
    struct Options {
        int waitTimerMs = -1;         // -1 keeps the profile's interval
        int frameByteTimeoutMs = -1;  // -1 keeps the link's default
        QString archivePath;          // empty: records are not archived
        LinkClock* clock = nullptr;   // null: the program's clock
    };

    // A session without a port (null) reads and writes record files only.
    Session(const ModelProfile& profile, std::unique_ptr<SerialPort> port, Options options);
    Session(const ModelProfile& profile, std::unique_ptr<SerialPort> port = nullptr);
    ~Session() override;

    [[nodiscard]] const ModelProfile& profile() const { return m_profile; }
    [[nodiscard]] RecordStore& store() { return m_store; }
    [[nodiscard]] const RecordStore& store() const { return m_store; }
    [[nodiscard]] SlotView& view() { return m_view; }
    [[nodiscard]] const SlotView& view() const { return m_view; }
    [[nodiscard]] bool hasPort() const { return m_port != nullptr; }
    [[nodiscard]] SerialPort& port() { return *m_port; }
    [[nodiscard]] InstrumentLink& link() { return *m_link; }
    // The port after an unplug: the same adapter reopened, the rest of a cut batch offered
    // (session/port_recovery.h). Only with a port.
    [[nodiscard]] PortRecovery& recovery() { return *m_recovery; }

    // The start of a run: every slot at its start values and unmarked, the archive opened.
    void begin();
    // The same with the archive left closed: a window program opens it (what earlier runs
    // left unsaved, this run's start) once its window has painted, through startArchive().
    // Anything kept before that opens it on the way.
    void beginWithoutArchive();
    void startArchive();
    // The instrument's start-up trace into the capture buffer, its pattern onto the plot.
    void showStartupTrace();

    // Closes the port and opens `device`; false with portFailure() set when it cannot.
    bool openDevice(const QString& device);
    [[nodiscard]] QString device() const { return m_device; }
    // Why the port is not open (it failed to open, or the link was lost); empty while open.
    [[nodiscard]] QString portFailure() const { return m_portFailure; }
    [[nodiscard]] bool portDeniedPermission() const { return m_portDenied; }

    // Why the records cannot change now: a batch runs, or a frame is on its way into the
    // capture buffer. Every command that would change them gives the same refusal.
    [[nodiscard]] Refusal changeRefused() const;
    [[nodiscard]] bool batchOn() const;
    // Requests the columns' slots one after the other; refused without a port or while the
    // records cannot change.
    Refusal startBatch(const QList<int>& columns);
    void stopBatch();

    // Recalls column 0..199 for display or printing: it becomes the slot shown.
    Refusal recall(int column);
    // The record in the capture buffer onto the view (after a frame or a load).
    void showCapture();
    [[nodiscard]] int shownslot() const { return m_shownslot; }
    // Whose record the view shows; none: the start-up trace.
    [[nodiscard]] std::optional<int> recordShown() const { return m_recordShown; }
    // Where the record shown came from (it stays after a load or New: the capture buffer
    // still holds it), and where the record a slot holds came from.
    [[nodiscard]] const RecordOrigin& shownOrigin() const { return m_shownOrigin; }
    [[nodiscard]] RecordOrigin slotOrigin(int column) const;
    // A document's title for the slots (1..200): the record file's name with them when every
    // one holds that file's record, else the slots alone ("shift-12.dat, Mem 1-3").
    [[nodiscard]] QString titleForSlots(const QList<int>& numbers) const;

    // The header texts (profile field order) into the shown slot's record.
    Refusal storeHeader(std::span<const QString> texts);

    // The operator typed into a header box: the record shown prints what the box shows, and
    // the text is the notes' slot's until it is stored. Typed notes not stored when another
    // record is shown are set aside as a draft for their slot (notesSetAside), never lost
    // without a word; bringBackNotes() recalls that slot and gives the typed texts back.
    void noteTyped(std::string_view control, const QString& text);
    struct NotesDraft {
        int column = 0;
        std::vector<QString> texts;  // profile field order
    };
    [[nodiscard]] const std::optional<NotesDraft>& notesDraft() const { return m_draft; }
    Refusal bringBackNotes();
    // A record from elsewhere (the archive) into its column, whole: marked and unsaved, and
    // `origin` says where it came from. Refused for a column outside 0..199 or values that
    // are not one record of this model.
    Refusal fileRecord(int column, std::span<const RecordValue> values,
                       const RecordOrigin& origin = {});

    // Whether filing `values` into `column` would put aside another record: the slot holds
    // a record and it is not these values.
    [[nodiscard]] bool holdsOtherRecord(int column, std::span<const RecordValue> values) const;
    // A record kept in the archive (record `uuid`, `version`) back into its slot (filed as
    // fileRecord does, and kept as a restore); the slot is not recalled.
    Refusal restoreRecord(int column, std::span<const RecordValue> values, const QString& uuid,
                          int version);

    [[nodiscard]] bool isMarked(int column) const;
    [[nodiscard]] const std::array<bool, kSlotCount>& marks() const { return m_marks; }

    [[nodiscard]] bool unsaved() const { return m_unsaved; }
    // Counts the changes made since the start; a question asked at one count is not asked
    // again for the same changes.
    [[nodiscard]] int changeCount() const { return m_changeCount; }
    // The record file last opened or saved whole; empty after New or a partial load.
    [[nodiscard]] QString currentFile() const { return m_currentFile; }

    // Writes the whole table; the reason on failure (the table stays unsaved).
    [[nodiscard]] std::optional<QString> save(const QString& path);

    struct LoadOutcome {
        LoadResult result;
        bool complete = false;
        bool adopted = false;  // the slots are the file's now (whole, or the part read)
        Refusal refusal;       // the file was not read: the records cannot change now
    };
    // Reads the file aside first: a complete file replaces the slots and marks; a load that
    // stopped part-way replaces them only when takePart says so. The view shows the capture
    // buffer afterwards either way.
    LoadOutcome load(const QString& path,
                     const std::function<bool(const LoadResult&)>& takePart = {});
    // File > New: the memory table as a fresh start leaves it, every slot unmarked.
    Refusal clearAll();

    // The archive (when the session has one).
    [[nodiscard]] bool hasArchive() const { return m_keeper != nullptr; }
    [[nodiscard]] archive::ArchiveKeeper& archive() { return *m_keeper; }
    [[nodiscard]] QString archivePath() const { return m_options.archivePath; }
    struct RestoreSummary {
        int restored = 0;
        QStringList kept;     // "Mem n": slots that hold a newer record
        QStringList refused;  // records that cannot go into a slot, each with the reason
        Refusal refusal;      // nothing was restored
        QString file;         // the record file the table is again (read from the disk)
        // Why the file the run had open was not read again, its records then restored from
        // the archive into an untitled table ("shift-1.dat was changed since"); empty when
        // it was read, or when the run had none.
        QString fileNote;
    };
    // The last run's table as it was: the record file it had open (read again when it is on
    // the disk as the run left it, else its records from the archive into an untitled table),
    // then the records it left unsaved into their slots; a slot that holds another record
    // since keeps it. The file comes back only into a table nothing has changed yet.
    RestoreSummary restoreFromArchive();
    // The run ends the way its operator chose: nothing of it is offered again.
    void endRunCleanly();

signals:
    void requestSent(int slot);
    // A record reached column's slot (a batch, a frame from the instrument, the archive).
    void recordFiled(int column);
    // The view shows the capture buffer anew (a recall, a frame, a batch's end, a load).
    void viewChanged();
    void slotShown(int column);
    void recordShownChanged();
    void frameNotFiled(const QString& memoryNumberText);
    void batchProgress(int slotIndex, int slotCount);
    void busyChanged(bool busy);
    void batchFinished(const trellicap::BatchResult& result);
    void linkLost(const QString& reason);
    void unsavedChanged(bool unsaved);
    void headerStored(int column);
    // The slots and marks were replaced whole (a load taken, New).
    void marksReplaced();
    // Header texts typed for `column` and not stored were set aside as its draft.
    void notesSetAside(int column);
    // The draft's slot is shown again with its typed texts (profile field order), unstored.
    void notesBroughtBack(const std::vector<QString>& texts);
    void currentFileChanged(const QString& path);

private:
    // The file part of restoreFromArchive().
    void restoreFile(const archive::RestoreFile& file, RestoreSummary& summary);
    [[nodiscard]] bool isBusy() const;
    void connectLink();
    void setUnsaved(bool unsaved);
    void mark(int column);
    // The record shown is now the one `origin` names.
    void setShownOrigin(const RecordOrigin& origin);
    // Before another record is shown: typed notes not stored become the notes' slot's draft.
    void setAsideTypedNotes();
    // The view shows the capture buffer anew (typed notes set aside first).
    void showCaptureAnew();

    const ModelProfile& m_profile;
    Options m_options;
    RecordStore m_store;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<InstrumentLink> m_link;    // after the port: goes before it
    std::unique_ptr<PortRecovery> m_recovery;  // after the link: goes before it
    SlotView m_view;
    std::unique_ptr<archive::ArchiveKeeper> m_keeper;

    QString m_device;
    QString m_portFailure;
    bool m_portDenied = false;
    int m_shownslot = 0;
    std::optional<int> m_recordShown;
    std::array<RecordOrigin, kSlotCount> m_origins{};
    RecordOrigin m_shownOrigin = RecordOrigin::startUp();
    bool m_notesTyped = false;
    std::optional<NotesDraft> m_draft;
    std::array<bool, kSlotCount> m_marks{};
    bool m_unsaved = false;
    int m_changeCount = 0;
    QString m_currentFile;
    bool m_ended = false;
};

}  // namespace trellicap
