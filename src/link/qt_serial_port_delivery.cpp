// QtSerialPort: read notifications off and on, and collecting what waited while they were off.
//
// QSerialPort (Unix) reads the descriptor from a QSocketNotifier child and emits readyRead
// on every arrival; skipping the signal would not skip the wake-up, so the notifier itself is
// switched. Collecting goes straight to the descriptor: through QSerialPort the read would
// switch the notifier on again (QIODevice calls readData() when its buffer runs empty), and
// each switch costs the GLib event dispatcher a wake-up of its own.
#include <QSocketNotifier>

#include "link/qt_serial_port.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace trellicap {

void QtSerialPort::setReadNotificationsEnabled(bool enabled) {
    if (QSocketNotifier* notifier = readNotifier()) {
        notifier->setEnabled(enabled);  // a no-op when it already is
    }
}

bool QtSerialPort::deliverWaiting() {
#ifdef Q_OS_UNIX
    if (!m_port.isOpen()) {
        return false;
    }
    char chunk[512];
    const ssize_t n = ::read(m_port.handle(), chunk, sizeof chunk);
    if (n <= 0) {
        // Nothing waited, or the line is gone: once the caller switches the notifier on,
        // QSerialPort's own read tells which (a hang-up then reaches onError()).
        return false;
    }
    m_collected.append(chunk, static_cast<qsizetype>(n));
    emit readyRead();
    return true;
#else
    return false;  // notifications were never off: readyRead brings everything
#endif
}

QSocketNotifier* QtSerialPort::readNotifier() {
#ifdef Q_OS_UNIX
    if (!m_port.isOpen()) {
        return nullptr;
    }
    if (m_readNotifier && m_readNotifier->socket() == m_port.handle()) {
        return m_readNotifier;
    }
    // The one that watches this descriptor for reading (there is also a write notifier). A
    // reopen makes a new one; the old one is gone with the old descriptor.
    m_readNotifier = nullptr;
    const auto notifiers = m_port.findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly);
    for (QSocketNotifier* notifier : notifiers) {
        if (notifier->type() == QSocketNotifier::Read && notifier->socket() == m_port.handle()) {
            m_readNotifier = notifier;
        }
    }
    return m_readNotifier;
#else
    return nullptr;
#endif
}

}  // namespace trellicap
