// A pseudo-terminal pair for tests: the test keeps the master and plays the instrument on it,
// the program opens the slave (slave()) as its serial device. Closing the master (hangUp())
// is what the program sees when a cable is pulled: a hang-up on its device. Where the system
// has no pseudo-terminals (Windows) slave() stays empty and the tests that need one skip.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

// A test that plays the instrument on a pty skips where there is none.
#define TRELLICAP_SKIP_WITHOUT_PTY(pty)                             \
    do {                                                            \
        if ((pty).slave().isEmpty()) {                              \
            GTEST_SKIP() << "no pseudo-terminal could be had here"; \
        }                                                           \
    } while (false)

namespace trellicap::testing {

class Pty {
public:
    Pty() {
#ifdef Q_OS_UNIX
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            m_slave = QString::fromLocal8Bit(ptsname(m_master));
        }
#endif
    }
    ~Pty() {
        hangUp();
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Empty when no pty could be had.
    [[nodiscard]] const QString& slave() const {
        return m_slave;
    }
    [[nodiscard]] int master() const {
        return m_master;
    }

    // Sends bytes towards the program; false when not all of them went.
    bool write(const QByteArray& bytes) {
#ifdef Q_OS_UNIX
        return m_master >= 0 && ::write(m_master, bytes.constData(), bytes.size()) == bytes.size();
#else
        Q_UNUSED(bytes);
        return false;
#endif
    }
    void hangUp() {
#ifdef Q_OS_UNIX
        if (m_master >= 0) {
            ::close(m_master);
            m_master = -1;
        }
#endif
    }

private:
    int m_master = -1;
    QString m_slave;
};

}  // namespace trellicap::testing
