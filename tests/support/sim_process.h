// The instrument simulator as a child process on a pty: started with options, it prints the
// pty's path first; its standard input takes commands such as "send 12".
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <map>

namespace trellicap::testing {

class SimProcess {
public:
    // The simulator from TRELLICAP_SIM, else the one built with this tree; empty when none.
    static QString executable() {
        QString path = qEnvironmentVariable("TRELLICAP_SIM");
#ifdef TRELLICAP_SIM_PATH
        if (path.isEmpty()) {
            path = QStringLiteral(TRELLICAP_SIM_PATH);
        }
#endif
        return path;
    }

    ~SimProcess() {
        stop();
    }

    // Starts it and waits for the pty path; false with error() set when that fails.
    bool start(const QStringList& arguments) {
        m_process.setProgram(executable());
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted(5000)) {
            m_error = m_process.errorString();
            return false;
        }
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(5000)) {
                m_error = QStringLiteral("no pty path from the simulator");
                return false;
            }
        }
        m_pty = QString::fromLocal8Bit(m_process.readLine()).trimmed();
        return !m_pty.isEmpty();
    }

    void command(const QByteArray& line) {
        m_process.write(line + '\n');
    }

    // Sends a command and waits for its "ok", so that a fault is armed before the next
    // request reaches the simulator. Event lines that come first are skipped.
    bool commandAcknowledged(const QByteArray& line, int timeoutMs = 5000) {
        command(line);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (m_process.canReadLine()) {
                const QByteArray reply = m_process.readLine().trimmed();
                if (reply == "ok") {
                    return true;
                }
                if (reply.startsWith("error")) {
                    return false;
                }
            }
            m_process.waitForReadyRead(100);
        }
        return false;
    }

    // Waits for an event line such as "release", skipping the lines before it; false when
    // timeoutMs pass first. Lines read by an earlier wait are not seen again.
    bool waitForLine(const QByteArray& line, int timeoutMs = 5000) {
        return !waitForLineStartingWith(line, timeoutMs, true).isEmpty();
    }

    // Waits for a line starting with `start` ("replugged "), skipping the lines before it;
    // the whole line, or empty when timeoutMs pass first.
    QByteArray waitForLineStartingWith(const QByteArray& start, int timeoutMs = 5000,
                                       bool wholeLine = false) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (m_process.canReadLine()) {
                const QByteArray read = m_process.readLine().trimmed();
                if (wholeLine ? read == start : read.startsWith(start)) {
                    return read;
                }
            }
            m_process.waitForReadyRead(100);
        }
        return {};
    }

    // The lines that have come so far, without waiting: for a test that waits with the event
    // loop running (waitUntil), so that the program under test goes on meanwhile.
    QList<QByteArray> takeLines() {
        QList<QByteArray> lines;
        while (m_process.canReadLine()) {
            lines.append(m_process.readLine().trimmed());
        }
        return lines;
    }

    void stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.closeWriteChannel();
            if (!m_process.waitForFinished(2000)) {
                m_process.kill();
                m_process.waitForFinished(2000);
            }
        }
    }

    [[nodiscard]] const QString& pty() const {
        return m_pty;
    }
    [[nodiscard]] const QString& error() const {
        return m_error;
    }

    // Field name -> its text (between the quotes) of a slot as the simulator generates it,
    // from --print-fields ("txtclock" -> "ON     ", "timedate" -> "1055010623").
    static std::map<QString, QString> fields(const QStringList& modelArguments, int slot) {
        QProcess p;
        p.start(executable(),
                modelArguments + QStringList{"--print-fields", QString::number(slot)});
        p.waitForFinished(5000);
        std::map<QString, QString> texts;
        for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
            const qsizetype open = line.indexOf('"');
            const qsizetype close = line.lastIndexOf('"');
            if (open > 0 && close > open) {
                texts[QString::fromLatin1(line.left(line.indexOf(' ')))] =
                    QString::fromLatin1(line.mid(open + 1, close - open - 1));
            }
        }
        return texts;
    }

    // Record index -> value of a slot as the simulator generates it (the indexes a frame
    // carries), from --print-record.
    static std::map<int, int> record(const QStringList& modelArguments, int slot) {
        QProcess p;
        p.start(executable(),
                modelArguments + QStringList{"--print-record", QString::number(slot)});
        p.waitForFinished(5000);
        std::map<int, int> values;
        for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() == 2) {
                values[parts[0].toInt()] = parts[1].toInt();
            }
        }
        return values;
    }

private:
    QProcess m_process;
    QString m_pty;
    QString m_error;
};

}  // namespace trellicap::testing
