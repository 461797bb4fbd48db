// The main window: slot list, A-scan plot, settings panel, readouts, report header fields,
// menus, and the start-up of the program. It owns the record store, the serial port and the
// link, and turns user events into calls of the core.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "display/canvas.h"
#include "link/serial_port.h"
#include "profiles/model_profile.h"
#include "record/record_store.h"
#include "shell/message_box.h"
#include "shell/port_config.h"
#include "shell/port_selection_host.h"
#include "shell/question_box.h"

class QAction;
class QCloseEvent;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;

namespace trellicap {

struct CompareChoice;
struct ReferenceTrace;
class ArchiveHooks;
class InstrumentLink;
struct BatchResult;
struct LoadResult;
class MainReportHost;
class PlotPanel;
class PrinterSetup;
class SettingsPanel;
class SlotListPanel;
class StatusFields;
class CompareCommands;
class ExportCommands;
class HelpCommand;
class RecentFilesMenu;
class TeamSyncHooks;
struct ExportChoice;
class UnsavedGuard;
class frmAbout;
class frmoption;
class frmopen;
class frmprintop;
class frmsave;

class frmmain : public QMainWindow, private PortSelectionHost {
    Q_OBJECT
public:
    struct Options {
        QString workingDir;                // where "udc.cfg" and the report's scratch files live
        int waitTimerMs = -1;              // test seam: -1 keeps the profile's interval
        int frameByteTimeoutMs = -1;       // test seam: -1 keeps the link's default
        Messenger messenger;               // empty: message boxes
        Asker asker;                       // empty: message boxes with the answers as buttons
        std::function<void()> endProgram;  // test seam: empty quits the application
        QString settingsFile;              // choices kept between runs (the printer); empty: none
    };

    frmmain(const ModelProfile& profile, std::unique_ptr<SerialPort> port, Options options);
    ~frmmain() override;

    // Runs the start-up: slot list, memory table, "udc.cfg", port, start-up trace. On the
    // failure path it shows the message and hands over to the port-selection window.
    void startUp();

    [[nodiscard]] const ModelProfile& profile() const { return m_profile; }
    [[nodiscard]] RecordStore& store() { return m_store; }
    [[nodiscard]] SerialPort& port() { return *m_port; }
    [[nodiscard]] InstrumentLink& link() { return *m_link; }
    [[nodiscard]] Canvas& plot() { return m_plot; }
    [[nodiscard]] QListWidget* slotList() const;
    [[nodiscard]] SlotListPanel& slotPanel() const { return *m_slots; }
    [[nodiscard]] QString workingDir() const { return m_options.workingDir; }
    // All of the contents at their design size (a scroll area alone would ask for less).
    [[nodiscard]] QSize sizeHint() const override;

    // Main-window state.
    [[nodiscard]] std::int16_t portno() const { return m_target.number; }
    [[nodiscard]] PortTarget portTarget() const override { return m_target; }
    void setPortTarget(const PortTarget& target) override { m_target = target; }
    [[nodiscard]] int shownslot() const { return m_shownslot; }

    // The text a named control shows (boxes, readouts, the time-and-date caption).
    [[nodiscard]] QString controlText(std::string_view control) const;

    // Named operations.
    void display_pattern();
    void display_setup();
    void lstmem_DblClick();
    void cmdtxtsav_Click();
    void cmdcapture_Click();
    // Recall a slot for display or printing: copy the column, redraw, remember it.
    void showSlot(int column);

    // Closes the port and opens the device of the current port target. On failure the
    // port stays closed and the reason is returned.
    std::optional<PortOpenFailure> reopenPort() override;
    [[nodiscard]] QString portOpenFailure() const override { return m_portFailure; }

    void message(const UserMessage& message) override;
    Answer ask(const UserQuestion& question);

    // File > Exit, Ctrl+Q and the close box: asks first while there are unsaved changes.
    void requestExit();
    // Every normal end of the program passes through here, once.
    void quitProgram() override;

    // Secondary windows (at most one each).
    void openPortSelection();
    void openAbout();
    void openSaveWindow();
    void openOpenWindow();
    void openPrintOptions();
    void openPrinterSetup();
    void openTeamServer();

    // The application's printer, created on first use.
    PrinterSetup& printerSetup();

    // A comparison trace behind the plot: the choice window for a slot (preselected), and
    // the fetch it leads to (false, with a message, when the file gives no such record).
    void openCompare(int column);
    bool compareWith(const CompareChoice& choice);
    // Draws `reference` behind the trace (the archive window's "Compare with").
    void showReference(const ReferenceTrace& reference);

    // Storage actions behind the windows.
    bool saveToFile(const QString& path);
    void loadFromFile(const QString& path);
    [[nodiscard]] bool hasUnsavedChanges() const;

    // File > New: every slot back to its start values and unmarked, after the unsaved
    // question.
    void newRecords();
    // A record file from the recent files or a drop: the unsaved question, then the load.
    void openRecordFile(const QString& path);
    // The record file last opened or saved; empty after New or at start.
    [[nodiscard]] QString currentFile() const { return m_currentFile; }
    [[nodiscard]] QMenu* recentFilesMenu() const;

    // File > Export PDF... and Export CSV...; pdf true for the PDF.
    void openExport(bool pdf);
    void runExport(bool pdf, const ExportChoice& choice);

    // Help > Help Topic: the user's guide.
    void openHelp();

    // The archive: every record that reaches the memory table is kept (frmmain_archive.cpp).
    [[nodiscard]] ArchiveHooks& archive() const { return *m_archive; }
    // A record from the archive into its slot's column, whole and as it was kept: the entry
    // gets the slot mark and the table counts as unsaved.
    void fileRecord(int column, std::span<const RecordValue> values);
    // The run ends the way its operator chose (not a crash): nothing of it is offered for
    // restoring at the next start.
    void endRunCleanly();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Port selection.
    [[nodiscard]] QString portConfigPath() const override;
    void portSelectionDone() override;
    [[nodiscard]] bool mainWindowVisible() const override { return isVisible(); }

    void showOpenWindow();
    // Asks before a save replaces an existing file; false keeps the save window open.
    bool confirmReplace(const QString& path);
    // A load that stopped part-way: keep the slots, or take the part that was read.
    bool loadPartOf(const LoadResult& result, const QString& path);

    void buildMenus();
    void buildStatusBar();
    void setTabOrder();
    void connectLink();
    void updateBusy();
    void recordFiled(int column);
    void batchFinished(const BatchResult& result);
    void linkLost(const QString& reason);
    // A marked entry's tip, from its record (after a filing, a header store or a load).
    void updateEntryTip(int column);
    // The title names the current file and marks unsaved changes.
    void updateTitle();
    void rememberFile(const QString& path);
    // File > New once nothing unsaved stands in the way.
    void clearAllSlots();
    // The caption beside the header boxes, after the shown slot or the record shown changed.
    void showNotesTarget();

    const ModelProfile& m_profile;
    Options m_options;
    RecordStore m_store;
    std::unique_ptr<SerialPort> m_port;
    std::unique_ptr<InstrumentLink> m_link;  // after the port: goes before it
    Canvas m_plot;

    PortTarget m_target;
    QString m_portFailure;  // the system's reason the port is not open
    int m_shownslot = 0;
    std::optional<int> m_recordShown;  // whose record the plot shows; none: the start-up trace

    QWidget* m_contents = nullptr;
    SlotListPanel* m_slots = nullptr;
    SettingsPanel* m_panel = nullptr;
    PlotPanel* m_plotPanel = nullptr;
    StatusFields* m_status = nullptr;
    QList<QAction*> m_busyActions;

    QPointer<frmoption> m_frmoption;
    QPointer<frmAbout> m_frmAbout;
    QPointer<frmsave> m_frmsave;
    QPointer<frmopen> m_frmopen;
    QPointer<frmprintop> m_frmprintop;
    std::unique_ptr<PrinterSetup> m_printer;
    std::unique_ptr<MainReportHost> m_reportHost;
    std::unique_ptr<ExportCommands> m_exports;
    std::unique_ptr<CompareCommands> m_compare;
    std::unique_ptr<HelpCommand> m_help;
    std::unique_ptr<RecentFilesMenu> m_recentFiles;
    QString m_currentFile;
    std::unique_ptr<ArchiveHooks> m_archive;  // after the link, whose signals it follows
    // After the archive, whose keeper it follows.
    std::unique_ptr<TeamSyncHooks> m_teamSync;
    QString m_saveFolder;  // remembered for the run, apart from the open window's
    QString m_openFolder;
    std::unique_ptr<UnsavedGuard> m_unsavedGuard;
    bool m_ending = false;
    int m_changesWhenOpenShown = 0;  // the open window was shown with these changes settled
};

}  // namespace trellicap
