#include "shell/main/reconnect_status.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>

#include "session/port_recovery.h"
#include "session/session.h"
#include "shell/main/status_fields.h"

namespace trellicap {

QString remainingSlotsText(const QList<int>& columns) {
    QStringList runs;
    for (qsizetype i = 0; i < columns.size();) {
        qsizetype end = i;
        while (end + 1 < columns.size() && columns[end + 1] == columns[end] + 1) {
            ++end;
        }
        runs.append(end == i
                        ? QString::number(columns[i] + 1)
                        : QStringLiteral("%1\u2013%2").arg(columns[i] + 1).arg(columns[end] + 1));
        i = end + 1;
    }
    const QString named = runs.join(QStringLiteral(", "));
    return columns.size() == 1 ? ReconnectStatus::tr("Capture the remaining slot %1").arg(named)
                               : ReconnectStatus::tr("Capture the remaining slots %1").arg(named);
}

QString reconnectedText(const QTime& at) {
    return ReconnectStatus::tr("Reconnected %1").arg(at.toString(QStringLiteral("HH:mm")));
}

ReconnectStatus::ReconnectStatus(QStatusBar& bar, Session& session, StatusFields& fields)
    : QObject(&bar),
      m_session(session),
      m_fields(fields),
      m_state(new QLabel(&bar)),
      m_offer(new QPushButton(&bar)) {
    m_state->setObjectName(QStringLiteral("lblreconnect"));
    m_state->setAccessibleName(tr("Instrument connection"));
    m_offer->setObjectName(QStringLiteral("cmdremaining"));
    m_offer->setFlat(true);
    m_offer->setCursor(Qt::PointingHandCursor);
    m_offer->setToolTip(tr("Capture the slots the batch did not get to before the unplug"));
    m_offer->setVisible(false);
    bar.addPermanentWidget(m_state);
    bar.addPermanentWidget(m_offer);

    PortRecovery& recovery = session.recovery();
    connect(&recovery, &PortRecovery::waitingForDevice, this, [this] {
        m_state->setText(tr("Instrument unplugged \u2014 waiting for it to come back"));
    });
    connect(&recovery, &PortRecovery::reconnected, this, [this](const QString& device) {
        m_state->setText(reconnectedText(QTime::currentTime()));
        m_fields.setPort(device, PortState::Open);
    });
    // Another port chosen while waiting: what this field said is over.
    connect(&recovery, &PortRecovery::watchEnded, m_state, &QLabel::clear);
    connect(&recovery, &PortRecovery::remainingChanged, this, &ReconnectStatus::updateOffer);
    connect(&recovery, &PortRecovery::portChanged, this, &ReconnectStatus::updateOffer);
    connect(&session, &Session::busyChanged, this, &ReconnectStatus::updateOffer);
    connect(m_offer, &QPushButton::clicked, this, [this, &bar] {
        if (const Refusal refusal = m_session.startBatch(m_session.recovery().remainingColumns());
            refusal.refused()) {
            bar.showMessage(refusal.reason(), 6000);
        }
    });
}

void ReconnectStatus::updateOffer() {
    const QList<int>& remaining = m_session.recovery().remainingColumns();
    const bool offered =
        !remaining.isEmpty() && m_session.port().isOpen() && m_session.changeRefused().done();
    if (offered) {
        m_offer->setText(remainingSlotsText(remaining));
    }
    m_offer->setVisible(offered);
}

}  // namespace trellicap
