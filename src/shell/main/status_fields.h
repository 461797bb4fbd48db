// The main window's status bar: the batch's progress and its Stop button while it runs, a
// summary after it, and two permanent fields: the port in use with its state, and whether
// the memory table holds records captured or edited since the last save or load.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTime>

class QLabel;
class QPushButton;
class QStatusBar;

namespace trellicap {

// Open: the port is open and nothing has come from the instrument yet, so "connected" would
// claim more than is known. Answered: a frame came, at the time given.
enum class PortState { Open, Answered, NotConnected, LinkLost };

// "Captured 3 of 4 slots; no answer: Mem 9" (columns count from 0, slots from 1).
[[nodiscard]] QString batchSummaryText(int requested, int filed, const QList<int>& unanswered);
// "/dev/ttyUSB0 — port open", "/dev/ttyUSB0 — instrument answered 14:02" (24-hour local
// time), "COM3 — not connected", "/dev/ttyUSB0 — link lost".
[[nodiscard]] QString portStateText(const QString& device, PortState state,
                                    const QTime& answeredAt = {});

class StatusFields : public QObject {
    Q_OBJECT
public:
    explicit StatusFields(QStatusBar& bar);

    void showProgress(int slotIndex, int slotCount);
    // The batch is over: progress and Stop go; the summary stays until the next message.
    void showBatchEnd(const QString& summary);
    void setBatchRunning(bool running);
    void setPort(const QString& device, PortState state);
    // A frame came from the instrument: an open port now says when it last answered.
    void instrumentAnswered(const QTime& at);
    // Shows the session's unsaved state (the session alone keeps it).
    void setUnsaved(bool unsaved);

    [[nodiscard]] QPushButton* stopButton() const { return m_stop; }

private:
    QStatusBar& m_bar;
    QLabel* m_progress;
    QPushButton* m_stop;
    QLabel* m_port;
    QLabel* m_changes;
    QString m_device;
    PortState m_portState = PortState::NotConnected;
};

}  // namespace trellicap
