// The main window's side of the instrument link: what the window shows when a request goes
// out, a record is filed, a batch ends or the port goes away.
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTime>

#include "display/ascan_plot.h"
#include "display/ui/plot_widget.h"
#include "link/instrument_link.h"
#include "shell/frmmain.h"
#include "shell/plot_panel.h"
#include "shell/slot_list_panel.h"
#include "shell/slot_tip.h"
#include "shell/status_fields.h"

namespace trellicap {

void frmmain::connectLink() {
    InstrumentLink* link = m_link.get();
    connect(link, &InstrumentLink::requestSent, this, [this] {
        clearPlot(m_plot);
        m_plotPanel->plotWidget()->clearRecord();
    });
    connect(link, &InstrumentLink::slotFiled, this, &frmmain::recordFiled);
    connect(link, &InstrumentLink::recordArrived, this, [this](int column) {
        recordFiled(column);
        display_pattern();
        display_setup();
        m_recordShown = column;
        showNotesTarget();
    });
    connect(link, &InstrumentLink::frameNotFiled, this, [this](const QString& number) {
        statusBar()->showMessage(
            tr("A record with memory number \"%1\" arrived; it names no slot from 1 to 200 "
               "and was not filed.")
                .arg(number),
            8000);
    });
    // Any frame, filed or not, shows the instrument is there and talking.
    for (const auto arrived : {&InstrumentLink::slotFiled, &InstrumentLink::recordArrived}) {
        connect(link, arrived, this,
                [this] { m_status->instrumentAnswered(QTime::currentTime()); });
    }
    connect(link, &InstrumentLink::frameNotFiled, this,
            [this] { m_status->instrumentAnswered(QTime::currentTime()); });
    connect(link, &InstrumentLink::batchProgress, m_status, &StatusFields::showProgress);
    connect(link, &InstrumentLink::busyChanged, this, &frmmain::updateBusy);
    connect(link, &InstrumentLink::batchFinished, this, &frmmain::batchFinished);
    connect(link, &InstrumentLink::linkLost, this, &frmmain::linkLost);
}

void frmmain::batchFinished(const BatchResult& result) {
    // The capture buffer holds the batch's last frame, or what it held before if none came.
    display_pattern();
    display_setup();
    if (!result.filed.isEmpty()) {
        m_recordShown = result.filed.back();
        showNotesTarget();
    }
    updateBusy();
    if (result.releaseSent) {  // a lost link says so itself
        m_status->showBatchEnd(batchSummaryText(static_cast<int>(result.requested.size()),
                                                static_cast<int>(result.filed.size()),
                                                result.unanswered));
    }
    m_slots->list()->setFocus();  // back where the operator chose the slots
}

void frmmain::recordFiled(int column) {
    m_slots->mark(column);
    m_slots->setEntryTip(column, slotTip(m_profile, m_store.column(column)));
    m_status->setUnsaved(true);
}

void frmmain::linkLost(const QString& reason) {
    m_status->showBatchEnd({});
    m_status->setPort(deviceFor(m_target), PortState::LinkLost);
    m_portFailure = reason;
    updateBusy();
    message({tr("Link lost"), tr("The link to the instrument was lost. Nothing partial was filed."),
             tr("%1\nReconnect the instrument and choose its port again under \"Option\".")
                 .arg(reason)});
}

void frmmain::updateBusy() {
    const bool busy = m_link->isBusy();
    m_slots->captureButton()->setEnabled(!busy);
    m_plotPanel->saveButton()->setEnabled(!busy);
    for (QAction* action : m_busyActions) {
        action->setEnabled(!busy);
    }
    m_status->setBatchRunning(m_link->batchOn());
}

}  // namespace trellicap
