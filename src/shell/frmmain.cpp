#include "shell/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

#include "display/ascan_plot.h"
#include "display/overlays.h"
#include "display/panel_texts.h"
#include "display/ui/canvas_widget.h"
#include "link/instrument_link.h"
#include "record/header_fields.h"
#include "record/slot_entries.h"
#include "shell/frmabout.h"
#include "shell/frmoption.h"
#include "shell/main_report_host.h"

namespace trellicap {

namespace {

// The plot area: 5205 x 4665 twips, drawn in points.
constexpr int kPlotWidthTwips = 5205;
constexpr int kPlotHeightTwips = 4665;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

frmmain::frmmain(const ModelProfile& profile, std::unique_ptr<SerialPort> port, Options options)
    : m_profile(profile),
      m_options(std::move(options)),
      m_store(profile),
      m_port(std::move(port)),
      m_plot(kPlotWidthTwips, kPlotHeightTwips, Canvas::Unit::Point) {
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(qs(profile.caption));
    if (m_options.workingDir.isEmpty()) {
        m_options.workingDir = QDir::currentPath();
    }
    m_port->setParent(nullptr);
    m_port->setObjectName(QStringLiteral("Comm1"));
    m_link = new InstrumentLink(profile, m_store, *m_port, this);
    if (m_options.waitTimerMs > 0) {
        m_link->setWaitIntervalMs(m_options.waitTimerMs);
    }
    if (m_options.frameByteTimeoutMs > 0) {
        m_link->setFrameByteTimeoutMs(m_options.frameByteTimeoutMs);
    }

    buildMenus();
    auto* central = new QWidget(this);
    auto* row = new QHBoxLayout(central);
    row->addWidget(buildSlotColumn());
    row->addWidget(buildPlotColumn());
    row->addWidget(buildSettingsPanel(), 1);
    setCentralWidget(central);

    m_progress = new QLabel(this);
    m_progress->setObjectName(QStringLiteral("lblprogress"));
    m_stop = new QPushButton(tr("Stop"), this);
    m_stop->setObjectName(QStringLiteral("cmdstop"));
    m_stop->setToolTip(tr("End the capture after the current slot (Esc)"));
    m_stop->setVisible(false);
    statusBar()->addPermanentWidget(m_progress);
    statusBar()->addPermanentWidget(m_stop);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_link->stopBatch(); });
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, [this] {
        if (m_link->batchOn()) {
            m_link->stopBatch();
        }
    });
    connectLink();
}

frmmain::~frmmain() {
    delete m_link;
    m_link = nullptr;
}

void frmmain::message(const UserMessage& msg) {
    if (m_options.messenger) {
        m_options.messenger(this, msg);
    } else {
        showMessageBox(isVisible() ? this : nullptr, msg);
    }
}

void frmmain::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("File"));
    file->setObjectName(QStringLiteral("mnufile"));
    for (const MenuEntry& entry : m_profile.fileMenu) {
        QAction* action = file->addAction(qs(entry.text));
        action->setObjectName(qs(entry.objectName));
    }
    auto action = [this](const char* name) {
        return menuBar()->findChild<QAction*>(QString::fromLatin1(name));
    };
    connect(action("mnuopen"), &QAction::triggered, this, &frmmain::openOpenWindow);
    connect(action("mnusave"), &QAction::triggered, this, &frmmain::openSaveWindow);
    connect(action("mnupsetup"), &QAction::triggered, this, &frmmain::openPrinterSetup);
    connect(action("mnuprint"), &QAction::triggered, this, &frmmain::openPrintOptions);
    connect(action("mnuexit"), &QAction::triggered, qApp, &QApplication::quit);
    m_busyActions = {action("mnuopen"), action("mnuprint")};

    QAction* option = menuBar()->addAction(tr("Option"));
    option->setObjectName(QStringLiteral("mnuoption"));
    connect(option, &QAction::triggered, this, &frmmain::openPortSelection);

    QMenu* help = menuBar()->addMenu(tr("Help"));
    help->setObjectName(QStringLiteral("mnuhelp"));
    help->addAction(tr("Help Topic"))->setObjectName(QStringLiteral("mnuhelpt"));
    QAction* about = help->addAction(tr("About Data Capture"));
    about->setObjectName(QStringLiteral("mnuabout"));
    connect(about, &QAction::triggered, this, &frmmain::openAbout);
}

QWidget* frmmain::buildSlotColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("Mem No"), column);
    label->setObjectName(QStringLiteral("Label25"));
    m_lstmem = new QListWidget(column);
    m_lstmem->setObjectName(QStringLiteral("lstmem"));
    m_lstmem->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lstmem->setFixedWidth(110);
    m_lstmem->setAccessibleName(tr("Memory slots"));
    label->setBuddy(m_lstmem);
    connect(m_lstmem, &QListWidget::itemDoubleClicked, this, [this] { lstmem_DblClick(); });
    m_cmdcapture = new QPushButton(tr("Capture"), column);
    m_cmdcapture->setObjectName(QStringLiteral("cmdcapture"));
    connect(m_cmdcapture, &QPushButton::clicked, this, &frmmain::cmdcapture_Click);
    layout->addWidget(label);
    layout->addWidget(m_lstmem, 1);
    layout->addWidget(m_cmdcapture);
    return column;
}

QWidget* frmmain::buildPlotColumn() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(tr("A  Scan"), column);
    label->setObjectName(QStringLiteral("Label1"));
    // The plot area keeps its single sunken border around the retained image.
    auto* border = new QFrame(column);
    border->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    border->setLineWidth(1);
    auto* borderLayout = new QVBoxLayout(border);
    borderLayout->setContentsMargins(1, 1, 1, 1);
    m_picascan = new CanvasWidget(m_plot, border);
    m_picascan->setObjectName(QStringLiteral("picascan"));
    m_picascan->setAccessibleName(tr("A-scan plot"));
    m_picascan->setFixedSize(m_plot.sizePixels());
    borderLayout->addWidget(m_picascan);
    layout->addWidget(label);
    // The DAC model's plot sits lower in its window: keep the profile's offset.
    layout->addSpacing((m_profile.canvasTopTwips - 480) / 15);
    layout->addWidget(border, 0, Qt::AlignLeft);

    auto* readouts = new QGridLayout();
    const std::array<std::array<const char*, 3>, 3> readoutNames = {{
        {"Label36", "Beam Path", "txtbeam"},
        {"Label37", "Surface", "txtsurf"},
        {"Label38", "Depth", "txtdpth"},
    }};
    int col = 0;
    for (const auto& [labelName, text, boxName] : readoutNames) {
        auto* l = new QLabel(tr(text), column);
        l->setObjectName(QString::fromLatin1(labelName));
        auto* box = new QLineEdit(column);
        box->setObjectName(QString::fromLatin1(boxName));
        box->setReadOnly(true);
        box->setAccessibleName(tr(text));
        l->setBuddy(box);
        readouts->addWidget(l, 0, col);
        readouts->addWidget(box, 1, col);
        ++col;
    }
    layout->addLayout(readouts);

    auto* header = new QGridLayout();
    int r = 0;
    for (const HeaderField& field : m_profile.headerFields) {
        auto* l = new QLabel(qs(field.label), column);
        l->setObjectName(qs(field.labelName));
        auto* box = new QLineEdit(column);
        box->setObjectName(qs(field.control));
        box->setMaxLength(field.maxChars);
        box->setAccessibleName(qs(field.label).remove(QLatin1Char('.')).trimmed());
        l->setBuddy(box);
        header->addWidget(l, r, 0);
        header->addWidget(box, r, 1);
        ++r;
    }
    m_cmdtxtsav = new QPushButton(tr("S  A  V  E"), column);
    m_cmdtxtsav->setObjectName(QStringLiteral("cmdtxtsav"));
    m_cmdtxtsav->setAccessibleName(tr("Save report header fields"));
    connect(m_cmdtxtsav, &QPushButton::clicked, this, &frmmain::cmdtxtsav_Click);
    header->addWidget(m_cmdtxtsav, r, 1, Qt::AlignRight);
    layout->addLayout(header);
    layout->addStretch(1);
    return column;
}

QWidget* frmmain::buildSettingsPanel() {
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("fraMenuData"));
    auto* outer = new QVBoxLayout(box);
    auto* title = new QLabel(tr("Menu Data"), box);
    title->setObjectName(QStringLiteral("Label2"));
    outer->addWidget(title);
    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (const PanelCell& cell : m_profile.panelCells) {
        QLabel* label = nullptr;
        if (!cell.labelName.empty()) {
            label = new QLabel(qs(cell.label), box);
            label->setObjectName(qs(cell.labelName));
        }
        QWidget* control = nullptr;
        if (cell.caption) {
            auto* caption = new QLabel(qs(cell.designText), box);
            control = caption;
        } else if (!cell.control.empty()) {
            auto* edit = new QLineEdit(qs(cell.designText), box);
            edit->setReadOnly(true);
            edit->setMinimumWidth(64);
            control = edit;
        }
        if (control != nullptr) {
            control->setObjectName(qs(cell.control));
            control->setAccessibleName(qs(cell.accessibleName));
            if (label != nullptr) {
                label->setBuddy(control);
            }
        }
        const int gridRow = cell.row * 2;
        if (cell.labelLeft) {
            auto* pair = new QHBoxLayout();
            if (label != nullptr) {
                pair->addWidget(label);
            }
            if (control != nullptr) {
                pair->addWidget(control, 1);
            }
            grid->addLayout(pair, gridRow + 1, cell.column, 1, cell.columnSpan);
            continue;
        }
        if (label != nullptr) {
            grid->addWidget(label, gridRow, cell.column, 1, cell.columnSpan);
        }
        if (control != nullptr) {
            grid->addWidget(control, gridRow + 1, cell.column, 1, cell.columnSpan);
        }
    }
    outer->addLayout(grid);
    outer->addStretch(1);
    return box;
}

void frmmain::startUp() {
    m_lstmem->clear();
    for (int n = 1; n <= kSlotCount; ++n) {
        m_lstmem->addItem(slotEntryText(n, false));
    }
    m_store.initMemoryTable();

    bool opened = false;
    if (const auto target = readPortConfig(QDir(m_options.workingDir).filePath(kPortConfigName))) {
        m_target = *target;
        opened = !reopenPort().has_value();
    }
    if (!opened) {
        message({tr("File Error"),
                 QStringLiteral("Port configuratin file is lost so select apropriate serial "
                                "port which is necessary "),
                 {}});
        m_target = PortTarget{1, {}};
        hide();
        openPortSelection();
        return;
    }
    m_store.loadStartupTrace();
    display_pattern();
    show();
}

std::optional<frmmain::OpenFailure> frmmain::reopenPort() {
    m_port->close();
    const QString device = deviceFor(m_target);
    if (!m_port->open(device)) {
        OpenFailure failure{m_port->errorString(), m_port->lastOpenDeniedPermission()};
        if (failure.reason.isEmpty()) {
            failure.reason = tr("The device %1 cannot be opened.").arg(device);
        }
        m_link->portReopened();
        return failure;
    }
    m_link->portReopened();
    statusBar()->showMessage(tr("Connected to %1").arg(device), 5000);
    return std::nullopt;
}

QString frmmain::controlText(std::string_view control) const {
    const QString name = qs(control);
    if (auto* edit = findChild<QLineEdit*>(name)) {
        return edit->text();
    }
    if (auto* label = findChild<QLabel*>(name)) {
        return label->text();
    }
    return {};
}

void frmmain::display_pattern() {
    displayPattern(m_plot, m_store.capture());
    m_picascan->update();
}

void frmmain::display_setup() {
    const PanelTexts texts = buildPanelTexts(m_profile, m_store.capture());
    for (const auto& [control, text] : texts.entries()) {
        if (auto* edit = findChild<QLineEdit*>(control)) {
            edit->setText(text);
        } else if (auto* label = findChild<QLabel*>(control)) {
            label->setText(text);
        }
    }
    drawOverlays(m_plot, m_profile, texts, m_store.capture());
    m_picascan->update();
}

void frmmain::showSlot(int column) {
    m_store.recallSlot(column);
    display_pattern();
    display_setup();
    m_shownslot = column;
}

void frmmain::lstmem_DblClick() {
    if (m_link->isBusy()) {
        return;  // a frame is on its way into the capture buffer
    }
    for (int i = 0; i < m_lstmem->count(); ++i) {
        if (m_lstmem->item(i)->isSelected()) {
            showSlot(i);
            return;
        }
    }
}

void frmmain::cmdtxtsav_Click() {
    if (m_link->isBusy()) {
        return;
    }
    std::vector<QString> texts;
    for (const HeaderField& field : m_profile.headerFields) {
        texts.push_back(findChild<QLineEdit*>(qs(field.control))->text());
    }
    storeHeaderFields(m_profile, texts, m_store.column(m_shownslot));
    statusBar()->showMessage(tr("Header fields stored in Mem %1").arg(m_shownslot + 1), 4000);
}

void frmmain::cmdcapture_Click() {
    if (m_link->isBusy()) {
        return;
    }
    QList<int> selected;
    for (int i = 0; i < m_lstmem->count(); ++i) {
        if (m_lstmem->item(i)->isSelected()) {
            selected.append(i);
        }
    }
    m_link->startBatch(selected);
}

void frmmain::markSlot(int column) {
    // The marked entry replaces the old one at the same place, unselected.
    delete m_lstmem->takeItem(column);
    m_lstmem->insertItem(column, slotEntryText(column + 1, true));
    m_lstmem->scrollToItem(m_lstmem->item(column));  // let the operator see it arrive
}

void frmmain::connectLink() {
    connect(m_link, &InstrumentLink::requestSent, this, [this] {
        clearPlot(m_plot);
        m_picascan->update();
    });
    connect(m_link, &InstrumentLink::slotFiled, this, &frmmain::markSlot);
    connect(m_link, &InstrumentLink::recordArrived, this, [this](int column) {
        markSlot(column);
        display_pattern();
        display_setup();
    });
    connect(m_link, &InstrumentLink::frameNotFiled, this, [this](const QString& number) {
        statusBar()->showMessage(
            tr("A record with memory number \"%1\" arrived; it names no slot from 1 to 200 "
               "and was not filed.")
                .arg(number),
            8000);
    });
    connect(m_link, &InstrumentLink::batchProgress, this,
            [this](int k, int n) { m_progress->setText(tr("slot %1 of %2").arg(k).arg(n)); });
    connect(m_link, &InstrumentLink::busyChanged, this, [this] { updateBusy(); });
    connect(m_link, &InstrumentLink::batchFinished, this, [this] {
        display_pattern();
        display_setup();
        m_progress->clear();
        updateBusy();
    });
    connect(m_link, &InstrumentLink::linkLost, this, [this](const QString& reason) {
        m_progress->clear();
        updateBusy();
        message({tr("Link lost"),
                 tr("The link to the instrument was lost. Nothing partial was filed."),
                 tr("%1\nReconnect the instrument and choose its port again under "
                    "\"Option\".")
                     .arg(reason)});
    });
}

void frmmain::updateBusy() {
    const bool busy = m_link->isBusy();
    m_cmdcapture->setEnabled(!busy);
    m_cmdtxtsav->setEnabled(!busy);
    for (QAction* action : m_busyActions) {
        action->setEnabled(!busy);
    }
    m_stop->setVisible(m_link->batchOn());
}

void frmmain::openAbout() {
    if (!m_frmAbout) {
        m_frmAbout = new frmAbout(m_profile, this);
    }
    m_frmAbout->showAndRaise();
}

void frmmain::openPortSelection() {
    if (!m_frmoption) {
        m_frmoption = new frmoption(*this);
    }
    m_frmoption->showAndRaise();
}

}  // namespace trellicap
