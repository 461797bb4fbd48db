#include "shell/frmmain.h"

#include <QDir>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include "record/profile_text.h"
#include "shell/archive_hooks.h"
#include "shell/batch_status.h"
#include "shell/frmabout.h"
#include "shell/main_contents.h"
#include "shell/main_menus.h"
#include "shell/plot_panel.h"
#include "shell/reconnect_status.h"
#include "shell/record_file_drop.h"
#include "shell/settings_panel.h"
#include "shell/slot_list_panel.h"
#include "shell/status_fields.h"
#include "shell/window_placement.h"

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

    m_files = new RecordFileCommands(*this);
    buildMenus();
    connect(m_files, &RecordFileCommands::fileTaken, this,
            [this](const QString& path) { m_recentFiles->add(path); });
    connect(m_files, &RecordFileCommands::fileGone, this,
            [this](const QString& path) { m_recentFiles->forget(path); });
    const MainContents contents = buildMainContents(*this, profile, plot());
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
    m_port = std::make_unique<MainPort>(*this, *m_status,
                                        QDir(m_options.workingDir).filePath(kPortConfigName));
    m_print = std::make_unique<PrintCommands>(*this, m_options.settingsFile);
    connectSession();
    m_archive = std::make_unique<ArchiveHooks>(*this);
    // After the archive: the team server's entry joins the archive's menu.
    m_teamSync = std::make_unique<TeamSyncHooks>(*this, m_options.workingDir, *m_archive, link());
    m_exports = std::make_unique<ExportCommands>(*this);
    m_compare = std::make_unique<CompareCommands>(*this);
    m_help = std::make_unique<HelpCommand>(*this, qs(profile.programName));
    connect(m_status, &StatusFields::unsavedChanged, this, &frmmain::updateTitle);
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

void frmmain::message(const UserMessage& msg) {
    if (m_options.messenger) {
        m_options.messenger(this, msg);
    } else {
        showMessageBox(isVisible() ? this : nullptr, msg);
    }
}

Answer frmmain::ask(const UserQuestion& question) {
    if (m_options.asker) {
        return m_options.asker(this, question);
    }
    return askWithMessageBox(isVisible() ? this : nullptr, question);
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
    if (m_session->isBusy()) {
        return;  // a frame is on its way into the capture buffer
    }
    if (const auto column = m_slots->firstSelected()) {
        showSlot(*column);
    }
}

void frmmain::cmdtxtsav_Click() {
    if (!m_session->isBusy()) {
        m_session->storeHeader(m_plotPanel->headerTexts());
    }
}

void frmmain::cmdcapture_Click() {
    m_session->startBatch(m_slots->selectedColumns());
}

void frmmain::openAbout() {
    if (!m_frmAbout) {
        m_frmAbout = new frmAbout(m_profile, this);
    }
    showSecondaryWindow(*m_frmAbout, this);
}

}  // namespace trellicap
