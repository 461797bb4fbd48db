// A scripted SerialPort for tests: records what the link writes, lets the test play the
// instrument by injecting bytes (now or later, as separate reads) and pull the plug.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTimer>
#include <functional>
#include <utility>

#include "link/serial_port.h"

namespace trellicap::testing {

class FakeSerialPort final : public SerialPort {
public:
    using SerialPort::SerialPort;

    bool open(const QString& device) override {
        m_device = device;
        m_open = m_openSucceeds;
        m_incoming.clear();
        return m_open;
    }
    void close() override { m_open = false; }
    [[nodiscard]] bool isOpen() const override { return m_open; }
    [[nodiscard]] QString deviceName() const override { return m_device; }
    void write(const QByteArray& bytes) override {
        m_written += bytes;
        m_writes.append(bytes);
        if (onWrite) {
            onWrite(bytes);
        }
    }
    [[nodiscard]] qint64 bytesAvailable() const override { return m_incoming.size(); }
    QByteArray readAll() override {
        ++m_reads;
        return std::exchange(m_incoming, {});
    }
    [[nodiscard]] QString errorString() const override { return {}; }
    [[nodiscard]] bool lastOpenDeniedPermission() const override { return false; }

    // ---- the test's side of the line ----

    // Bytes arrive and readyRead fires at once (do not call from inside onWrite).
    void inject(const QByteArray& bytes) {
        if (!m_open) {
            return;
        }
        m_incoming += bytes;
        emit readyRead();
    }
    // Bytes arrive from the event loop after ms, as a read of their own.
    void injectLater(const QByteArray& bytes, int ms = 0) {
        QTimer::singleShot(ms, this, [this, bytes] { inject(bytes); });
    }
    // Bytes arrive in pieces of chunkSize, one read each, pauseMs apart.
    void injectInChunks(const QByteArray& bytes, int chunkSize, int pauseMs = 0) {
        for (qsizetype i = 0, n = 0; i < bytes.size(); i += chunkSize, ++n) {
            injectLater(bytes.mid(i, chunkSize), static_cast<int>(n) * pauseMs);
        }
    }
    // The device goes away: the port is closed, then the loss is reported.
    void loseConnection(const QString& reason = QStringLiteral("device vanished")) {
        m_open = false;
        m_incoming.clear();
        emit connectionLost(reason);
    }

    void setOpenSucceeds(bool ok) { m_openSucceeds = ok; }
    // Called with every write; the test answers requests from here (use injectLater).
    std::function<void(const QByteArray&)> onWrite;

    [[nodiscard]] const QByteArray& written() const { return m_written; }
    [[nodiscard]] const QList<QByteArray>& writes() const { return m_writes; }
    [[nodiscard]] int readCount() const { return m_reads; }

private:
    bool m_open = true;
    bool m_openSucceeds = true;
    QString m_device = QStringLiteral("fake");
    QByteArray m_incoming;
    QByteArray m_written;
    QList<QByteArray> m_writes;
    int m_reads = 0;
};

}  // namespace trellicap::testing
