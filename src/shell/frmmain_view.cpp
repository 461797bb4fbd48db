// What the main window shows when its session changes: the slot marks and tips, the plot and
// the panel, the caption of where the notes go, the status fields while a batch runs, and
// what is said when a batch ends or the port goes away.
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTime>

#include "display/plot_texts.h"
#include "display/ui/plot_widget.h"
#include "link/instrument_link.h"
#include "record/slot_entries.h"
#include "shell/frmmain.h"
#include "shell/plot_panel.h"
#include "shell/settings_panel.h"
#include "shell/slot_list_panel.h"
#include "shell/slot_tip.h"
#include "shell/status_fields.h"

namespace trellicap {

void frmmain::connectSession() {
    Session* session = m_session.get();
    connect(session, &Session::requestSent, this,
            [this] { m_plotPanel->plotWidget()->clearRecord(); });
    connect(session, &Session::viewChanged, this, &frmmain::showView);
    connect(session, &Session::recordFiled, this, [this](int column) {
        m_slots->mark(column);
        m_slots->setEntryTip(column, slotTip(m_profile, store().column(column)));
    });
    connect(session, &Session::marksReplaced, this, [this] {
        m_slots->setEntries(slotListEntries(m_session->marks()));
        for (int column = 0; column < kSlotCount; ++column) {
            updateEntryTip(column);
        }
    });
    connect(session, &Session::slotShown, m_slots, &SlotListPanel::setShown);
    connect(session, &Session::recordShownChanged, this, &frmmain::showNotesTarget);
    connect(session, &Session::headerStored, this, [this](int column) {
        updateEntryTip(column);
        statusBar()->showMessage(tr("Header fields stored in Mem %1").arg(column + 1), 4000);
    });
    connect(session, &Session::unsavedChanged, m_status, &StatusFields::setUnsaved);
    connect(session, &Session::frameNotFiled, this, [this](const QString& number) {
        statusBar()->showMessage(
            tr("A record with memory number \"%1\" arrived; it names no slot from 1 to 200 "
               "and was not filed.")
                .arg(number),
            8000);
    });
    // Any frame, filed or not, shows the instrument is there and talking.
    for (const auto arrived : {&InstrumentLink::slotFiled, &InstrumentLink::recordArrived}) {
        connect(&link(), arrived, this,
                [this] { m_status->instrumentAnswered(QTime::currentTime()); });
    }
    connect(&link(), &InstrumentLink::frameNotFiled, this,
            [this] { m_status->instrumentAnswered(QTime::currentTime()); });
    connect(session, &Session::batchProgress, m_status, &StatusFields::showProgress);
    connect(session, &Session::busyChanged, this, &frmmain::updateBusy);
    connect(session, &Session::batchFinished, this, &frmmain::batchFinished);
    connect(session, &Session::linkLost, this, &frmmain::linkLost);
    // What the operator types into a header box is what the record shown prints.
    connect(m_plotPanel, &PlotPanel::headerTextChanged, this,
            [this](std::string_view control, const QString& text) {
                m_session->view().setText(control, text);
            });
}

void frmmain::showView() {
    const SlotView& view = m_session->view();
    m_panel->showTexts(view.texts());
    m_plotPanel->plotWidget()->showRecord(m_profile, view.capture(),
                                          plotTexts(m_profile, view.texts()));
    m_plotPanel->plotWidget()->update();
}

void frmmain::batchFinished(const BatchResult& result) {
    updateBusy();
    if (result.releaseSent) {  // a lost link says so itself
        m_status->showBatchEnd(batchSummaryText(static_cast<int>(result.requested.size()),
                                                static_cast<int>(result.filed.size()),
                                                result.unanswered));
    }
    m_slots->list()->setFocus();  // back where the operator chose the slots
}

void frmmain::linkLost(const QString& reason) {
    m_status->showBatchEnd({});
    m_status->setPort(deviceFor(m_target), PortState::LinkLost);
    updateBusy();
    message({tr("Link lost"), tr("The link to the instrument was lost. Nothing partial was filed."),
             tr("%1\nReconnect the instrument and choose its port again under \"Option\".")
                 .arg(reason)});
}

void frmmain::updateBusy() {
    const bool busy = m_session->isBusy();
    m_slots->captureButton()->setEnabled(!busy);
    m_plotPanel->saveButton()->setEnabled(!busy);
    for (QAction* action : m_busyActions) {
        action->setEnabled(!busy);
    }
    m_status->setBatchRunning(m_session->batchOn());
}

}  // namespace trellicap
