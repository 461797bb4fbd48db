#include "archive/ui/team_sync_field.h"

namespace trellicap::archive {

TeamSyncField::TeamSyncField(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("lblteamsync"));
    setVisible(false);
}

void TeamSyncField::showStatus(const SyncStatus& status) {
    const QString text = syncStatusText(status);
    setText(text);
    setToolTip(status.reason.isEmpty() ? QString()
                                       : tr("The server answered: %1").arg(status.reason));
    setVisible(!text.isEmpty());
}

}  // namespace trellicap::archive
