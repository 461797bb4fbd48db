// The status bar's side of a session: the status fields (port, progress, unsaved changes),
// Stop and Esc while a batch runs, the controls that wait while the link is busy, the
// batch's summary at its end and the message when the port goes away.
#pragma once

#include <QList>
#include <QObject>
#include <functional>

#include "record/user_message.h"

class QAction;
class QMainWindow;
class QWidget;

namespace trellicap {

struct BatchResult;
class Session;
class StatusFields;

class BatchStatus : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QList<QAction*> busyActions;      // menu entries that wait while the link is busy
        QList<QWidget*> busyWidgets;      // buttons that do
        QWidget* afterBatch = nullptr;    // takes the focus when a batch ends
        std::function<QString()> device;  // the port's device, for the status field
        std::function<void(const UserMessage&)> message;
    };

    // Adds the status fields to the window's status bar.
    BatchStatus(QMainWindow& window, Session& session, Controls controls);

    [[nodiscard]] StatusFields& fields() { return *m_fields; }

private:
    void updateBusy();
    void batchFinished(const BatchResult& result);
    void linkLost(const QString& reason);

    QMainWindow& m_window;
    Session& m_session;
    Controls m_controls;
    StatusFields* m_fields = nullptr;
};

}  // namespace trellicap
