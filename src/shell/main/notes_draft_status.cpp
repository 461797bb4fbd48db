#include "shell/main/notes_draft_status.h"

#include <QPushButton>
#include <QStatusBar>

#include "session/session.h"
#include "shell/common/window_host.h"

namespace trellicap {

namespace {
constexpr int kOfferMs = 20000;
}  // namespace

NotesDraftStatus::NotesDraftStatus(Session& session, WindowHost& host, QStatusBar& bar)
    : QObject(&bar),
      m_session(session),
      m_host(host),
      m_bar(bar),
      m_undo(new QPushButton(tr("Undo"), &bar)) {
    m_undo->setObjectName(QStringLiteral("cmdundonotes"));
    m_undo->setToolTip(tr("Show that slot again with the notes typed for it"));
    m_undo->hide();
    bar.addWidget(m_undo);
    connect(m_undo, &QPushButton::clicked, this, &NotesDraftStatus::undo);
    connect(&session, &Session::notesSetAside, this, &NotesDraftStatus::setAside);
    // The offer goes with its message (the next message, or its time running out).
    connect(&bar, &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (!text.startsWith(tr("Notes typed for"))) {
            m_undo->hide();
        }
    });
}

void NotesDraftStatus::setAside(int column) {
    m_bar.showMessage(tr("Notes typed for Mem %1 were not stored").arg(column + 1), kOfferMs);
    m_undo->show();
}

void NotesDraftStatus::undo() {
    m_undo->hide();
    if (const Refusal refusal = m_session.bringBackNotes(); refusal.refused()) {
        m_host.showStatus(refusal.reason(), 6000);
        return;
    }
    m_host.showStatus(tr("The notes typed are back; \"S  A  V  E\" stores them"), 6000);
}

}  // namespace trellicap
