// The instrument link: one state machine on the user-interface thread that owns the bytes
// coming off the port. Driven by SerialPort::readyRead and three timers; it never blocks,
// never spins and never runs a nested event loop.
//
// Who the bytes belong to:
//   idle            the receive path: non-255 dropped, 255 opens a frame the operator sent
//   batch, waiting  the answer to the outstanding request: non-255 dropped, 255 opens it
//   frame read      the FrameReader, until block B is complete or the bytes stop
// After a frame the rest of that read and whatever waits in the port are dropped.
#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include "link/frame_reader.h"
#include "link/serial_port.h"
#include "profiles/model_profile.h"
#include "record/record_store.h"

namespace trellicap {

class InstrumentLink : public QObject {
    Q_OBJECT
public:
    InstrumentLink(const ModelProfile& profile, RecordStore& store, SerialPort& port,
                   QObject* parent = nullptr);

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
    [[nodiscard]] bool timedOut() const { return m_timedOut; }
    // The slot number (1..200) of the latest request; 0 before the first.
    [[nodiscard]] int reqslot() const { return m_reqslot; }
    // A batch runs or a frame is being read: commands that change the capture buffer or
    // the memory table must wait.
    [[nodiscard]] bool isBusy() const { return m_batchOn || m_reader.reading(); }
    [[nodiscard]] FrameReader::Stage frameStage() const { return m_reader.stage(); }

    // The port was closed and opened again (possibly another device): whatever was under
    // way is dropped, a batch ends without the release, and the link is idle.
    void portReopened();

signals:
    void requestSent(int slot);
    void slotFiled(int column);
    // Show the capture buffer: the plot, then the settings panel.
    void showCapture();
    // A frame sent from the instrument whose memory number names no slot 1..200.
    void frameNotFiled(const QString& memoryNumberText);
    // A frame stopped part-way and was dropped; nothing was changed.
    void frameIncomplete();
    void batchProgress(int slotIndex, int slotCount);  // slotIndex counts from 1
    void busyChanged(bool busy);
    void linkLost(const QString& reason);
    void batchFinished();

private:
    void onReadyRead();
    void consume(const QByteArray& chunk);
    void beginFrame();
    void completeFrame();
    void fileUnsolicitedFrame();
    void onWaitTimeout();
    void onByteTimeout();
    void onConnectionLost(const QString& reason);

    void nextSlot();
    void sendRequest();
    void slotUnanswered();
    void endBatch(bool releaseInstrument);
    void dropFrame();
    void updateBusy();

    RecordStore& m_store;
    SerialPort& m_port;
    FrameReader m_reader;
    QTimer m_waitTimer;        // tmrwt: bounds the wait for a request's sync byte
    QTimer m_byteTimer;        // bounds the gap between bytes of a frame
    QElapsedTimer m_lastByte;  // when the frame's latest bytes came
    int m_waitMs;
    int m_byteTimeoutMs = 2000;

    bool m_batchOn = false;
    bool m_timedOut = false;
    bool m_retried = false;
    bool m_stopRequested = false;
    bool m_busy = false;  // last value told through busyChanged
    int m_reqslot = 0;
    QList<int> m_columns;
    qsizetype m_slotIndex = -1;
};

}  // namespace trellicap
