#include "shell/export/export_commands.h"

#include <QDir>
#include <QFileInfo>

#include "record/profile_text.h"
#include "report/export_job.h"
#include "report/vector_report_document.h"
#include "session/session.h"
#include "session/session_print_host.h"
#include "shell/common/window_host.h"
#include "shell/common/window_placement.h"
#include "shell/export/export_dialog.h"
#include "shell/export/export_progress.h"

namespace trellicap {

QString suggestedExportPath(const QString& currentFile, const QString& workingDir, bool pdf) {
    const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".csv");
    if (currentFile.isEmpty()) {
        return QDir(workingDir).filePath(QStringLiteral("reports") + suffix);
    }
    const QFileInfo file(currentFile);
    return file.dir().filePath(file.completeBaseName() + suffix);
}

ExportCommands::ExportCommands(Session& session, WindowHost& host,
                               std::function<bool(int column)> isSelected)
    : m_session(session), m_host(host), m_isSelected(std::move(isSelected)) {}

ExportCommands::~ExportCommands() = default;

void ExportCommands::open(bool pdf) {
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        m_host.showStatus(refusal.reason(), 6000);
        return;
    }
    QPointer<ExportDialog>& dialog = pdf ? m_pdf : m_csv;
    if (!dialog) {
        dialog = new ExportDialog(pdf ? ExportDialog::Kind::Pdf : ExportDialog::Kind::Csv,
                                  &m_host.window());
        connect(dialog, &ExportDialog::exportRequested, this,
                [this, pdf](const ExportChoice& choice) { run(pdf, choice); });
    }
    if (!dialog->isVisible()) {
        dialog->setSuggestedPath(
            suggestedExportPath(m_session.currentFile(), m_host.workingDir(), pdf));
        centreOverOwner(*dialog, &m_host.window());
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void ExportCommands::run(bool pdf, const ExportChoice& choice) {
    if (m_running) {
        return;  // one export at a time
    }
    // The records stay still while it starts (it takes a copy of them).
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        m_host.showStatus(refusal.reason(), 6000);
        return;
    }
    const QString program = qs(m_session.profile().programName);
    const int shownSlot = m_session.shownslot();
    const QString path = QFileInfo(choice.path).absoluteFilePath();
    ExportRequest request;
    request.format = !pdf            ? ExportFormat::Csv
                     : choice.vector ? ExportFormat::VectorPdf
                                     : ExportFormat::BitmapPdf;
    request.marked = m_session.marks();
    // The record shown is the window's own page for a PDF, its slot's row for a table.
    const bool shownPage = pdf && choice.option == PrintOption::Current;
    if (choice.option == PrintOption::Current) {
        if (!pdf) {
            request.slotNumbers.push_back(shownSlot + 1);
        }
    } else {
        const SessionPrintHost listed(m_session, {m_isSelected, {}, {}, {}, {}, {}});
        for (const int entry : entriesToPrint(choice.option, listed)) {
            request.slotNumbers.push_back(entry + 1);
        }
        if (request.slotNumbers.empty()) {
            m_host.showStatus(choice.option == PrintOption::Selected
                                  ? tr("No slot is selected: nothing exported")
                                  : tr("No slot holds a record: nothing exported"),
                              6000);
            return;
        }
    }
    // The page of the record shown is named by where that record came from; slots are named
    // with the record file only when it holds every one of them.
    request.title = shownPage ? originText(m_session.shownOrigin())
                              : m_session.titleForSlots(QList<int>(request.slotNumbers.begin(),
                                                                   request.slotNumbers.end()));
    const int count = static_cast<int>(request.slotNumbers.size()) + (shownPage ? 1 : 0);

    auto job = std::make_unique<ExportJob>(m_session.store(), std::move(request), path);
    if (!job->start() || (shownPage && !job->addShown(m_session.view()))) {
        m_host.message({program, tr("The export could not be written."),
                        QStringLiteral("%1: %2").arg(choice.path, job->error())});
        return;
    }
    auto* running = new ExportProgress(std::move(job), m_host.window());
    m_running = running;
    connect(running, &ExportProgress::finished, this,
            [this, running, pdf, count, program](bool ok, const QString& path, const QString& error,
                                                 bool stopped) {
                running->deleteLater();
                if (ok) {
                    m_host.showStatus(
                        pdf ? tr("Exported %n report page(s) to %1", nullptr, count).arg(path)
                            : tr("Exported %n slot(s) to %1", nullptr, count).arg(path),
                        10000);
                } else if (stopped) {
                    m_host.showStatus(tr("Export stopped: %1 not written").arg(path), 10000);
                } else {
                    m_host.message({program, tr("The export could not be written."),
                                    QStringLiteral("%1: %2").arg(path, error)});
                }
            });
    running->start();
}

}  // namespace trellicap
