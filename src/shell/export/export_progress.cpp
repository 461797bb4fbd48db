#include "shell/export/export_progress.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

namespace trellicap {

ExportProgress::ExportProgress(std::unique_ptr<ExportJob> job, QWidget& window)
    : QObject(&window), m_job(std::move(job)) {
    m_dialog = new QProgressDialog(
        QStringLiteral("Exporting to %1...").arg(QFileInfo(m_job->path()).fileName()),
        QStringLiteral("Stop"), 0, std::max(1, m_job->total()), &window);
    m_dialog->setObjectName(QStringLiteral("dlgexportprogress"));
    m_dialog->setWindowTitle(QStringLiteral("Export"));
    m_dialog->setWindowModality(Qt::WindowModal);  // the records stay as they are meanwhile
    m_dialog->setMinimumDuration(300);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
}

ExportProgress::~ExportProgress() {
    if (m_dialog) {
        m_dialog->deleteLater();
    }
}

void ExportProgress::start() {
    m_dialog->setValue(0);
    QTimer::singleShot(0, this, &ExportProgress::next);
}

void ExportProgress::next() {
    if (m_ended) {
        return;
    }
    if (m_dialog->wasCanceled()) {
        m_job->cancel();
        end(false, true);
        return;
    }
    if (!m_job->step()) {
        m_job->cancel();
        end(false, false);
        return;
    }
    m_dialog->setValue(m_job->written());
    if (!m_job->atEnd()) {
        QTimer::singleShot(0, this, &ExportProgress::next);
        return;
    }
    end(m_job->finish(), false);
}

void ExportProgress::end(bool ok, bool stopped) {
    m_ended = true;
    m_dialog->hide();
    emit finished(ok, m_job->path(), m_job->error(), stopped);
}

}  // namespace trellicap
