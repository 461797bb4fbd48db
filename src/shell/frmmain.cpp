#include "shell/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>

#include "display/ascan_plot.h"
#include "display/overlays.h"
#include "display/panel_texts.h"
#include "display/plot_texts.h"
#include "display/ui/canvas_widget.h"
#include "display/ui/plot_widget.h"
#include "link/instrument_link.h"
#include "record/header_fields.h"
#include "record/profile_text.h"
#include "shell/export_progress.h"
#include "shell/archive_hooks.h"
#include "shell/frmabout.h"
#include "shell/frmoption.h"
#include "shell/help_window.h"
#include "shell/main_menus.h"
#include "shell/main_report_host.h"
#include "shell/notes_target.h"
#include "shell/plot_panel.h"
#include "shell/port_selection_wiring.h"
#include "shell/record_file_drop.h"
#include "shell/settings_panel.h"
#include "shell/slot_list_panel.h"
#include "shell/slot_tip.h"
#include "shell/status_fields.h"
#include "shell/unsaved_guard.h"
#include "shell/window_placement.h"
#include "storage/ui/frmsave.h"

namespace trellicap {

namespace {
// The plot area: 5205 x 4665 twips, drawn in points.
constexpr int kPlotWidthTwips = 5205;
constexpr int kPlotHeightTwips = 4665;
}  // namespace

frmmain::frmmain(const ModelProfile& profile, std::unique_ptr<SerialPort> port, Options options)
    : m_profile(profile),
      m_options(std::move(options)),
      m_store(profile),
      m_port(std::move(port)),
      m_link(std::make_unique<InstrumentLink>(profile, m_store, *m_port)),
      m_plot(kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point) {
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(qs(profile.caption));
    if (m_options.workingDir.isEmpty()) {
        m_options.workingDir = QDir::currentPath();
    }
    m_port->setParent(nullptr);
    m_port->setObjectName(QStringLiteral("Comm1"));
    if (m_options.waitTimerMs > 0) {
        m_link->setWaitIntervalMs(m_options.waitTimerMs);
    }
    if (m_options.frameByteTimeoutMs > 0) {
        m_link->setFrameByteTimeoutMs(m_options.frameByteTimeoutMs);
    }

    buildMenus();
    auto* central = m_contents = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    m_slots = new SlotListPanel(central);
    m_panel = new SettingsPanel(profile, central);
    m_plotPanel = new PlotPanel(profile, m_plot, *m_panel, central);
    // Room beyond the first size goes to the plot before the read-only settings boxes.
    row->addWidget(m_slots);
    row->addWidget(m_plotPanel, 1);
    // The settings boxes keep their natural height at the top; the room below them is the
    // window's, not a blank half of the panel.
    row->addWidget(m_panel, 0, Qt::AlignTop);
    // On a small screen (or at a large scaling) the window still fits: it scrolls.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(central);
    setCentralWidget(scroll);
    connect(m_slots, &SlotListPanel::recallRequested, this, &frmmain::lstmem_DblClick);
    connect(m_slots, &SlotListPanel::captureRequested, this, &frmmain::cmdcapture_Click);
    connect(m_plotPanel, &PlotPanel::saveHeaderRequested, this, &frmmain::cmdtxtsav_Click);
    connect(m_slots, &SlotListPanel::compareRequested, this, &frmmain::openCompare);
    connect(m_plotPanel, &PlotPanel::compareRequested, this, [this] { openCompare(m_shownslot); });
    buildStatusBar();
    connectLink();
    m_archive = std::make_unique<ArchiveHooks>(*this);
    startTeamSync();  // its entry joins the archive's menu
    setTabOrder();
    connect(m_status, &StatusFields::unsavedChanged, this, &frmmain::updateTitle);
    new RecordFileDrop(*this, [this](const QString& path) { openRecordFile(path); });
    m_unsavedGuard = std::make_unique<UnsavedGuard>(
        UnsavedGuard::Host{[this] { return hasUnsavedChanges(); },
                           [this](const UserQuestion& question) { return ask(question); },
                           [this] { openSaveWindow(); }});
}

frmmain::~frmmain() {
    // The save window tells the unsaved-changes guard when it goes; as a child it would go
    // only after the guard (a member) is gone.
    delete m_frmsave.data();
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
    m_recentMenu = menus.recentFiles;
    fillRecentMenu();
}

void frmmain::buildStatusBar() {
    m_status = new StatusFields(*statusBar());
    connect(m_status->stopButton(), &QPushButton::clicked, this, [this] { m_link->stopBatch(); });
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, [this] {
        if (m_link->batchOn()) {
            m_link->stopBatch();
        }
    });
}

QString frmmain::controlText(std::string_view control) const {
    return m_panel->text(control);
}

void frmmain::display_pattern() {
    displayPattern(m_plot, m_store.capture());
    m_plotPanel->plotWidget()->update();
}

void frmmain::display_setup() {
    const PanelTexts texts = buildPanelTexts(m_profile, m_store.capture());
    m_panel->showTexts(texts);
    drawOverlays(m_plot, m_profile, texts, m_store.capture());
    m_plotPanel->plotWidget()->showRecord(m_profile, m_store.capture(), plotTexts(m_profile, texts));
}

void frmmain::showSlot(int column) {
    m_store.recallSlot(column);
    display_pattern();
    display_setup();
    m_shownslot = column;
    m_slots->setShown(column);
    m_recordShown = column;
    showNotesTarget();
}

void frmmain::showNotesTarget() {
    m_plotPanel->setNotesTarget(notesTargetText(m_shownslot, m_recordShown));
}

void frmmain::lstmem_DblClick() {
    if (m_link->isBusy()) {
        return;  // a frame is on its way into the capture buffer
    }
    if (const auto column = m_slots->firstSelected()) {
        showSlot(*column);
    }
}

void frmmain::cmdtxtsav_Click() {
    if (m_link->isBusy()) {
        return;
    }
    storeHeaderFields(m_profile, m_plotPanel->headerTexts(), m_store.column(m_shownslot));
    m_archive->headerStored(m_shownslot);
    m_status->setUnsaved(true);
    updateEntryTip(m_shownslot);
    statusBar()->showMessage(tr("Header fields stored in Mem %1").arg(m_shownslot + 1), 4000);
}

void frmmain::cmdcapture_Click() {
    if (!m_link->isBusy()) {
        m_link->startBatch(m_slots->selectedColumns());
    }
}

void frmmain::setTabOrder() {
    std::vector<QWidget*> order{m_slots->list(), m_slots->captureButton()};
    const std::vector<QWidget*> plotColumn = m_plotPanel->tabOrder();
    order.insert(order.end(), plotColumn.begin(), plotColumn.end());
    order.insert(order.end(), m_panel->gridBoxes().begin(), m_panel->gridBoxes().end());
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void frmmain::updateEntryTip(int column) {
    if (m_slots->entryText(column).endsWith(QLatin1String(" *"))) {
        m_slots->setEntryTip(column, slotTip(m_profile, m_store.column(column)));
    }
}

void frmmain::openAbout() {
    if (!m_frmAbout) {
        m_frmAbout = new frmAbout(m_profile, this);
    }
    showSecondaryWindow(*m_frmAbout, this);
}

void frmmain::openPortSelection() {
    if (!m_frmoption) {
        m_frmoption = new frmoption(this);
        connectPortSelection(*m_frmoption, *this);
    }
    if (!m_frmoption->isVisible()) {
        m_frmoption->startFrom(m_target, m_portFailure);
    }
    showSecondaryWindow(*m_frmoption, this);
}

}  // namespace trellicap
