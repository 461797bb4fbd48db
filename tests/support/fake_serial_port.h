// A scripted SerialPort for tests: records what the link writes, lets the test play the
// instrument by injecting bytes (now or later, as separate reads) and pull the plug.
//
// Writes are taken by the "system" later, from the event queue (allBytesWritten then), unless
// the test stalls the line: then the write timeout closes the port as QtSerialPort's does.
// "Later" means the test's ManualClock after useClock(), else the Qt event loop.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTimer>
#include <functional>
#include <utility>

#include "link/serial_port.h"
#include "support/manual_clock.h"

namespace trellicap::testing {

class FakeSerialPort final : public SerialPort {
public:
    using SerialPort::SerialPort;

    bool open(const QString& device) override {
        m_device = device;
        m_open = m_openSucceeds;
        dropWaitingBytes();
        return m_open;
    }
    void close() override {
        m_open = false;
        dropWaitingBytes();
    }
    [[nodiscard]] bool isOpen() const override { return m_open; }
    [[nodiscard]] QString deviceName() const override { return m_device; }
    qint64 write(const QByteArray& bytes) override {
        if (!m_open || m_refuseWrites) {
            return -1;
        }
        m_written += bytes;
        m_writes.append(bytes);
        m_queued += bytes.size();
        const int generation = ++m_writeGeneration;
        if (m_stalled) {
            later(m_writeTimeoutMs, [this, generation] {
                if (m_open && m_queued > 0 && generation == m_writeGeneration) {
                    loseConnection(QStringLiteral("write timed out"), Loss::LineStuck);
                }
            });
        } else {
            later(0, [this, generation] { takeQueued(generation); });
        }
        if (onWrite) {
            onWrite(bytes);
        }
        return bytes.size();
    }
    [[nodiscard]] qint64 bytesToWrite() const override { return m_queued; }
    void setWriteTimeoutMs(int ms) override { m_writeTimeoutMs = ms; }
    [[nodiscard]] qint64 bytesAvailable() const override { return m_incoming.size(); }
    QByteArray readAll() override {
        ++m_reads;
        return std::exchange(m_incoming, {});
    }
    [[nodiscard]] QString errorString() const override {
        return m_refuseWrites ? QStringLiteral("refused") : QString();
    }
    [[nodiscard]] bool lastOpenDeniedPermission() const override { return false; }
    [[nodiscard]] Loss lastLoss() const override { return m_lastLoss; }

    // ---- the test's side of the line ----

    // Schedules "later" on the test's clock instead of the Qt event loop.
    void useClock(ManualClock& clock) { m_clock = &clock; }

    // Bytes arrive; readyRead fires at once (do not call from inside onWrite).
    void inject(const QByteArray& bytes) {
        if (!m_open) {
            return;
        }
        m_incoming += bytes;
        emit readyRead();
    }
    // Bytes arrive after ms, as a read of their own.
    void injectLater(const QByteArray& bytes, int ms = 0) {
        later(ms, [this, bytes] { inject(bytes); });
    }
    // Bytes arrive in pieces of chunkSize, one read each, pauseMs apart.
    void injectInChunks(const QByteArray& bytes, int chunkSize, int pauseMs = 0) {
        for (qsizetype i = 0, n = 0; i < bytes.size(); i += chunkSize, ++n) {
            injectLater(bytes.mid(i, chunkSize), static_cast<int>(n) * pauseMs);
        }
    }
    // The device goes away (or the line is stuck): the port is closed, then the loss is
    // reported.
    void loseConnection(const QString& reason = QStringLiteral("device vanished"),
                        Loss loss = Loss::DeviceGone) {
        m_open = false;
        m_lastLoss = loss;
        dropWaitingBytes();
        emit connectionLost(reason);
    }

    void setOpenSucceeds(bool ok) { m_openSucceeds = ok; }
    // write() returns -1 (a port that takes nothing).
    void setRefuseWrites(bool refuse) { m_refuseWrites = refuse; }
    // Written bytes stay queued until the write timeout closes the port.
    void setStalled(bool stalled) { m_stalled = stalled; }
    // Called with every write; the test answers requests from here (use injectLater).
    std::function<void(const QByteArray&)> onWrite;

    [[nodiscard]] const QByteArray& written() const { return m_written; }
    [[nodiscard]] const QList<QByteArray>& writes() const { return m_writes; }
    [[nodiscard]] int readCount() const { return m_reads; }
    [[nodiscard]] int allWrittenCount() const { return m_allWritten; }

private:
    void later(int ms, std::function<void()> event) {
        if (m_clock) {
            m_clock->schedule(ms, std::move(event));
        } else {
            QTimer::singleShot(ms, this, std::move(event));
        }
    }
    void takeQueued(int generation) {
        // Only the latest write's turn empties the queue, as one bytesWritten for them all.
        if (m_open && generation == m_writeGeneration && m_queued > 0) {
            m_queued = 0;
            ++m_allWritten;
            emit allBytesWritten();
        }
    }
    void dropWaitingBytes() {
        m_incoming.clear();
        m_queued = 0;
    }

    bool m_open = true;
    bool m_openSucceeds = true;
    bool m_refuseWrites = false;
    bool m_stalled = false;
    Loss m_lastLoss = Loss::DeviceGone;
    QString m_device = QStringLiteral("fake");
    QByteArray m_incoming;  // in the port's buffer: what bytesAvailable() counts
    QByteArray m_written;
    QList<QByteArray> m_writes;
    qint64 m_queued = 0;  // written, not yet taken by the "system"
    int m_writeGeneration = 0;
    int m_writeTimeoutMs = kDefaultWriteTimeoutMs;
    int m_reads = 0;
    int m_allWritten = 0;
    ManualClock* m_clock = nullptr;
};

}  // namespace trellicap::testing
