// Fewer wake-ups for a port whose bytes trickle in: while bytes keep coming, the terminal
// driver is asked to wake the reader only once kGatherBytes have gathered (VMIN with VTIME
// 0, which poll() honours on Linux), and a quiet period hands over what is left. At 9600
// baud a byte comes about every millisecond; one wake-up per byte is most of the CPU time
// a capture costs. The driver still looks in on the sleeping reader for each byte, but the
// program itself runs once per kGatherBytes.
//
// Private to QtSerialPort: it works on the descriptor's line settings only and never reads
// from it, so QSerialPort stays the one reader. Where the descriptor is no terminal, or on
// a system without termios, it does nothing and every byte wakes the reader as before.
#pragma once

#include <QObject>
#include <QTimer>

namespace trellicap {

class TtyReadGathering : public QObject {
    Q_OBJECT
public:
    // A wake-up per ~17 ms at 9600 baud instead of one per millisecond.
    static constexpr int kGatherBytes = 16;
    // After this long without a delivery the driver wakes the reader for every byte again,
    // which hands over what gathered below kGatherBytes (a frame's last bytes). Just above
    // the time kGatherBytes take at 9600 baud, so that a stream keeps gathering and its end
    // is held back no longer than needed: a frame is complete at most this much later.
    static constexpr int kQuietMs = 25;

    explicit TtyReadGathering(QObject* parent = nullptr);

    // The port opened this descriptor (-1: none); delivery starts byte by byte.
    void attach(qintptr descriptor);
    void detach();
    // Bytes were handed over: more are likely, so gather until the line goes quiet.
    void delivered();

    [[nodiscard]] bool gathering() const { return m_gathering; }

private:
    void setWakeUpCount(int bytes);
    void onQuiet();

    qintptr m_descriptor = -1;
    bool m_usable = false;  // the descriptor is a terminal whose settings could be read
    bool m_gathering = false;
    QTimer m_quiet;
};

}  // namespace trellicap
