// The link's receive side: bytes in, frames read, filed or dropped, the port's fate.
// The batch (requests, retries, release) is in instrument_link_batch.cpp.
#include "link/instrument_link.h"

#include "link/qt_link_clock.h"
#include "record/memory_number.h"
#include "record/text_codes.h"

namespace trellicap {

InstrumentLink::InstrumentLink(const ModelProfile& profile, RecordStore& store, SerialPort& port,
                               QObject* parent)
    : InstrumentLink(profile, store, port, std::make_unique<QtLinkClock>(), nullptr, parent) {}

InstrumentLink::InstrumentLink(const ModelProfile& profile, RecordStore& store, SerialPort& port,
                               LinkClock& clock, QObject* parent)
    : InstrumentLink(profile, store, port, nullptr, &clock, parent) {}

InstrumentLink::InstrumentLink(const ModelProfile& profile, RecordStore& store, SerialPort& port,
                               std::unique_ptr<LinkClock> ownClock, LinkClock* clock,
                               QObject* parent)
    : QObject(parent),
      m_ownClock(std::move(ownClock)),
      m_clock(clock ? *clock : *m_ownClock),
      m_store(store),
      m_port(port),
      m_reader(profile, store.raw()),
      m_waitTimer(m_clock.createTimer([this] { onWaitTimeout(); })),
      m_byteTimer(m_clock.createTimer([this] { onByteTimeout(); })),
      m_waitMs(profile.waitTimerMs) {
    Q_ASSERT(&store.profile() == &profile);
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
    while (m_port.isOpen() && m_port.bytesAvailable() > 0) {
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
        switch (m_owner) {
            case ByteOwner::ReceivePath:
            case ByteOwner::AwaitedAnswer:
                // Everything up to a sync byte is noise.
                if (byte == kSyncByte) {
                    beginFrame();
                }
                break;
            case ByteOwner::Frame:
                if (m_reader.feed(byte)) {
                    // The rest of this read and whatever waits in the port belong to no frame.
                    m_port.readAll();
                    completeFrame();
                    return;
                }
                break;
        }
    }
    if (m_owner == ByteOwner::Frame) {
        // The frame is alive. Rather than re-arm the timer on every read, the timer checks
        // this time when it fires.
        m_lastByteMs = m_clock.nowMs();
    }
}

void InstrumentLink::beginFrame() {
    m_owner = ByteOwner::Frame;
    m_reader.start();
    m_lastByteMs = m_clock.nowMs();
    m_byteTimer->start(m_byteTimeoutMs);
    updateBusy();
}

void InstrumentLink::completeFrame() {
    m_byteTimer->stop();
    m_owner = ownerBetweenFrames();
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
    m_store.fileRequestedFrame(currentColumn());
    m_waitTimer->stop();
    m_result.filed.append(currentColumn());
    emit slotFiled(currentColumn());
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
    emit recordArrived(*column);
}

void InstrumentLink::dropFrame() {
    m_byteTimer->stop();
    m_reader.reset();
    m_owner = ownerBetweenFrames();
    if (m_port.isOpen()) {
        m_port.readAll();  // whatever trickled in belongs to the dropped frame
    }
}

// ---- timers ----

void InstrumentLink::onWaitTimeout() {
    // Once the sync byte is in, the frame read runs to its own end.
    if (m_owner == ByteOwner::AwaitedAnswer) {
        slotUnanswered();
    }
}

void InstrumentLink::onByteTimeout() {
    if (m_owner != ByteOwner::Frame) {
        return;
    }
    if (const qint64 quiet = m_clock.nowMs() - m_lastByteMs; quiet < m_byteTimeoutMs) {
        m_byteTimer->start(static_cast<int>(m_byteTimeoutMs - quiet));  // bytes came since
        return;
    }
    dropFrame();
    emit frameIncomplete();
    if (m_batchOn) {
        slotUnanswered();  // a frame that stopped part-way is no answer
    } else {
        updateBusy();
    }
}

// ---- the port ----

void InstrumentLink::onConnectionLost(const QString& reason) {
    // Nothing partial is filed, and a port that is gone gets no release.
    if (m_batchOn) {
        endBatch(false);
    } else if (m_owner == ByteOwner::Frame) {
        dropFrame();
        updateBusy();
    }
    emit linkLost(reason);
}

void InstrumentLink::portReopened() {
    if (m_batchOn) {
        endBatch(false);  // the instrument behind the new port never saw our requests
    } else if (m_owner == ByteOwner::Frame) {
        dropFrame();
    }
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
