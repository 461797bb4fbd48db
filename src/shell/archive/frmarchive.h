// The archive window ("Archive" > "Search archive...", Ctrl+F): filters (a date range, free
// text over the header fields and the record files' names, slot, model, source), a sortable
// table of what they find with a thumbnail of each A-scan, a preview drawn as the main
// window draws it, and the actions: show in the main window, compare with it there, export
// as one record file, one PDF or one CSV table. Every read goes through the archive's query
// worker (archive_queries.h): the window never waits on a database, and a team server that
// does not answer within the deadline sends the window back to this computer.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <vector>

#include "archive/archive_queries.h"
#include "archive/archive_search.h"
#include "inspection/job.h"
#include "report/export_job.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QIODevice;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableView;

namespace trellicap {

class ArchiveResultsModel;
class ArchiveScope;
class RecordStore;
class Session;
class WindowHost;
struct ReferenceTrace;

class frmarchive : public QWidget {
    Q_OBJECT
public:
    // Over the session's archive; "Compare with" draws through `showReference`.
    frmarchive(Session& session, WindowHost& host,
               std::function<void(const ReferenceTrace&)> showReference);
    ~frmarchive() override;

    // Test seams: the question before a record in the main window is replaced, and the
    // file an export writes. Empty: a message box and a file dialog.
    std::function<bool(const QString& question)> confirm;
    std::function<QString(const QString& filter)> askPath;
    // Where "Add to Job" sends the chosen records (the Job menu's open job); empty: the button
    // stays off.
    std::function<void(std::vector<inspection::JobItem>)> addRecordsToJob;

    // Runs the search with the filters as they stand (typing runs it after a short pause).
    void runSearch();
    // Test seam: waits (running the event loop) until the answers asked for have come, at
    // most `ms`; false when some are still out.
    bool settle(int ms = 10000);
    [[nodiscard]] archive::SearchFilter filter() const;
    [[nodiscard]] ArchiveResultsModel& results() const { return *m_model; }
    [[nodiscard]] QTableView* table() const { return m_table; }

    // The actions, on the selected rows. Each reads what it needs through the worker and
    // finishes when that arrives; false when it was refused at once (with the reason shown),
    // true when it went on (a later refusal or failure is shown as a message).
    bool showInMainWindow();
    // Draws the chosen version behind the main window's trace (its slots stay as they are).
    bool compareInMainWindow();
    bool exportRecordFile(const QString& path);
    // The vector report with text, as File > Export PDF writes it.
    bool exportPdf(const QString& path);
    bool exportCsv(const QString& path);
    // The chosen records' newest versions join the open job.
    bool addToJob();

private:
    enum class Export { RecordFile, Pdf, Csv };
    // The chosen records into one file at `path`, once the worker has read them.
    bool exportChosen(const QString& path, Export kind);
    void writeExport(const QString& path, Export kind, const RecordStore& store,
                     const std::vector<int>& filled);
    void buildFilters();
    [[nodiscard]] QHBoxLayout* buildJobFilters();
    // The scope chose this computer's archive or the team server.
    void useLocal();
    void useServer(const archive::ServerAddress& address);
    // A search on the team server failed: this computer from now on, said in one line.
    void searchFailed(const QString& reason);
    // One version's values for `then` (show, compare), read by the worker.
    bool withValuesOfChosen(std::function<void(int row, const archive::KeptValues&)> then);
    // Reading through the worker that ends in `then` (on this thread); a failure is shown.
    void afterWork(const QString& what, archive::ArchiveQueries::Reading work,
                   std::function<void()> then);
    void showValues(int row, const archive::KeptValues& values);
    void compareValues(int row, const archive::KeptValues& values);
    void showPreview(const archive::KeptPreview& preview);
    void note(const QString& text);
    void selectionChanged();
    [[nodiscard]] QList<int> selectedRows() const;
    [[nodiscard]] QStringList selectedUuids(QString* error) const;
    bool ask(const QString& question);
    [[nodiscard]] QString pathFor(const QString& filter);
    void fail(const QString& text);

    Session& m_session;
    WindowHost& m_host;
    std::function<void(const ReferenceTrace&)> m_showReference;
    archive::ArchiveQueries* m_queries = nullptr;
    ArchiveScope* m_scope = nullptr;
    ArchiveResultsModel* m_model = nullptr;
    QTimer m_typing;
    archive::SearchColumn m_orderBy = archive::kColArrivedMs;
    bool m_ascending = false;
    int m_previewRequest = 0;
    // Actions waiting for the worker: request -> what finishes them.
    std::map<int, std::function<void()>> m_works;
    std::map<int, std::function<void(const std::vector<archive::KeptValues>&)>> m_valueWaits;

    QCheckBox* m_chkfrom = nullptr;
    QDateEdit* m_dtfrom = nullptr;
    QCheckBox* m_chkto = nullptr;
    QDateEdit* m_dtto = nullptr;
    QLineEdit* m_txtfind = nullptr;
    QSpinBox* m_spnslot = nullptr;
    QComboBox* m_cbomodel = nullptr;
    QComboBox* m_cbosource = nullptr;
    QCheckBox* m_chkversions = nullptr;
    QLineEdit* m_txtfindjob = nullptr;
    QComboBox* m_cboresult = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_lblcount = nullptr;
    QLabel* m_lblnote = nullptr;  // what the last action did ("Wrote ...")
    QLabel* m_picpreview = nullptr;
    QLabel* m_lblpreview = nullptr;
    QPushButton* m_cmdshow = nullptr;
    QPushButton* m_cmdcompare = nullptr;
    QPushButton* m_cmdexportdat = nullptr;
    QPushButton* m_cmdexportpdf = nullptr;
    QPushButton* m_cmdexportcsv = nullptr;
    QPushButton* m_cmdaddtojob = nullptr;
};

}  // namespace trellicap
