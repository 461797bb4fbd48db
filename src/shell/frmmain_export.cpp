// The main window's exports: File > Export PDF... and Export CSV... for the record shown,
// the selected slots or every marked slot, run from the event loop with a progress dialog.
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include "link/instrument_link.h"
#include "record/profile_text.h"
#include "report/report_export.h"
#include "report/vector_report_document.h"
#include "shell/export_dialog.h"
#include "shell/export_progress.h"
#include "shell/frmmain.h"
#include "shell/main_report_host.h"
#include "shell/slot_list_panel.h"
#include "shell/window_placement.h"

namespace trellicap {

namespace {

// The record file's name with the export's suffix, in the folder of the file or the working
// folder; "reports" before anything is opened or saved.
QString suggestedPath(const QString& currentFile, const QString& workingDir, bool pdf) {
    const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".csv");
    if (currentFile.isEmpty()) {
        return QDir(workingDir).filePath(QStringLiteral("reports") + suffix);
    }
    const QFileInfo file(currentFile);
    return file.dir().filePath(file.completeBaseName() + suffix);
}

}  // namespace

void frmmain::openExport(bool pdf) {
    if (m_session->isBusy()) {
        return;
    }
    QPointer<QWidget>& window = pdf ? m_exportPdf : m_exportCsv;
    if (!window) {
        auto* dialog =
            new ExportDialog(pdf ? ExportDialog::Kind::Pdf : ExportDialog::Kind::Csv, this);
        connect(dialog, &ExportDialog::exportRequested, this,
                [this, pdf](const ExportChoice& choice) { runExport(pdf, choice); });
        window = dialog;
    }
    auto* dialog = static_cast<ExportDialog*>(window.data());
    if (!dialog->isVisible()) {
        dialog->setSuggestedPath(suggestedPath(currentFile(), workingDir(), pdf));
        centreOverOwner(*dialog, this);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void frmmain::runExport(bool pdf, const ExportChoice& choice) {
    if (m_export || m_session->isBusy()) {
        return;  // one export at a time; the records stay still while it starts
    }
    if (!m_reportHost) {
        m_reportHost = std::make_unique<MainReportHost>(*this);
    }
    const QString program = qs(m_profile.programName);
    ExportRequest request;
    request.path = QFileInfo(choice.path).absoluteFilePath();
    request.format = !pdf            ? ExportFormat::Csv
                     : choice.vector ? ExportFormat::VectorPdf
                                     : ExportFormat::BitmapPdf;
    for (int entry = 0; entry < m_slots->entryCount(); ++entry) {
        request.marked.push_back(m_slots->entryText(entry).endsWith(QLatin1String(" *")));
    }
    // The record shown is the window's own page for a PDF, its slot's row for a table.
    const bool shownPage = pdf && choice.option == PrintOption::Current;
    if (choice.option == PrintOption::Current) {
        if (!pdf) {
            request.slotNumbers.push_back(shownslot() + 1);
        }
    } else {
        for (const int entry : entriesToPrint(choice.option, *m_reportHost)) {
            request.slotNumbers.push_back(entry + 1);
        }
        if (request.slotNumbers.empty()) {
            statusBar()->showMessage(choice.option == PrintOption::Selected
                                         ? tr("No slot is selected: nothing exported")
                                         : tr("No slot holds a record: nothing exported"),
                                     6000);
            return;
        }
    }
    const QList<int> titled =
        shownPage ? QList<int>{shownslot() + 1}
                  : QList<int>(request.slotNumbers.begin(), request.slotNumbers.end());
    request.title = vectorReportTitle(QFileInfo(currentFile()).fileName(), titled);
    const int count = static_cast<int>(request.slotNumbers.size()) + (shownPage ? 1 : 0);

    auto job = std::make_unique<ReportExport>(store(), std::move(request));
    if (!job->start() || (shownPage && !job->addShown(*m_reportHost, plot()))) {
        message({program, tr("The export could not be written."),
                 QStringLiteral("%1: %2").arg(choice.path, job->error())});
        return;
    }
    auto* run = new ExportProgress(std::move(job), *this);
    m_export = run;
    connect(run, &ExportProgress::finished, this,
            [this, run, pdf, count, program](bool ok, const QString& path, const QString& error,
                                             bool stopped) {
                run->deleteLater();
                if (ok) {
                    statusBar()->showMessage(
                        pdf ? tr("Exported %n report page(s) to %1", nullptr, count).arg(path)
                            : tr("Exported %n slot(s) to %1", nullptr, count).arg(path),
                        10000);
                } else if (stopped) {
                    statusBar()->showMessage(tr("Export stopped: %1 not written").arg(path), 10000);
                } else {
                    message({program, tr("The export could not be written."),
                             QStringLiteral("%1: %2").arg(path, error)});
                }
            });
    run->start();
}

}  // namespace trellicap
