// The status bar's side of an unplug, over the session's PortRecovery: "Instrument unplugged —
// waiting for it to come back" while the adapter is watched for, "Reconnected 14:02" once the
// port is open on it again (the port field says "port open" then), and, while the port is
// open and idle, the offer "Capture the remaining slots 57–200" for a batch the unplug cut
// short: a button that starts a batch of exactly those slots.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTime>

class QLabel;
class QPushButton;
class QStatusBar;

namespace trellicap {

class Session;
class StatusFields;

// "Capture the remaining slots 57–200", "Capture the remaining slot 57", and for slots that
// do not follow on: "Capture the remaining slots 3, 57–60" (columns count from 0).
[[nodiscard]] QString remainingSlotsText(const QList<int>& columns);
// "Reconnected 14:02", 24-hour local time.
[[nodiscard]] QString reconnectedText(const QTime& at);

class ReconnectStatus : public QObject {
    Q_OBJECT
public:
    // Adds its field and its button to the window's status bar. The session must have a port.
    ReconnectStatus(QStatusBar& bar, Session& session, StatusFields& fields);

private:
    void updateOffer();

    Session& m_session;
    StatusFields& m_fields;
    QLabel* m_state;
    QPushButton* m_offer;
};

}  // namespace trellicap
