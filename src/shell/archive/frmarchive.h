// The archive window ("Archive" > "Search archive...", Ctrl+F): filters (a date range, free
// text over the header fields and the record files' names, slot, model, source), a sortable
// table of what they find with a thumbnail of each A-scan, a preview drawn as the main
// window draws it, and the actions: show in the main window, compare with it there, export
// as one record file, one PDF or one CSV table.
#pragma once

#include <QSqlDatabase>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "archive/archive_search.h"
#include "archive/db_connection.h"
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
    [[nodiscard]] archive::SearchFilter filter() const;
    [[nodiscard]] ArchiveResultsModel& results() const { return *m_model; }
    [[nodiscard]] QTableView* table() const { return m_table; }

    // The actions, on the selected rows.
    bool showInMainWindow();
    // Draws the chosen version behind the main window's trace (its slots stay as they are).
    bool compareInMainWindow();
    bool exportRecordFile(const QString& path);
    bool exportPdf(const QString& path);
    bool exportCsv(const QString& path);
    // The chosen records' newest versions join the open job.
    bool addToJob();

private:
    // The chosen records into one document of `format` at `path` (`what` names it in the
    // messages); false, with the reason shown, when it could not be written.
    bool exportDocument(const QString& path, const QString& what, ExportFormat format);
    void buildFilters();
    [[nodiscard]] QHBoxLayout* buildJobFilters();
    // The scope chose another database (this computer's archive or the team server).
    void useDatabase(const QSqlDatabase& db);
    void selectionChanged();
    [[nodiscard]] QList<int> selectedRows() const;
    [[nodiscard]] QStringList selectedUuids(QString* error) const;
    bool ask(const QString& question);
    [[nodiscard]] QString pathFor(const QString& filter);
    void fail(const QString& text);

    Session& m_session;
    WindowHost& m_host;
    std::function<void(const ReferenceTrace&)> m_showReference;
    archive::DbConnection m_connection;
    QSqlDatabase m_db;  // the scope's database: this computer's archive or the team server
    ArchiveScope* m_scope = nullptr;
    ArchiveResultsModel* m_model = nullptr;
    QTimer m_typing;
    archive::SearchColumn m_orderBy = archive::kColArrivedMs;
    bool m_ascending = false;

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
