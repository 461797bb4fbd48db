#include "shell/export/export_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include "link/instrument_link.h"
#include "record/profile_text.h"
#include "report/export_job.h"
#include "report/vector_report_document.h"
#include "shell/common/window_placement.h"
#include "shell/export/export_dialog.h"
#include "shell/export/export_progress.h"
#include "shell/export/main_report_host.h"
#include "shell/main/frmmain.h"

namespace trellicap {

QString suggestedExportPath(const QString& currentFile, const QString& workingDir, bool pdf) {
    const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".csv");
    if (currentFile.isEmpty()) {
        return QDir(workingDir).filePath(QStringLiteral("reports") + suffix);
    }
    const QFileInfo file(currentFile);
    return file.dir().filePath(file.completeBaseName() + suffix);
}

ExportCommands::ExportCommands(frmmain& window)
    : m_window(window), m_report(std::make_unique<MainReportHost>(window)) {}

ExportCommands::~ExportCommands() = default;

void ExportCommands::open(bool pdf) {
    if (m_window.link().isBusy()) {
        return;
    }
    QPointer<ExportDialog>& dialog = pdf ? m_pdf : m_csv;
    if (!dialog) {
        dialog =
            new ExportDialog(pdf ? ExportDialog::Kind::Pdf : ExportDialog::Kind::Csv, &m_window);
        connect(dialog, &ExportDialog::exportRequested, this,
                [this, pdf](const ExportChoice& choice) { run(pdf, choice); });
    }
    if (!dialog->isVisible()) {
        dialog->setSuggestedPath(
            suggestedExportPath(m_window.currentFile(), m_window.workingDir(), pdf));
        centreOverOwner(*dialog, &m_window);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void ExportCommands::run(bool pdf, const ExportChoice& choice) {
    if (m_running || m_window.link().isBusy()) {
        return;  // one export at a time; the records stay still while it starts
    }
    const QString program = qs(m_window.profile().programName);
    const int shownSlot = m_window.shownslot();
    const QString path = QFileInfo(choice.path).absoluteFilePath();
    ExportRequest request;
    request.format = !pdf            ? ExportFormat::Csv
                     : choice.vector ? ExportFormat::VectorPdf
                                     : ExportFormat::BitmapPdf;
    request.marked = m_window.session().marks();
    // The record shown is the window's own page for a PDF, its slot's row for a table.
    const bool shownPage = pdf && choice.option == PrintOption::Current;
    if (choice.option == PrintOption::Current) {
        if (!pdf) {
            request.slotNumbers.push_back(shownSlot + 1);
        }
    } else {
        for (const int entry : entriesToPrint(choice.option, *m_report)) {
            request.slotNumbers.push_back(entry + 1);
        }
        if (request.slotNumbers.empty()) {
            m_window.statusBar()->showMessage(choice.option == PrintOption::Selected
                                                  ? tr("No slot is selected: nothing exported")
                                                  : tr("No slot holds a record: nothing exported"),
                                              6000);
            return;
        }
    }
    const QList<int> titled =
        shownPage ? QList<int>{shownSlot + 1}
                  : QList<int>(request.slotNumbers.begin(), request.slotNumbers.end());
    request.title = vectorReportTitle(QFileInfo(m_window.currentFile()).fileName(), titled);
    const int count = static_cast<int>(request.slotNumbers.size()) + (shownPage ? 1 : 0);

    auto job = std::make_unique<ExportJob>(m_window.session().store(), std::move(request), path);
    if (!job->start() || (shownPage && !job->addShown(m_window.session().view()))) {
        m_window.message({program, tr("The export could not be written."),
                          QStringLiteral("%1: %2").arg(choice.path, job->error())});
        return;
    }
    auto* running = new ExportProgress(std::move(job), m_window);
    m_running = running;
    connect(running, &ExportProgress::finished, this,
            [this, running, pdf, count, program](bool ok, const QString& path, const QString& error,
                                                 bool stopped) {
                running->deleteLater();
                QStatusBar* status = m_window.statusBar();
                if (ok) {
                    status->showMessage(
                        pdf ? tr("Exported %n report page(s) to %1", nullptr, count).arg(path)
                            : tr("Exported %n slot(s) to %1", nullptr, count).arg(path),
                        10000);
                } else if (stopped) {
                    status->showMessage(tr("Export stopped: %1 not written").arg(path), 10000);
                } else {
                    m_window.message({program, tr("The export could not be written."),
                                      QStringLiteral("%1: %2").arg(path, error)});
                }
            });
    running->start();
}

}  // namespace trellicap
