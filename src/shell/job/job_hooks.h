// The Job menu of the main window (New Job..., Open Job..., Edit Job..., Add Selected Slots,
// Equipment..., Job Report...) and the windows behind it: the job window, the job list, the
// equipment register and the report's question. The jobs and the register are kept in the
// working folder's archive, beside the records, through the same desk trellicap-cli uses.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "inspection/job.h"

class QMenuBar;

namespace trellicap {

class ArchiveInspectionStore;
class JobDesk;
class Session;
class WindowHost;
class frmequipment;
class frmjob;
class frmjoblist;
class frmjobreport;

class JobHooks : public QObject {
    Q_OBJECT
public:
    // `selectedColumns` gives the slot list's selection (Add Selected Slots).
    JobHooks(Session& session, WindowHost& host, QMenuBar& bar,
             std::function<QList<int>()> selectedColumns);
    ~JobHooks() override;

    // Test seam: the file a file dialog would give (empty: none chosen). Empty: the dialog.
    std::function<QString(const QString& title, const QString& filter, bool save)> askPath;

    // The menu's commands.
    void newJob();
    void openJobList();
    void editJob();
    void addSelectedSlots();
    void openEquipment();
    void openReport();
    // Records of a record file (its marked slots), and kept records the archive window read.
    void addRecordFile(const QString& path);
    void addKeptRecords(std::vector<inspection::JobItem> items);
    // Opens a kept job in the job window.
    bool openJob(const QString& id);
    // Writes the report of the open job, stepping from the event loop; the result in the
    // status line (or a message).
    void makeReport(const QString& path, bool draft);

    // Null until a command first needs it, and where the archive cannot be opened (the reason
    // in storeError()).
    [[nodiscard]] JobDesk* desk() const { return m_desk.get(); }
    [[nodiscard]] QString storeError() const;
    [[nodiscard]] frmjob* jobWindow() const;
    [[nodiscard]] frmjoblist* jobList() const;
    [[nodiscard]] frmequipment* equipmentWindow() const;
    [[nodiscard]] frmjobreport* reportWindow() const;

signals:
    // A report was written (ok) or not; for the status line and the tests.
    void reportFinished(bool ok, const QString& path);

private:
    void buildMenu(QMenuBar& bar);
    bool ready();
    frmjob& jobWindowShown();
    void addRecords(std::vector<inspection::JobItem> items, const QString& from);
    [[nodiscard]] QString chosenPath(const QString& title, const QString& filter, bool save);

    Session& m_session;
    WindowHost& m_host;
    std::function<QList<int>()> m_selectedColumns;
    std::unique_ptr<ArchiveInspectionStore> m_store;
    std::unique_ptr<JobDesk> m_desk;
    QPointer<frmjob> m_job;
    QPointer<frmjoblist> m_list;
    QPointer<frmequipment> m_equipment;
    QPointer<frmjobreport> m_report;
    bool m_reporting = false;
};

// A file name for the job's report: "job-4711-W-12.pdf" in `folder`.
[[nodiscard]] QString suggestedReportPath(const inspection::Job& job, const QString& folder);

}  // namespace trellicap
