// The main window: slot list, A-scan plot, settings panel, readouts, report header fields,
// menus, and the start-up of the program. It is a view of its Session (the record store, the
// serial port and the link, the slot shown, the unsaved state): it turns user events into
// calls of the session and shows what the session says changed.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "profiles/model_profile.h"
#include "session/session.h"
#include "shell/archive/team_sync_hooks.h"
#include "shell/common/message_box.h"
#include "shell/common/question_box.h"
#include "shell/common/window_host.h"
#include "shell/compare/compare_commands.h"
#include "shell/export/export_commands.h"
#include "shell/export/print_commands.h"
#include "shell/files/recent_files_menu.h"
#include "shell/files/record_file_commands.h"
#include "shell/main/help_window.h"
#include "shell/port/main_port.h"

class QAction;
class QCloseEvent;
class QListWidget;
class QMenu;

namespace trellicap {

struct CompareChoice;
struct ExportChoice;
struct ReferenceTrace;
class ArchiveHooks;
class PlotPanel;
class PrinterSetup;
class SettingsPanel;
class SlotListPanel;
class StatusFields;
class frmAbout;
class JobHooks;

class frmmain : public QMainWindow, public WindowHost {
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
    [[nodiscard]] Session& session() { return *m_session; }
    [[nodiscard]] QListWidget* slotList() const;
    [[nodiscard]] SlotListPanel& slotPanel() const { return *m_slots; }

    // What the commands beside the window need of it.
    [[nodiscard]] QWidget& window() override { return *this; }
    void message(const UserMessage& message) override;
    Answer ask(const UserQuestion& question) override;
    void showStatus(const QString& text, int timeoutMs) override;
    [[nodiscard]] QString workingDir() const override { return m_options.workingDir; }
    void bringToFront() override;
    // All of the contents at their design size (a scroll area alone would ask for less).
    [[nodiscard]] QSize sizeHint() const override;

    // Main-window state.
    [[nodiscard]] std::int16_t portno() const { return m_port->portTarget().number; }
    [[nodiscard]] PortTarget portTarget() const { return m_port->portTarget(); }
    void setPortTarget(const PortTarget& target) { m_port->setPortTarget(target); }
    [[nodiscard]] int shownslot() const { return m_session->shownslot(); }

    // The text a named control shows (boxes, readouts, the time-and-date caption).
    [[nodiscard]] QString controlText(std::string_view control) const;

    // Named operations.
    void lstmem_DblClick();
    void cmdtxtsav_Click();
    void cmdcapture_Click();
    // Recall a slot for display or printing: copy the column, redraw, remember it.
    void showSlot(int column);

    // Closes the port and opens the device of the current port target. On failure the
    // port stays closed and the reason is returned.
    std::optional<PortOpenFailure> reopenPort() { return m_port->reopenPort(); }
    [[nodiscard]] QString portOpenFailure() const { return m_session->portFailure(); }

    // File > Exit, Ctrl+Q and the close box: asks first while there are unsaved changes.
    void requestExit();
    // Every normal end of the program passes through here, once.
    void quitProgram();

    // Secondary windows (at most one each).
    void openPortSelection() { m_port->openSelection(); }
    void openAbout();
    void openSaveWindow() { m_files->openSaveWindow(); }
    void openOpenWindow() { m_files->openOpenWindow(); }
    void openPrintOptions() { m_print->openPrintOptions(); }
    void openPrinterSetup() { m_print->openPrinterSetup(); }
    void openTeamServer() { m_teamSync->openTeamServer(); }

    // The application's printer, created on first use.
    PrinterSetup& printerSetup() { return m_print->printerSetup(); }

    // A comparison trace behind the plot: the choice window for a slot (preselected), and
    // the fetch it leads to (false, with a message, when the file gives no such record).
    void openCompare(int column) { m_compare->open(column); }
    bool compareWith(const CompareChoice& choice) { return m_compare->compareWith(choice); }
    // Draws `reference` behind the trace (the archive window's "Compare with").
    void showReference(const ReferenceTrace& reference);

    // Storage actions behind the windows.
    bool saveToFile(const QString& path) { return m_files->saveToFile(path); }
    void loadFromFile(const QString& path) { m_files->loadFromFile(path); }
    [[nodiscard]] bool hasUnsavedChanges() const { return m_session->unsaved(); }

    // File > New: every slot back to its start values and unmarked, after the unsaved
    // question.
    void newRecords() { m_files->newRecords(); }
    // A record file from the recent files or a drop: the unsaved question, then the load.
    void openRecordFile(const QString& path) { m_files->openRecordFile(path); }
    // The record file last opened or saved; empty after New or at start.
    [[nodiscard]] QString currentFile() const { return m_session->currentFile(); }
    [[nodiscard]] QMenu* recentFilesMenu() const { return m_recentFiles->menu(); }

    // File > Export PDF... and Export CSV...; pdf true for the PDF.
    void openExport(bool pdf) { m_exports->open(pdf); }
    void runExport(bool pdf, const ExportChoice& choice) { m_exports->run(pdf, choice); }

    // Help > Help Topic: the user's guide.
    void openHelp() { m_help->open(); }

    // The archive's menu, status field, restore offer and window (the session keeps the records).
    [[nodiscard]] ArchiveHooks& archive() const { return *m_archive; }
    // The Job menu and its windows (shell/job).
    [[nodiscard]] JobHooks& jobs() const { return *m_jobs; }
    // A record from the archive into its slot's column, whole and as it was kept: the entry
    // gets the slot mark and the table counts as unsaved.
    void fileRecord(int column, std::span<const RecordValue> values);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The window a message or question belongs to: the main window, or while it is hidden
    // the secondary window that is up.
    [[nodiscard]] QWidget* messageOwner();
    void buildMenus();
    void buildStatusBar();
    // What the window shows when the session changes (frmmain_view.cpp).
    void connectSession();
    void showView();
    // The title names the current file and marks unsaved changes.
    void updateTitle();
    // The caption beside the header boxes, after the shown slot or the record shown changed.
    void showNotesTarget();
    // The archive (what earlier runs left unsaved, this run's start) opens once the window
    // has painted: nothing that can wait stands before the first sight of the window.
    void startArchiveAfterFirstPaint();
    void startArchive();

    const ModelProfile& m_profile;
    Options m_options;
    std::unique_ptr<Session> m_session;

    QWidget* m_contents = nullptr;
    SlotListPanel* m_slots = nullptr;
    SettingsPanel* m_panel = nullptr;
    PlotPanel* m_plotPanel = nullptr;
    StatusFields* m_status = nullptr;
    QList<QAction*> m_busyActions;

    std::unique_ptr<MainPort> m_port;
    QPointer<frmAbout> m_frmAbout;
    std::unique_ptr<PrintCommands> m_print;
    std::unique_ptr<ExportCommands> m_exports;
    std::unique_ptr<CompareCommands> m_compare;
    std::unique_ptr<HelpCommand> m_help;
    std::unique_ptr<RecentFilesMenu> m_recentFiles;
    std::unique_ptr<ArchiveHooks> m_archive;
    // After the archive, whose keeper it follows.
    std::unique_ptr<TeamSyncHooks> m_teamSync;
    std::unique_ptr<JobHooks> m_jobs;
    RecordFileCommands* m_files = nullptr;
    bool m_ending = false;
};

}  // namespace trellicap
