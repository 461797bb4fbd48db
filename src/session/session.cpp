#include "session/session.h"

#include <QFileInfo>
#include <algorithm>

#include "archive/archive_keeper.h"
#include "link/instrument_link.h"
#include "record/header_fields.h"
#include "record/profile_text.h"
#include "report/vector_report_document.h"
#include "session/port_recovery.h"
#include "storage/record_file_io.h"
#include "storage/scratch_load.h"

namespace trellicap {

namespace {

std::unique_ptr<InstrumentLink> makeLink(const ModelProfile& profile, RecordStore& store,
                                         SerialPort* port, LinkClock* clock) {
    if (port == nullptr) {
        return nullptr;
    }
    return clock != nullptr ? std::make_unique<InstrumentLink>(profile, store, *port, *clock)
                            : std::make_unique<InstrumentLink>(profile, store, *port);
}

}  // namespace

Session::Session(const ModelProfile& profile, std::unique_ptr<SerialPort> port, Options options)
    : m_profile(profile),
      m_options(std::move(options)),
      m_store(profile),
      m_port(std::move(port)),
      m_link(makeLink(profile, m_store, m_port.get(), m_options.clock)),
      m_view(m_store) {
    if (m_link) {
        if (m_options.waitTimerMs > 0) {
            m_link->setWaitIntervalMs(m_options.waitTimerMs);
        }
        if (m_options.frameByteTimeoutMs > 0) {
            m_link->setFrameByteTimeoutMs(m_options.frameByteTimeoutMs);
        }
        connectLink();
        m_recovery = std::make_unique<PortRecovery>(
            *m_port, *m_link, m_options.clock,
            [this](const QString& device) { return openDevice(device); });
    }
    if (!m_options.archivePath.isEmpty()) {
        m_keeper = std::make_unique<archive::ArchiveKeeper>(profile, m_options.archivePath);
    }
}

Session::Session(const ModelProfile& profile, std::unique_ptr<SerialPort> port)
    : Session(profile, std::move(port), Options{}) {}

Session::~Session() = default;

void Session::connectLink() {
    InstrumentLink* link = m_link.get();
    connect(link, &InstrumentLink::requestSent, this, [this](int slot) {
        m_view.clearPlot();
        emit requestSent(slot);
    });
    // A frame filed in the table: marked, kept, and said.
    const auto filed = [this](int column, archive::Source source) {
        m_origins[static_cast<std::size_t>(column)] =
            RecordOrigin::fromInstrument(column + 1, QTime::currentTime());
        mark(column);
        if (m_keeper) {
            m_keeper->keepFiled(column, m_store.column(column), source);
        }
        emit recordFiled(column);
    };
    connect(link, &InstrumentLink::slotFiled, this,
            [filed](int column) { filed(column, archive::Source::Capture); });
    connect(link, &InstrumentLink::recordArrived, this, [this, filed](int column) {
        filed(column, archive::Source::Unsolicited);
        // The frame is in the capture buffer too: it is the record shown now.
        showCaptureAnew();
        m_recordShown = column;
        setShownOrigin(m_origins[static_cast<std::size_t>(column)]);
    });
    connect(link, &InstrumentLink::frameNotFiled, this, &Session::frameNotFiled);
    connect(link, &InstrumentLink::batchProgress, this, &Session::batchProgress);
    connect(link, &InstrumentLink::busyChanged, this, &Session::busyChanged);
    connect(link, &InstrumentLink::batchFinished, this, [this](const BatchResult& result) {
        // The capture buffer holds the batch's last frame, or what it held before if none came.
        showCaptureAnew();
        if (!result.filed.isEmpty()) {
            m_recordShown = result.filed.back();
            setShownOrigin(m_origins[static_cast<std::size_t>(result.filed.back())]);
        }
        emit batchFinished(result);
    });
    connect(link, &InstrumentLink::linkLost, this, [this](const QString& reason) {
        m_portFailure = reason;
        m_recovery->linkLost();  // before the message, which may wait for the operator
        emit linkLost(reason);
    });
}

void Session::begin() {
    beginWithoutArchive();
    startArchive();
}

void Session::beginWithoutArchive() {
    m_store.initMemoryTable();
}

void Session::startArchive() {
    if (m_keeper) {
        m_keeper->start();
    }
}

void Session::showStartupTrace() {
    m_store.loadStartupTrace();
    m_view.showPattern();
}

bool Session::openDevice(const QString& device) {
    if (!m_port) {
        return false;
    }
    m_port->close();
    m_device = device;
    const bool opened = m_port->open(device);
    m_portFailure = opened ? QString() : m_port->errorString();
    m_portDenied = !opened && m_port->lastOpenDeniedPermission();
    if (!opened && m_portFailure.isEmpty()) {
        m_portFailure = tr("The device %1 cannot be opened.").arg(device);
    }
    m_link->portReopened();
    m_recovery->portOpened(device, opened);
    return opened;
}

bool Session::isBusy() const {
    return m_link && m_link->isBusy();
}

Refusal Session::changeRefused() const {
    if (!isBusy()) {
        return {};
    }
    return Refusal::because(
        m_link->batchOn()
            ? tr("A capture is under way: the records stay as they are until it ends (Stop "
                 "or Esc ends it after the current slot).")
            : tr("A record is arriving from the instrument: the records stay as they are "
                 "until it is filed."));
}

namespace {

Refusal noSuchColumn(int column) {
    return Refusal::because(
        Session::tr("There is no slot %1: the slots are 1 to %2.").arg(column + 1).arg(kSlotCount));
}

bool isColumn(int column) {
    return column >= 0 && column < kSlotCount;
}

}  // namespace

bool Session::batchOn() const {
    return m_link && m_link->batchOn();
}

Refusal Session::startBatch(const QList<int>& columns) {
    if (!m_link) {
        return Refusal::because(tr("This session has no port to capture from."));
    }
    if (Refusal refusal = changeRefused(); refusal.refused()) {
        return refusal;
    }
    for (const int column : columns) {
        if (!isColumn(column)) {
            return noSuchColumn(column);
        }
    }
    m_link->startBatch(columns);
    return {};
}

void Session::stopBatch() {
    if (m_link) {
        m_link->stopBatch();
    }
}

Refusal Session::recall(int column) {
    if (!isColumn(column)) {
        return noSuchColumn(column);
    }
    if (Refusal refusal = changeRefused(); refusal.refused()) {
        return refusal;
    }
    setAsideTypedNotes();
    m_view.recall(column);
    m_shownslot = column;
    m_recordShown = column;
    emit viewChanged();
    emit slotShown(column);
    setShownOrigin(slotOrigin(column));
    return {};
}

void Session::setShownOrigin(const RecordOrigin& origin) {
    m_shownOrigin = origin;
    emit recordShownChanged();
}

RecordOrigin Session::slotOrigin(int column) const {
    if (!isColumn(column)) {
        return {};
    }
    RecordOrigin origin = m_origins[static_cast<std::size_t>(column)];
    origin.slot = column + 1;
    return origin;
}

QString Session::titleForSlots(const QList<int>& numbers) const {
    bool allTheFiles = !m_currentFile.isEmpty();
    for (const int slot : numbers) {
        const RecordOrigin origin = slotOrigin(slot - 1);
        allTheFiles = allTheFiles && origin.kind == RecordOrigin::Kind::File &&
                      origin.file == m_currentFile && !origin.edited;
    }
    return vectorReportTitle(allTheFiles ? QFileInfo(m_currentFile).fileName() : QString(),
                             numbers);
}

void Session::showCapture() {
    m_view.showCapture();
    emit viewChanged();
}

void Session::showCaptureAnew() {
    setAsideTypedNotes();
    showCapture();
}

void Session::noteTyped(std::string_view control, const QString& text) {
    m_view.setText(control, text);
    m_notesTyped = true;
}

void Session::setAsideTypedNotes() {
    if (!m_notesTyped) {
        return;
    }
    m_notesTyped = false;
    NotesDraft draft{m_shownslot, {}};
    for (const HeaderField& field : m_profile.headerFields) {
        draft.texts.push_back(m_view.controlText(field.control));
    }
    m_draft = std::move(draft);
    emit notesSetAside(m_draft->column);
}

Refusal Session::bringBackNotes() {
    if (!m_draft) {
        return Refusal::because(tr("There are no notes set aside."));
    }
    // Notes typed since for the slot shown now are set aside in their turn by the recall.
    const NotesDraft draft = *m_draft;
    m_draft.reset();
    if (Refusal refusal = recall(draft.column); refusal.refused()) {
        m_draft = draft;
        return refusal;
    }
    for (std::size_t i = 0; i < draft.texts.size(); ++i) {
        m_view.setText(m_profile.headerFields[i].control, draft.texts[i]);
    }
    m_notesTyped = true;
    emit notesBroughtBack(draft.texts);
    emit viewChanged();
    return {};
}

Refusal Session::storeHeader(std::span<const QString> texts) {
    if (Refusal refusal = changeRefused(); refusal.refused()) {
        return refusal;
    }
    storeHeaderFields(m_profile, texts, m_store.column(m_shownslot));
    m_notesTyped = false;
    m_origins[static_cast<std::size_t>(m_shownslot)].edited = true;
    if (m_recordShown == m_shownslot) {
        setShownOrigin(slotOrigin(m_shownslot));
    }
    if (m_keeper) {
        m_keeper->keepHeaderStore(m_shownslot, m_store.column(m_shownslot));
    }
    setUnsaved(true);
    emit headerStored(m_shownslot);
    return {};
}

Refusal Session::fileRecord(int column, std::span<const RecordValue> values,
                            const RecordOrigin& origin) {
    if (!isColumn(column)) {
        return noSuchColumn(column);
    }
    if (Refusal refusal = changeRefused(); refusal.refused()) {
        return refusal;
    }
    const auto target = m_store.column(column);
    if (values.size() != target.size()) {
        return Refusal::because(tr("The record holds %1 values where a record of the %2 "
                                   "model holds %3.")
                                    .arg(values.size())
                                    .arg(qs(m_profile.programName))
                                    .arg(target.size()));
    }
    std::copy(values.begin(), values.end(), target.begin());
    m_origins[static_cast<std::size_t>(column)] = origin;
    m_origins[static_cast<std::size_t>(column)].slot = column + 1;
    mark(column);
    emit recordFiled(column);
    return {};
}

bool Session::holdsOtherRecord(int column, std::span<const RecordValue> values) const {
    if (!isMarked(column)) {
        return false;
    }
    const auto held = m_store.column(column);
    return !std::equal(held.begin(), held.end(), values.begin(), values.end());
}

Refusal Session::restoreRecord(int column, std::span<const RecordValue> values, const QString& uuid,
                               int version) {
    if (Refusal refusal =
            fileRecord(column, values, RecordOrigin::fromArchive(column + 1, uuid, version));
        refusal.refused()) {
        return refusal;
    }
    if (m_keeper) {
        m_keeper->keepFiled(column, m_store.column(column), archive::Source::Restore);
    }
    return {};
}

bool Session::isMarked(int column) const {
    return column >= 0 && column < kSlotCount && m_marks[static_cast<std::size_t>(column)];
}

void Session::mark(int column) {
    m_marks[static_cast<std::size_t>(column)] = true;
    setUnsaved(true);
}

void Session::setUnsaved(bool unsaved) {
    m_unsaved = unsaved;
    m_changeCount += unsaved ? 1 : 0;
    emit unsavedChanged(unsaved);
}

std::optional<QString> Session::save(const QString& path) {
    if (auto error = saveRecordFile(path, m_store)) {
        return error;
    }
    const QString file = QFileInfo(path).absoluteFilePath();
    if (m_keeper) {
        m_keeper->noteSaved(file);
    }
    m_currentFile = file;
    for (int column = 0; column < kSlotCount; ++column) {
        if (isMarked(column)) {
            m_origins[static_cast<std::size_t>(column)] = RecordOrigin::ofFile(column + 1, file);
        }
    }
    setUnsaved(false);
    emit currentFileChanged(m_currentFile);
    return std::nullopt;
}

Session::LoadOutcome Session::load(const QString& path,
                                   const std::function<bool(const LoadResult&)>& takePart) {
    if (Refusal refusal = changeRefused(); refusal.refused()) {
        LoadOutcome refused;
        refused.refusal = std::move(refusal);
        return refused;
    }
    // Read aside first: the slots change only by a whole file, or by the caller's choice.
    ScratchLoad scratch(m_profile);
    LoadOutcome outcome{scratch.read(path), false, false, {}};
    outcome.complete = outcome.result.stop == LoadResult::Stop::Complete;
    outcome.adopted = outcome.complete;
    if (!outcome.complete && outcome.result.tableChanged() && takePart) {
        outcome.adopted = takePart(outcome.result);
    }
    if (outcome.adopted) {
        scratch.adoptInto(m_store);
        m_marks = outcome.result.marked;
        const QString file = QFileInfo(path).absoluteFilePath();
        for (int column = 0; column < kSlotCount; ++column) {
            m_origins[static_cast<std::size_t>(column)] =
                isMarked(column) ? RecordOrigin::ofFile(column + 1, file) : RecordOrigin{};
        }
        // The table holds the whole file, or only part of it: then it is no file's.
        m_currentFile = outcome.complete ? QFileInfo(path).absoluteFilePath() : QString();
        setUnsaved(false);
        emit marksReplaced();
        emit currentFileChanged(m_currentFile);
        if (m_keeper) {
            std::vector<archive::SlotValues> marked;
            for (int column = 0; column < kSlotCount; ++column) {
                if (isMarked(column)) {
                    const auto values = m_store.column(column);
                    marked.push_back({column + 1, {values.begin(), values.end()}});
                }
            }
            m_keeper->keepLoaded(QFileInfo(path).absoluteFilePath(), std::move(marked));
        }
    }
    showCaptureAnew();
    return outcome;
}

Refusal Session::clearAll() {
    if (Refusal refusal = changeRefused(); refusal.refused()) {
        return refusal;
    }
    // A fresh start: the header texts and the rows past the start values of the records
    // discarded go too, so that no later save carries them into another file.
    m_store.resetMemoryTable();
    m_marks = {};
    m_origins = {};
    m_currentFile.clear();
    setUnsaved(false);
    emit marksReplaced();
    emit currentFileChanged(m_currentFile);
    return {};
}

Session::RestoreSummary Session::restoreFromArchive() {
    RestoreSummary summary;
    if (!m_keeper) {
        summary.refusal = Refusal::because(tr("This session keeps no archive."));
        return summary;
    }
    if (summary.refusal = changeRefused(); summary.refusal.refused()) {
        return summary;  // a frame is on its way into the table
    }
    const archive::RestoreOffer offer = m_keeper->restoreOffer();
    if (offer.file) {
        restoreFile(*offer.file, summary);
    }
    for (const archive::RestoreItem& item : offer.items) {
        const int column = item.slot - 1;
        const QString name = tr("record %1 v%2").arg(item.uuid.left(8)).arg(item.version);
        if (!isColumn(column)) {
            summary.refused.append(tr("%1: %2").arg(name, noSuchColumn(column).reason()));
            continue;
        }
        // The offer waits without blocking: a slot may have received a record since. That
        // newer record stays; the older one is still in the archive.
        if (holdsOtherRecord(column, item.values)) {
            summary.kept.append(QStringLiteral("Mem %1").arg(item.slot));
            continue;
        }
        if (const Refusal refused = restoreRecord(column, item.values, item.uuid, item.version);
            refused.refused()) {
            summary.refused.append(tr("%1: %2").arg(name, refused.reason()));
            continue;
        }
        ++summary.restored;
    }
    m_keeper->restoreTaken();
    return summary;
}

void Session::restoreFile(const archive::RestoreFile& file, RestoreSummary& summary) {
    const QString name = QFileInfo(file.path).fileName();
    const bool untouched = !m_unsaved && m_currentFile.isEmpty() &&
                           std::none_of(m_marks.begin(), m_marks.end(), [](bool m) { return m; });
    if (!untouched) {
        summary.fileNote =
            tr("%1 was not opened again: the table holds other records now").arg(name);
        return;
    }
    QString why;
    if (archive::fileUnchanged(file, &why)) {
        if (load(file.path).complete) {
            summary.file = QFileInfo(file.path).absoluteFilePath();
            return;
        }
        why = tr("%1 cannot be read whole").arg(file.path);
    }
    // The file's records as the run had them, from the archive; the table is no file's.
    for (const archive::RestoreItem& item : file.kept) {
        const int column = item.slot - 1;
        if (!isColumn(column)) {
            continue;
        }
        if (const Refusal refused = restoreRecord(column, item.values, item.uuid, item.version);
            !refused.refused()) {
            ++summary.restored;
        }
    }
    summary.fileNote = tr("%1: its records came from the archive into an untitled table").arg(why);
}

void Session::endRunCleanly() {
    if (m_keeper && !m_ended) {
        m_ended = true;
        m_keeper->endRunCleanly();
    }
}

}  // namespace trellicap
