#include "shell/files/record_file_commands.h"

#include <QFileInfo>

#include "record/profile_text.h"
#include "session/session.h"
#include "shell/common/window_host.h"
#include "shell/common/window_placement.h"
#include "shell/files/unsaved_guard.h"
#include "storage/storage_messages.h"
#include "storage/ui/frmopen.h"
#include "storage/ui/frmsave.h"

namespace trellicap {

RecordFileCommands::RecordFileCommands(Session& session, WindowHost& host)
    : QObject(&host.window()),
      m_session(session),
      m_host(host),
      m_guard(std::make_unique<UnsavedGuard>(UnsavedGuard::Host{
          [this] { return m_session.unsaved(); },
          [this](const UserQuestion& question) { return m_host.ask(question); },
          [this] { openSaveWindow(); }})) {}

RecordFileCommands::~RecordFileCommands() {
    // The save window tells the guard when it goes; as the main window's child it would go
    // only after the guard.
    delete m_frmsave.data();
}

void RecordFileCommands::proceed(const QString& whatNext, std::function<void()> then) {
    m_guard->proceed(whatNext, std::move(then));
}

void RecordFileCommands::openSaveWindow() {
    if (!m_frmsave) {
        m_frmsave = new frmsave(m_saveFolder, &m_host.window());
        connect(m_frmsave, &frmsave::saveRequested, this,
                [this](const QString& path) { m_guard->saveFinished(saveToFile(path)); });
        connect(m_frmsave, &QObject::destroyed, this, [this] { m_guard->saveWindowClosed(); });
        m_frmsave->setReplaceCheck([this](const QString& path) { return confirmReplace(path); });
    }
    showSecondaryWindow(*m_frmsave, &m_host.window());
}

bool RecordFileCommands::confirmReplace(const QString& path) {
    const QFileInfo file(path);
    const UserQuestion question{describeReplaceQuestion(path, file.lastModified(), file.size()),
                                {Answer::Replace, Answer::Cancel},
                                Answer::Cancel,
                                Answer::Cancel};
    return m_host.ask(question) == Answer::Replace;
}

void RecordFileCommands::openOpenWindow() {
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        m_host.showStatus(refusal.reason(), 6000);
        return;
    }
    if (m_frmopen && m_frmopen->isVisible()) {
        showOpenWindow();  // asked when it opened
        return;
    }
    m_guard->proceed(tr("opening another file"), [this] { showOpenWindow(); });
}

void RecordFileCommands::showOpenWindow() {
    // A frame may have come in while the operator was saving.
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        m_host.showStatus(refusal.reason(), 6000);
        return;
    }
    if (!m_frmopen) {
        m_frmopen = new frmopen(m_openFolder, &m_host.window());
        connect(m_frmopen, &frmopen::loadRequested, this, [this](const QString& path) {
            // Records captured or edited while the open window stood open were never asked
            // about: ask before the file replaces them.
            if (m_session.unsaved() && m_session.changeCount() != m_changesWhenOpenShown) {
                m_guard->proceed(tr("opening another file"), [this, path] { loadFromFile(path); });
            } else {
                loadFromFile(path);
            }
        });
    }
    if (!m_frmopen->isVisible()) {
        m_changesWhenOpenShown = m_session.changeCount();
    }
    showSecondaryWindow(*m_frmopen, &m_host.window());
}

bool RecordFileCommands::saveToFile(const QString& path) {
    m_host.bringToFront();
    if (const auto error = m_session.save(path)) {
        m_host.message(describeSaveFailure(path, *error));
        return false;
    }
    emit fileTaken(path);
    m_host.showStatus(tr("Saved all 200 slots to %1").arg(path), 6000);
    return true;
}

bool RecordFileCommands::loadPartOf(const LoadResult& result, const QString& path) {
    const UserQuestion question{describePartialLoadChoice(result, path),
                                {Answer::KeepSlots, Answer::LoadPart},
                                Answer::KeepSlots,
                                Answer::KeepSlots};
    return m_host.ask(question) == Answer::LoadPart;
}

void RecordFileCommands::loadFromFile(const QString& path) {
    m_host.bringToFront();
    const Session::LoadOutcome load = m_session.load(
        path, [this, &path](const LoadResult& read) { return loadPartOf(read, path); });
    if (load.refusal.refused()) {
        m_host.showStatus(tr("Not opened: %1").arg(load.refusal.reason()), 6000);
    } else if (load.complete) {
        emit fileTaken(path);
        m_host.showStatus(tr("Loaded %1").arg(path), 6000);
    } else if (!load.result.tableChanged()) {
        m_host.message(*describeLoadFailure(load.result, path));
    } else if (!load.adopted) {
        m_host.showStatus(tr("Nothing loaded from %1; the slots are as they were").arg(path),
                          6000);
    }
    // A part taken: the table is no file's now (the session says so; the title follows).
}

void RecordFileCommands::newRecords() {
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        m_host.showStatus(refusal.reason(), 6000);
        return;
    }
    m_guard->proceed(tr("clearing all slots"), [this] {
        // A capture may have begun while the operator was saving.
        if (const Refusal refusal = m_session.clearAll(); refusal.refused()) {
            m_host.showStatus(refusal.reason(), 6000);
            return;
        }
        m_host.showStatus(tr("All 200 slots cleared"), 6000);
    });
}

void RecordFileCommands::openRecordFile(const QString& path) {
    if (m_session.changeRefused().refused()) {
        m_host.showStatus(tr("Not opened while a capture runs: %1").arg(path), 6000);
        return;
    }
    if (!QFileInfo::exists(path)) {
        emit fileGone(path);
        m_host.message({qs(m_session.profile().programName),
                        tr("The record file is not there any more."), path});
        return;
    }
    // loadFromFile() itself refuses while a capture runs, so a Save that lasted into one
    // still cannot mix a file into the batch's slots.
    m_guard->proceed(tr("opening another file"), [this, path] { loadFromFile(path); });
}

}  // namespace trellicap
