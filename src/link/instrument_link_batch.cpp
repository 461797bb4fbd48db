// The link's batch: one request per selected slot in ascending order, one retry, the release.
#include <algorithm>
#include <utility>

#include "link/command_blocks.h"
#include "link/instrument_link.h"

namespace trellicap {

namespace {

QList<int> batchColumns(const QList<int>& selectedColumns) {
    QList<int> columns;
    for (const int column : selectedColumns) {
        if (column >= 0 && column < kSlotCount) {
            columns.append(column);
        }
    }
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    return columns;
}

}  // namespace

void InstrumentLink::startBatch(const QList<int>& selectedColumns) {
    if (isBusy()) {
        return;  // one batch at a time, and never over a frame being read
    }
    m_result = BatchResult{};
    m_result.requested = batchColumns(selectedColumns);
    m_slotIndex = -1;
    m_stopRequested = false;
    m_batchOn = true;
    m_owner = ByteOwner::AwaitedAnswer;
    updateBusy();
    if (!m_port.isOpen()) {
        // Requests into a closed port would only time out slot after slot.
        endBatch(false);
        emit linkLost(tr("The port is not open."));
        return;
    }
    nextSlot();
}

void InstrumentLink::stopBatch() {
    if (m_batchOn) {
        m_stopRequested = true;
    }
}

void InstrumentLink::nextSlot() {
    ++m_slotIndex;
    const QList<int>& columns = m_result.requested;
    if (m_stopRequested || m_slotIndex >= columns.size()) {
        endBatch(true);
        return;
    }
    m_retried = false;
    emit batchProgress(static_cast<int>(m_slotIndex + 1), static_cast<int>(columns.size()));
    if (m_batchOn) {
        sendRequest();
    }
}

void InstrumentLink::sendRequest() {
    m_reqslot = m_result.requested.at(m_slotIndex) + 1;
    m_owner = ByteOwner::AwaitedAnswer;
    m_store.presetRawForRequest();
    const QByteArray request = slotRequest(m_reqslot);
    if (m_port.write(request) != request.size()) {
        portRefusedWrite();
        return;
    }
    m_waitTimer->start(m_waitMs);
    emit requestSent(m_reqslot);
}

void InstrumentLink::portRefusedWrite() {
    // A port that takes no request takes no release either: waiting for answers to requests
    // that never went out would only time out slot after slot.
    const QString reason = m_port.errorString();
    endBatch(false);
    emit linkLost(reason.isEmpty() ? tr("The port took no bytes.") : reason);
}

void InstrumentLink::slotUnanswered() {
    m_waitTimer->stop();
    if (!m_retried && !m_stopRequested) {
        m_retried = true;
        sendRequest();
        return;
    }
    // Given up: the entry keeps its text and its selection, the column its contents.
    m_result.unanswered.append(currentColumn());
    nextSlot();
}

void InstrumentLink::endBatch(bool releaseInstrument) {
    m_waitTimer->stop();
    if (m_owner == ByteOwner::Frame) {
        dropFrame();
    }
    m_slotIndex = -1;
    if (releaseInstrument && m_port.isOpen()) {
        const QByteArray release = releaseCommand();
        m_result.releaseSent = m_port.write(release) == release.size();
    }
    m_result.stoppedByOperator = m_stopRequested;
    m_batchOn = false;
    m_owner = ByteOwner::ReceivePath;
    updateBusy();
    // Handed over by value: a handler may start the next batch.
    const BatchResult result = std::exchange(m_result, BatchResult{});
    emit batchFinished(result);
}

}  // namespace trellicap
