// A pseudo-terminal pair for tests: the test keeps the master and plays the instrument on it,
// the program opens the slave (slave()) as its serial device. Closing the master (hangUp())
// is what the program sees when a cable is pulled: a hang-up on its device.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <cstdlib>

namespace trellicap::testing {

class Pty {
public:
    Pty() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            m_slave = QString::fromLocal8Bit(ptsname(m_master));
        }
    }
    ~Pty() { hangUp(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Empty when no pty could be had.
    [[nodiscard]] const QString& slave() const { return m_slave; }
    [[nodiscard]] int master() const { return m_master; }

    // Sends bytes towards the program; false when not all of them went.
    bool write(const QByteArray& bytes) {
        return m_master >= 0 && ::write(m_master, bytes.constData(), bytes.size()) == bytes.size();
    }
    void hangUp() {
        if (m_master >= 0) {
            ::close(m_master);
            m_master = -1;
        }
    }

private:
    int m_master = -1;
    QString m_slave;
};

}  // namespace trellicap::testing
