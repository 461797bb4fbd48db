// The instrument link: one state machine on the user-interface thread that owns the bytes
// coming off the port. Driven by SerialPort::readyRead and the timers of its LinkClock; it
// never blocks, never spins and never runs a nested event loop.
//
// Who the bytes belong to (ByteOwner):
//   ReceivePath    idle: non-255 dropped, 255 opens a frame the operator sent
//   AwaitedAnswer  a batch request is outstanding: non-255 dropped, 255 opens its answer
//   Frame          the FrameReader, until block B is complete or the bytes stop
// After a frame the rest of that read and whatever waits in the port are dropped.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

#include "link/batch_result.h"
#include "link/frame_reader.h"
#include "link/link_clock.h"
#include "link/serial_port.h"
#include "profiles/model_profile.h"
#include "record/record_store.h"

namespace trellicap {

class InstrumentLink : public QObject {
    Q_OBJECT
public:
    // On the program's clock (QTimer, QElapsedTimer).
    InstrumentLink(const ModelProfile& profile, RecordStore& store, SerialPort& port,
                   QObject* parent = nullptr);
    // On a clock of the caller's; it must outlive the link.
    InstrumentLink(const ModelProfile& profile, RecordStore& store, SerialPort& port,
                   LinkClock& clock, QObject* parent = nullptr);

    // How long a request waits for its sync byte (tmrwt); the profile's value by default.
    void setWaitIntervalMs(int ms);
    // How long a frame may go without a byte before it is dropped; 2000 ms by default.
    void setFrameByteTimeoutMs(int ms);

    // Requests each of the memory-table columns (slot-list indexes) in ascending order,
    // one retry per slot. Ignored while busy. A closed port ends the batch at once.
    void startBatch(const QList<int>& selectedColumns);
    // No further request after the one outstanding (not even its retry); the release is
    // still sent.
    void stopBatch();

    [[nodiscard]] bool batchOn() const { return m_batchOn; }
    // A batch runs or a frame is being read: commands that change the capture buffer or
    // the memory table must wait.
    [[nodiscard]] bool isBusy() const { return m_batchOn || m_owner == ByteOwner::Frame; }

    // The port was closed and opened again (possibly another device): whatever was under
    // way is dropped, a batch ends without the release, and the link is idle.
    void portReopened();

signals:
    void requestSent(int slot);
    // A requested frame was filed under the column asked for.
    void slotFiled(int column);
    // A frame the operator sent from the instrument was filed under its memory number; it is
    // also in the capture buffer.
    void recordArrived(int column);
    // A frame sent from the instrument whose memory number names no slot 1..200.
    void frameNotFiled(const QString& memoryNumberText);
    // A frame stopped part-way and was dropped; nothing was changed.
    void frameIncomplete();
    void batchProgress(int slotIndex, int slotCount);  // slotIndex counts from 1
    void busyChanged(bool busy);
    void linkLost(const QString& reason);
    // After the release went out (or could not) and the link is idle; the capture buffer
    // holds the batch's last frame.
    void batchFinished(const trellicap::BatchResult& result);

private:
    enum class ByteOwner { ReceivePath, AwaitedAnswer, Frame };

    InstrumentLink(const ModelProfile& profile, RecordStore& store, SerialPort& port,
                   std::unique_ptr<LinkClock> ownClock, LinkClock* clock, QObject* parent);

    void onReadyRead();
    void consume(const QByteArray& chunk);
    void beginFrame();
    void completeFrame();
    void fileUnsolicitedFrame();
    void dropFrame();
    void onWaitTimeout();
    void onByteTimeout();
    void onConnectionLost(const QString& reason);

    void nextSlot();
    void sendRequest();
    void portRefusedWrite();
    void slotUnanswered();
    void endBatch(bool releaseInstrument);
    void updateBusy();
    [[nodiscard]] int currentColumn() const { return m_reqslot - 1; }
    [[nodiscard]] ByteOwner ownerBetweenFrames() const {
        return m_batchOn ? ByteOwner::AwaitedAnswer : ByteOwner::ReceivePath;
    }

    std::unique_ptr<LinkClock> m_ownClock;  // set when the link runs on the program's clock
    LinkClock& m_clock;
    RecordStore& m_store;
    SerialPort& m_port;
    FrameReader m_reader;
    std::unique_ptr<LinkTimer> m_waitTimer;  // tmrwt: bounds the wait for a sync byte
    std::unique_ptr<LinkTimer> m_byteTimer;  // bounds the gap between bytes of a frame
    qint64 m_lastByteMs = 0;                 // when the frame's latest bytes were read
    int m_waitMs;
    int m_byteTimeoutMs = 2000;

    ByteOwner m_owner = ByteOwner::ReceivePath;
    bool m_batchOn = false;
    bool m_retried = false;
    bool m_stopRequested = false;
    bool m_busy = false;  // last value told through busyChanged
    int m_reqslot = 0;    // slot number (1..200) of the latest request
    qsizetype m_slotIndex = -1;
    BatchResult m_result;  // of the batch under way; m_result.requested is its column list
};

}  // namespace trellicap
