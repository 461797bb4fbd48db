#include "link/tty_read_gathering.h"

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace trellicap {

TtyReadGathering::TtyReadGathering(QObject* parent) : QObject(parent) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &TtyReadGathering::onQuiet);
}

void TtyReadGathering::attach(qintptr descriptor) {
    detach();
    m_descriptor = descriptor;
#ifdef Q_OS_UNIX
    termios settings{};
    m_usable = descriptor >= 0 && tcgetattr(static_cast<int>(descriptor), &settings) == 0 &&
               settings.c_cc[VTIME] == 0;  // with VTIME set, poll() ignores VMIN
#endif
    setWakeUpCount(1);
}

void TtyReadGathering::detach() {
    // The port restores the line settings it found at its open when it closes.
    m_quiet.stop();
    m_gathering = false;
    m_usable = false;
    m_descriptor = -1;
}

void TtyReadGathering::delivered() {
    if (!m_usable) {
        return;
    }
    if (!m_gathering) {
        setWakeUpCount(kGatherBytes);
        m_gathering = true;
    }
    m_quiet.start();  // restarted by every delivery: it fires once the bytes stop
}

void TtyReadGathering::onQuiet() {
    // Bytes below the count may wait: waking on one byte again lets them through at the
    // next turn of the event loop, and their delivery gathers again for a while.
    setWakeUpCount(1);
    m_gathering = false;
}

void TtyReadGathering::setWakeUpCount(int bytes) {
#ifdef Q_OS_UNIX
    if (!m_usable) {
        return;
    }
    termios settings{};
    const int fd = static_cast<int>(m_descriptor);
    if (tcgetattr(fd, &settings) != 0) {
        m_usable = false;
        return;
    }
    settings.c_cc[VMIN] = static_cast<cc_t>(bytes);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        m_usable = false;  // the port reports a device that went away on its own
    }
#else
    Q_UNUSED(bytes);
#endif
}

}  // namespace trellicap
