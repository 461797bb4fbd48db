#include "link/instrument_link.h"

#include <algorithm>

#include "link/command_blocks.h"
#include "record/memory_number.h"
#include "record/text_codes.h"

namespace trellicap {

InstrumentLink::InstrumentLink(const ModelProfile& profile, RecordStore& store, SerialPort& port,
                               QObject* parent)
    : QObject(parent),
      m_store(store),
      m_port(port),
      m_reader(profile, store.raw()),
      m_waitMs(profile.waitTimerMs) {
    Q_ASSERT(&store.profile() == &profile);
    m_waitTimer.setSingleShot(true);
    m_byteTimer.setSingleShot(true);
    connect(&m_waitTimer, &QTimer::timeout, this, &InstrumentLink::onWaitTimeout);
    connect(&m_byteTimer, &QTimer::timeout, this, &InstrumentLink::onByteTimeout);
    connect(&m_port, &SerialPort::readyRead, this, &InstrumentLink::onReadyRead);
    connect(&m_port, &SerialPort::connectionLost, this, &InstrumentLink::onConnectionLost);
}

void InstrumentLink::setWaitIntervalMs(int ms) {
    m_waitMs = ms;
}
void InstrumentLink::setFrameByteTimeoutMs(int ms) {
    m_byteTimeoutMs = ms;
}

// ---- bytes in ----

void InstrumentLink::onReadyRead() {
    // readyRead is not emitted again while this runs: take everything that is waiting.
    while (m_port.bytesAvailable() > 0) {
        const QByteArray chunk = m_port.readAll();
        if (chunk.isEmpty()) {
            break;  // a port that counts bytes it cannot deliver must not trap us here
        }
        consume(chunk);
    }
}

void InstrumentLink::consume(const QByteArray& chunk) {
    for (const char c : chunk) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (!m_reader.reading()) {
            // Idle or waiting for an answer: everything up to a sync byte is noise.
            if (byte == kSyncByte) {
                beginFrame();
            }
            continue;
        }
        if (m_reader.feed(byte)) {
            m_byteTimer.stop();
            // The rest of this read and whatever waits in the port belong to no frame.
            m_port.readAll();
            completeFrame();
            return;
        }
    }
    if (m_reader.reading()) {
        // The frame is alive. Rather than re-arm the timer on every read (about one per byte
        // at 9600 baud), the timer checks this clock when it fires.
        m_lastByte.start();
    }
}

void InstrumentLink::beginFrame() {
    m_reader.start();
    m_lastByte.start();
    m_byteTimer.start(m_byteTimeoutMs);
    updateBusy();
}

void InstrumentLink::completeFrame() {
    // Map only now: a frame that never completes leaves the capture buffer alone.
    m_reader.mapInto(m_store.capture());
    m_reader.reset();
    if (!m_batchOn) {
        fileUnsolicitedFrame();
        updateBusy();
        return;
    }
    // A requested frame is filed under the slot asked for, whatever its memory number says.
    // It counts as the answer even when tmrwt ran out during the read.
    const int column = m_reqslot - 1;
    m_store.fileRequestedFrame(column);
    m_waitTimer.stop();
    m_timedOut = false;
    emit slotFiled(column);
    if (m_batchOn) {
        nextSlot();
    }
}

void InstrumentLink::fileUnsolicitedFrame() {
    const auto capture = m_store.capture();
    const auto column = columnForMemoryNumber(memoryNumber(capture));
    if (!column) {
        // 0, above 200 or not a whole number: no slot to put it in. The frame stays in the
        // capture buffer unshown; the memory table and the slot list are not touched.
        emit frameNotFiled(codesToText(capture.subspan(kMemoryNumberFirst, 3)));
        return;
    }
    m_store.fileUnsolicitedFrame(*column);
    m_waitTimer.stop();
    m_timedOut = false;
    emit slotFiled(*column);
    emit showCapture();
}

// ---- timers ----

void InstrumentLink::onWaitTimeout() {
    m_timedOut = true;
    // Once the sync byte is in, the frame read runs to its own end.
    if (m_batchOn && !m_reader.reading()) {
        slotUnanswered();
    }
}

void InstrumentLink::onByteTimeout() {
    if (!m_reader.reading()) {
        return;
    }
    if (const qint64 quiet = m_lastByte.elapsed(); quiet < m_byteTimeoutMs) {
        m_byteTimer.start(static_cast<int>(m_byteTimeoutMs - quiet));  // bytes came since
        return;
    }
    dropFrame();
    emit frameIncomplete();
    if (m_batchOn) {
        m_timedOut = true;
        slotUnanswered();  // a frame that stopped part-way is no answer
    } else {
        updateBusy();
    }
}

void InstrumentLink::dropFrame() {
    m_byteTimer.stop();
    m_reader.reset();
    if (m_port.isOpen()) {
        m_port.readAll();  // whatever trickled in belongs to the dropped frame
    }
}

// ---- the batch ----

void InstrumentLink::startBatch(const QList<int>& selectedColumns) {
    if (isBusy()) {
        return;  // one batch at a time, and never over a frame being read
    }
    m_columns.clear();
    for (const int column : selectedColumns) {
        if (column >= 0 && column < kSlotCount) {
            m_columns.append(column);
        }
    }
    std::sort(m_columns.begin(), m_columns.end());
    m_columns.erase(std::unique(m_columns.begin(), m_columns.end()), m_columns.end());
    m_slotIndex = -1;
    m_stopRequested = false;
    m_batchOn = true;
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
    if (m_stopRequested || m_slotIndex >= m_columns.size()) {
        endBatch(true);
        return;
    }
    m_retried = false;
    emit batchProgress(static_cast<int>(m_slotIndex + 1), static_cast<int>(m_columns.size()));
    if (m_batchOn) {
        sendRequest();
    }
}

void InstrumentLink::sendRequest() {
    m_reqslot = m_columns.at(m_slotIndex) + 1;
    m_store.presetRawForRequest();
    m_port.write(slotRequest(m_reqslot));
    m_timedOut = false;
    m_waitTimer.start(m_waitMs);
    emit requestSent(m_reqslot);
}

void InstrumentLink::slotUnanswered() {
    m_waitTimer.stop();
    if (!m_retried && !m_stopRequested) {
        m_retried = true;
        sendRequest();
        return;
    }
    // Given up: the entry keeps its text and its selection, the column its contents.
    nextSlot();
}

void InstrumentLink::endBatch(bool releaseInstrument) {
    m_waitTimer.stop();
    if (m_reader.reading()) {
        dropFrame();
    }
    m_columns.clear();
    m_slotIndex = -1;
    emit showCapture();
    if (releaseInstrument && m_port.isOpen()) {
        m_port.write(releaseCommand());
    }
    m_batchOn = false;
    updateBusy();
    emit batchFinished();
}

// ---- the port ----

void InstrumentLink::onConnectionLost(const QString& reason) {
    // Nothing partial is filed, and a port that is gone gets no release.
    if (m_batchOn) {
        endBatch(false);
    } else if (m_reader.reading()) {
        m_byteTimer.stop();
        m_reader.reset();
        updateBusy();
    }
    emit linkLost(reason);
}

void InstrumentLink::portReopened() {
    if (m_batchOn) {
        endBatch(false);  // the instrument behind the new port never saw our requests
    } else if (m_reader.reading()) {
        m_byteTimer.stop();
        m_reader.reset();
    }
    m_waitTimer.stop();
    if (m_port.isOpen()) {
        m_port.readAll();
    }
    updateBusy();
}

void InstrumentLink::updateBusy() {
    const bool busy = isBusy();
    if (busy != m_busy) {
        m_busy = busy;
        emit busyChanged(busy);
    }
}

}  // namespace trellicap
