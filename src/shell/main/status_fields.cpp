#include "shell/main/status_fields.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>

namespace trellicap {

QString batchSummaryText(int requested, int filed, const QList<int>& unanswered) {
    QString text = StatusFields::tr("Captured %1 of %2 slots").arg(filed).arg(requested);
    if (!unanswered.isEmpty()) {
        QStringList entries;
        for (const int column : unanswered) {
            entries.append(QStringLiteral("Mem %1").arg(column + 1));
        }
        text += StatusFields::tr("; no answer: %1").arg(entries.join(QStringLiteral(", ")));
    }
    return text;
}

QString portStateText(const QString& device, PortState state, const QTime& answeredAt) {
    switch (state) {
        case PortState::Open:
            return StatusFields::tr("%1 \u2014 port open").arg(device);
        case PortState::Answered:
            return StatusFields::tr("%1 \u2014 instrument answered %2")
                .arg(device, answeredAt.toString(QStringLiteral("HH:mm")));
        case PortState::NotConnected:
            return StatusFields::tr("%1 \u2014 not connected").arg(device);
        case PortState::LinkLost:
            return StatusFields::tr("%1 \u2014 link lost").arg(device);
    }
    return device;
}

StatusFields::StatusFields(QStatusBar& bar)
    : QObject(&bar),
      m_bar(bar),
      m_progress(new QLabel(&bar)),
      m_stop(new QPushButton(tr("Stop"), &bar)),
      m_port(new QLabel(&bar)),
      m_changes(new QLabel(&bar)) {
    m_progress->setObjectName(QStringLiteral("lblprogress"));
    m_stop->setObjectName(QStringLiteral("cmdstop"));
    m_stop->setToolTip(tr("End the capture after the current slot (Esc)"));
    m_stop->setVisible(false);
    m_port->setObjectName(QStringLiteral("lblport"));
    m_port->setAccessibleName(tr("Serial port"));
    m_changes->setObjectName(QStringLiteral("lblunsaved"));
    m_changes->setAccessibleName(tr("Unsaved changes"));
    m_changes->setToolTip(tr("Records captured or edited since the last save or load"));
    bar.addPermanentWidget(m_progress);
    bar.addPermanentWidget(m_stop);
    bar.addPermanentWidget(m_changes);
    bar.addPermanentWidget(m_port);
}

void StatusFields::showProgress(int slotIndex, int slotCount) {
    m_progress->setText(tr("slot %1 of %2").arg(slotIndex).arg(slotCount));
}

void StatusFields::showBatchEnd(const QString& summary) {
    m_progress->clear();
    m_bar.showMessage(summary);
}

void StatusFields::setBatchRunning(bool running) {
    m_stop->setVisible(running);
}

void StatusFields::setPort(const QString& device, PortState state) {
    m_device = device;
    m_portState = state;
    m_port->setText(portStateText(device, state));
}

void StatusFields::instrumentAnswered(const QTime& at) {
    if (m_portState == PortState::Open || m_portState == PortState::Answered) {
        m_portState = PortState::Answered;
        m_port->setText(portStateText(m_device, m_portState, at));
    }
}

void StatusFields::setUnsaved(bool unsaved) {
    m_changes->setText(unsaved ? tr("unsaved changes") : QString());
}

}  // namespace trellicap
