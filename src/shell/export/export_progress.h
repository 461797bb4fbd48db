// Runs an export one slot per turn of the event loop, with a progress dialog that can stop
// it: the window keeps drawing and answering while 200 pages are written.
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <memory>

#include "report/export_job.h"

class QWidget;

namespace trellicap {

class ExportProgress : public QObject {
    Q_OBJECT
public:
    ExportProgress(std::unique_ptr<ExportJob> job, QWidget& window);
    ~ExportProgress() override;

    // Starts the steps; finished() comes once, when the file is in place, failed or stopped.
    void start();
    [[nodiscard]] QProgressDialog* dialog() const { return m_dialog; }

signals:
    void finished(bool ok, const QString& path, const QString& error, bool stopped);

private:
    void next();
    void end(bool ok, bool stopped);

    std::unique_ptr<ExportJob> m_job;
    QPointer<QProgressDialog> m_dialog;
    bool m_ended = false;
};

}  // namespace trellicap
