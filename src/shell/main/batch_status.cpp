#include "shell/main/batch_status.h"

#include <QAction>
#include <QMainWindow>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTime>

#include "link/instrument_link.h"
#include "session/session.h"
#include "shell/main/status_fields.h"

namespace trellicap {

BatchStatus::BatchStatus(QMainWindow& window, Session& session, Controls controls)
    : QObject(&window), m_window(window), m_session(session), m_controls(std::move(controls)) {
    m_fields = new StatusFields(*window.statusBar());
    connect(m_fields->stopButton(), &QPushButton::clicked, &session, &Session::stopBatch);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    connect(esc, &QShortcut::activated, this, [this] {
        if (m_session.batchOn()) {
            m_session.stopBatch();
        }
    });
    connect(&session, &Session::unsavedChanged, m_fields, &StatusFields::setUnsaved);
    connect(&session, &Session::frameNotFiled, this, [this](const QString& number) {
        m_window.statusBar()->showMessage(
            tr("A record with memory number \"%1\" arrived; it names no slot from 1 to 200 "
               "and was not filed.")
                .arg(number),
            8000);
    });
    if (session.hasPort()) {
        // Any frame, filed or not, shows the instrument is there and talking.
        InstrumentLink& link = session.link();
        for (const auto arrived : {&InstrumentLink::slotFiled, &InstrumentLink::recordArrived}) {
            connect(&link, arrived, this,
                    [this] { m_fields->instrumentAnswered(QTime::currentTime()); });
        }
        connect(&link, &InstrumentLink::frameNotFiled, this,
                [this] { m_fields->instrumentAnswered(QTime::currentTime()); });
    }
    connect(&session, &Session::batchProgress, m_fields, &StatusFields::showProgress);
    connect(&session, &Session::busyChanged, this, &BatchStatus::updateBusy);
    connect(&session, &Session::batchFinished, this, &BatchStatus::batchFinished);
    connect(&session, &Session::linkLost, this, &BatchStatus::linkLost);
}

void BatchStatus::batchFinished(const BatchResult& result) {
    updateBusy();
    if (result.releaseSent) {  // a lost link says so itself
        m_fields->showBatchEnd(batchSummaryText(static_cast<int>(result.requested.size()),
                                                static_cast<int>(result.filed.size()),
                                                result.unanswered));
    }
    if (m_controls.afterBatch != nullptr) {
        m_controls.afterBatch->setFocus();  // back where the operator chose the slots
    }
}

void BatchStatus::linkLost(const QString& reason) {
    m_fields->showBatchEnd({});
    m_fields->setPort(m_controls.device(), PortState::LinkLost);
    updateBusy();
    m_controls.message(
        {tr("Link lost"), tr("The link to the instrument was lost. Nothing partial was filed."),
         tr("%1\nReconnect the instrument and choose its port again under \"Option\".")
             .arg(reason)});
}

void BatchStatus::updateBusy() {
    const bool busy = m_session.changeRefused().refused();
    for (QWidget* widget : m_controls.busyWidgets) {
        widget->setEnabled(!busy);
    }
    for (QAction* action : m_controls.busyActions) {
        action->setEnabled(!busy);
    }
    m_fields->setBatchRunning(m_session.batchOn());
}

}  // namespace trellicap
