// The main window's record-file commands: the save and open windows and what their Ok does.
#include <QStatusBar>

#include "link/instrument_link.h"
#include "record/slot_entries.h"
#include "shell/archive_hooks.h"
#include "shell/frmmain.h"
#include "shell/slot_list_panel.h"
#include "shell/status_fields.h"
#include "shell/window_placement.h"
#include "storage/record_file_io.h"
#include "storage/storage_messages.h"
#include "storage/ui/frmopen.h"
#include "storage/ui/frmsave.h"

namespace trellicap {

void frmmain::openSaveWindow() {
    if (!m_frmsave) {
        m_frmsave = new frmsave(m_saveFolder, this);
        connect(m_frmsave, &frmsave::saveRequested, this, &frmmain::saveToFile);
    }
    if (!m_frmsave->isVisible()) {
        centreOverOwner(*m_frmsave, this);
    }
    m_frmsave->show();
    m_frmsave->raise();
    m_frmsave->activateWindow();
}

void frmmain::openOpenWindow() {
    if (m_link->isBusy()) {
        return;
    }
    if (!m_frmopen) {
        m_frmopen = new frmopen(m_openFolder, this);
        connect(m_frmopen, &frmopen::loadRequested, this, &frmmain::loadFromFile);
    }
    if (!m_frmopen->isVisible()) {
        centreOverOwner(*m_frmopen, this);
    }
    m_frmopen->show();
    m_frmopen->raise();
    m_frmopen->activateWindow();
}

bool frmmain::saveToFile(const QString& path) {
    raise();
    activateWindow();
    if (const auto error = saveRecordFile(path, m_store)) {
        message(describeSaveFailure(path, *error));
        return false;
    }
    m_archive->saved(path);
    m_status->setUnsaved(false);
    statusBar()->showMessage(tr("Saved all 200 slots to %1").arg(path), 6000);
    return true;
}

void frmmain::loadFromFile(const QString& path) {
    raise();
    activateWindow();
    if (m_link->isBusy()) {
        return;  // a frame is on its way into the table
    }
    const LoadResult result = loadRecordFile(path, m_store);
    if (result.tableChanged()) {
        m_slots->setEntries(slotListEntries(result.marked));
        for (int column = 0; column < kSlotCount; ++column) {
            updateEntryTip(column);
        }
        m_status->setUnsaved(false);  // the table is the file's now
        m_archive->loaded(path, result.marked);
    }
    display_pattern();
    display_setup();
    if (const auto problem = describeLoadFailure(result, path)) {
        message(*problem);
    } else {
        statusBar()->showMessage(tr("Loaded %1").arg(path), 6000);
    }
}

}  // namespace trellicap
