// The status bar's team server field: "Team server: last sync 14:02, 3 waiting". Hidden
// when no team server is configured, so the window looks as it always has without one; the
// pointer resting on it shows why the last attempt failed.
#pragma once

#include <QLabel>

#include "archive/background_sync.h"

namespace trellicap::archive {

class TeamSyncField : public QLabel {
    Q_OBJECT
public:
    explicit TeamSyncField(QWidget* parent = nullptr);
    void showStatus(const trellicap::archive::SyncStatus& status);
};

}  // namespace trellicap::archive
