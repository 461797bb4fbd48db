#include "shell/main/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "record/profile_text.h"
#include "shell/archive/archive_hooks.h"
#include "shell/common/window_placement.h"
#include "shell/files/record_file_drop.h"
#include "shell/job/job_hooks.h"
#include "shell/main/batch_status.h"
#include "shell/main/frmabout.h"
#include "shell/main/main_contents.h"
#include "shell/main/main_menus.h"
#include "shell/main/plot_panel.h"
#include "shell/main/reconnect_status.h"
#include "shell/main/settings_panel.h"
#include "shell/main/slot_list_panel.h"
#include "shell/main/status_fields.h"

namespace trellicap {

namespace {

Session::Options sessionOptions(const frmmain::Options& options) {
    return {options.waitTimerMs, options.frameByteTimeoutMs,
            ArchiveHooks::archivePathIn(options.workingDir), nullptr};
}

}  // namespace

frmmain::frmmain(const ModelProfile& profile, std::unique_ptr<SerialPort> port, Options options)
    : m_profile(profile), m_options(std::move(options)) {
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(qs(profile.caption));
    if (m_options.workingDir.isEmpty()) {
        m_options.workingDir = QDir::currentPath();
    }
    port->setParent(nullptr);
    port->setObjectName(QStringLiteral("Comm1"));
    m_session = std::make_unique<Session>(profile, std::move(port), sessionOptions(m_options));

    m_files = new RecordFileCommands(*m_session, *this);
    buildMenus();
    connect(m_files, &RecordFileCommands::fileTaken, this,
            [this](const QString& path) { m_recentFiles->add(path); });
    connect(m_files, &RecordFileCommands::fileGone, this,
            [this](const QString& path) { m_recentFiles->forget(path); });
    const MainContents contents = buildMainContents(*this, profile, m_session->view().plot());
    m_contents = contents.widget;
    m_slots = contents.slotList;
    m_panel = contents.panel;
    m_plotPanel = contents.plotColumn;
    connect(m_slots, &SlotListPanel::recallRequested, this, &frmmain::lstmem_DblClick);
    connect(m_slots, &SlotListPanel::captureRequested, this, &frmmain::cmdcapture_Click);
    connect(m_plotPanel, &PlotPanel::saveHeaderRequested, this, &frmmain::cmdtxtsav_Click);
    connect(m_slots, &SlotListPanel::compareRequested, this, &frmmain::openCompare);
    connect(m_plotPanel, &PlotPanel::compareRequested, this, [this] { openCompare(shownslot()); });
    buildStatusBar();
    m_port = std::make_unique<MainPort>(*m_session, *this, *m_status,
                                        QDir(m_options.workingDir).filePath(kPortConfigName),
                                        [this] { quitProgram(); });
    const auto isSelected = [this](int column) { return m_slots->isSelected(column); };
    m_print =
        std::make_unique<PrintCommands>(*m_session, *this, m_options.settingsFile, isSelected);
    connectSession();
    const auto showReference = [this](const ReferenceTrace& trace) { this->showReference(trace); };
    m_archive =
        std::make_unique<ArchiveHooks>(*m_session, *this, *menuBar(), *statusBar(), showReference);
    // After the archive: the team server's entry joins the archive's menu.
    m_teamSync =
        std::make_unique<TeamSyncHooks>(*this, m_options.workingDir, *m_archive, m_session->link());
    m_jobs = std::make_unique<JobHooks>(*m_session, *this, *menuBar(),
                                        [this] { return m_slots->selectedColumns(); });
    m_archive->addRecordsToJob = [this](std::vector<inspection::JobItem> items) {
        m_jobs->addKeptRecords(std::move(items));
    };
    m_exports = std::make_unique<ExportCommands>(*m_session, *this, isSelected);
    m_compare = std::make_unique<CompareCommands>(*m_session, *this, showReference);
    m_help = std::make_unique<HelpCommand>(*this, qs(profile.programName));
    new RecordFileDrop(*this, [this](const QString& path) { openRecordFile(path); });
}

frmmain::~frmmain() {
    delete m_files;  // with its save window, before the session its commands work on
}

QSize frmmain::sizeHint() const {
    const int bars = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    return m_contents->sizeHint() + QSize(0, bars);
}

QListWidget* frmmain::slotList() const {
    return m_slots->list();
}

void frmmain::showStatus(const QString& text, int timeoutMs) {
    statusBar()->showMessage(text, timeoutMs);
}

void frmmain::bringToFront() {
    raise();
    activateWindow();
}

QWidget* frmmain::messageOwner() {
    if (isVisible()) {
        return this;
    }
    // While the main window is hidden (the port selection of a failed start-up), a message
    // stands over the secondary window that is up, so that it belongs to it.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->parentWidget() == this) {
            return window;
        }
    }
    return nullptr;
}

void frmmain::message(const UserMessage& msg) {
    if (m_options.messenger) {
        m_options.messenger(messageOwner(), msg);
    } else {
        showMessageBox(messageOwner(), msg);
    }
}

Answer frmmain::ask(const UserQuestion& question) {
    if (m_options.asker) {
        return m_options.asker(messageOwner(), question);
    }
    return askWithMessageBox(messageOwner(), question);
}

void frmmain::buildMenus() {
    const MenuCommand commands[] = {
        {"mnuopen", [this] { openOpenWindow(); }, true},
        {"mnusave", [this] { openSaveWindow(); }},
        {"mnupsetup", [this] { openPrinterSetup(); }},
        {"mnuprint", [this] { openPrintOptions(); }, true},
        {"mnuexit", [this] { requestExit(); }},
        {"mnuoption", [this] { openPortSelection(); }},
        {"mnuabout", [this] { openAbout(); }},
        {"mnunew", [this] { newRecords(); }, true},
        {"mnuexportpdf", [this] { openExport(true); }, true},
        {"mnuexportcsv", [this] { openExport(false); }, true},
        {"mnuhelpt", [this] { openHelp(); }},
    };
    const MainMenus menus = buildMainMenus(*menuBar(), m_profile, commands);
    m_busyActions = menus.busyActions;
    m_recentFiles =
        std::make_unique<RecentFilesMenu>(menus.recentFiles, qs(m_profile.programName),
                                          [this](const QString& path) { openRecordFile(path); });
}

void frmmain::buildStatusBar() {
    const BatchStatus::Controls controls{m_busyActions,
                                         {m_slots->captureButton(), m_plotPanel->saveButton()},
                                         m_slots->list(),
                                         [this] { return deviceFor(portTarget()); },
                                         [this](const UserMessage& msg) { message(msg); }};
    m_status = &(new BatchStatus(*this, *m_session, controls))->fields();
    if (m_session->hasPort()) {
        new ReconnectStatus(*statusBar(), *m_session, *m_status);  // an unplugged adapter's return
    }
}

QString frmmain::controlText(std::string_view control) const {
    return m_panel->text(control);
}

void frmmain::lstmem_DblClick() {
    if (const auto column = m_slots->firstSelected()) {
        showSlot(*column);
    }
}

void frmmain::showSlot(int column) {
    // Refused while a frame is on its way into the capture buffer.
    if (const Refusal refusal = m_session->recall(column); refusal.refused()) {
        showStatus(refusal.reason(), 6000);
    }
}

void frmmain::cmdtxtsav_Click() {
    if (const Refusal refusal = m_session->storeHeader(m_plotPanel->headerTexts());
        refusal.refused()) {
        showStatus(refusal.reason(), 6000);
    }
}

void frmmain::cmdcapture_Click() {
    if (const Refusal refusal = m_session->startBatch(m_slots->selectedColumns());
        refusal.refused()) {
        showStatus(refusal.reason(), 6000);
    }
}

void frmmain::fileRecord(int column, std::span<const RecordValue> values) {
    if (const Refusal refusal = m_session->fileRecord(column, values); refusal.refused()) {
        message({qs(m_profile.programName), tr("The record was not filed."), refusal.reason()});
    }
}

void frmmain::openAbout() {
    if (!m_frmAbout) {
        m_frmAbout = new frmAbout(m_profile, this);
    }
    showSecondaryWindow(*m_frmAbout, this);
}

}  // namespace trellicap
