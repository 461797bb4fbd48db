#include "shell/archive/frmarchive.h"

#include "session/job_records.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "archive/archive_keeper.h"
#include "archive/kept_records.h"
#include "profiles/model_registry.h"
#include "record/profile_text.h"
#include "report/export_job.h"
#include "report/slot_view.h"
#include "session/session.h"
#include "shell/archive/archive_hooks.h"
#include "shell/archive/archive_picture.h"
#include "shell/archive/archive_results_model.h"
#include "shell/archive/archive_scope.h"
#include "shell/common/window_host.h"
#include "shell/compare/archive_reference.h"
#include "storage/record_file_io.h"

namespace trellicap {

namespace {

constexpr int kTypingPauseMs = 250;
constexpr int kPdfDpi = 300;
constexpr int kRowHeight = 40;

}  // namespace

frmarchive::frmarchive(Session& session, WindowHost& host,
                       std::function<void(const ReferenceTrace&)> showReference)
    : QWidget(&host.window(), Qt::Window),
      m_session(session),
      m_host(host),
      m_showReference(std::move(showReference)),
      m_connection(QStringLiteral("QSQLITE"), QStringLiteral("trellicap-archive-window")) {
    setObjectName(QStringLiteral("frmarchive"));
    setWindowTitle(QStringLiteral("Search archive"));
    // A connection of the window's own: reading never waits for the keeper's writes (WAL).
    // A missing or unreadable archive shows as the search's own reason, as before.
    (void)archive::openSqliteReadOnly(m_connection, session.archivePath());
    m_db = m_connection.db();
    m_model = new ArchiveResultsModel(session.profile(), m_db, this);

    buildFilters();
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tblarchive"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setSortingEnabled(false);  // the database sorts: the header only asks it to
    m_table->horizontalHeader()->setSortIndicatorShown(true);
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->horizontalHeader()->setSortIndicator(1, Qt::DescendingOrder);
    m_table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_table->verticalHeader()->hide();
    m_table->setIconSize(QSize(kRowHeight * 4 / 3, ArchiveResultsModel::kThumbnailHeight));
    // Room for what each column holds; the header texts take what is left.
    const std::pair<int, int> widths[] = {{0, 60}, {1, 190}, {2, 50}, {3, 45},
                                          {4, 90}, {5, 220}, {6, 60}, {7, 50}};
    for (const auto& [column, width] : widths) {
        m_table->setColumnWidth(column, width);
    }
    m_table->setWordWrap(false);
    connect(m_table->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                m_orderBy = ArchiveResultsModel::sortColumn(column);
                m_ascending = order == Qt::AscendingOrder;
                runSearch();
            });
    connect(m_table, &QTableView::doubleClicked, this, [this] { showInMainWindow(); });

    m_lblcount = new QLabel(this);
    m_lblcount->setObjectName(QStringLiteral("lblcount"));
    m_picpreview = new QLabel(this);
    m_picpreview->setObjectName(QStringLiteral("picpreview"));
    m_picpreview->setMinimumSize(kPlotWidthTwips / 15, kPlotHeightTwips / 15);
    m_picpreview->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_lblpreview = new QLabel(this);
    m_lblpreview->setObjectName(QStringLiteral("lblpreview"));
    m_lblpreview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblpreview->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_lblpreview->setWordWrap(true);

    m_cmdshow = new QPushButton(QStringLiteral("Show in main window"), this);
    m_cmdshow->setObjectName(QStringLiteral("cmdshow"));
    m_cmdexportdat = new QPushButton(QStringLiteral("Export record file..."), this);
    m_cmdexportdat->setObjectName(QStringLiteral("cmdexportdat"));
    m_cmdexportpdf = new QPushButton(QStringLiteral("Export PDF..."), this);
    m_cmdexportpdf->setObjectName(QStringLiteral("cmdexportpdf"));
    m_cmdexportcsv = new QPushButton(QStringLiteral("Export CSV..."), this);
    m_cmdexportcsv->setObjectName(QStringLiteral("cmdexportcsv"));
    m_cmdcompare = new QPushButton(QStringLiteral("Compare with"), this);
    m_cmdcompare->setObjectName(QStringLiteral("cmdcomparewith"));
    m_cmdcompare->setToolTip(QStringLiteral(
        "Draw this record behind the main window's trace, leaving its slots as they are"));
    m_cmdaddtojob = new QPushButton(QStringLiteral("Add to Job"), this);
    m_cmdaddtojob->setObjectName(QStringLiteral("cmdaddtojob"));
    m_cmdaddtojob->setToolTip(QStringLiteral("The chosen records join the job open in Job"));
    connect(m_cmdaddtojob, &QPushButton::clicked, this, [this] { addToJob(); });
    connect(m_cmdshow, &QPushButton::clicked, this, [this] { showInMainWindow(); });
    connect(m_cmdcompare, &QPushButton::clicked, this, [this] { compareInMainWindow(); });
    connect(m_cmdexportdat, &QPushButton::clicked, this, [this] {
        const QString path = pathFor(QStringLiteral("Record files (*.dat)"));
        if (!path.isEmpty()) {
            exportRecordFile(path);
        }
    });
    connect(m_cmdexportpdf, &QPushButton::clicked, this, [this] {
        const QString path = pathFor(QStringLiteral("PDF documents (*.pdf)"));
        if (!path.isEmpty()) {
            exportPdf(path);
        }
    });
    connect(m_cmdexportcsv, &QPushButton::clicked, this, [this] {
        const QString path = pathFor(QStringLiteral("CSV tables (*.csv)"));
        if (!path.isEmpty()) {
            exportCsv(path);
        }
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmarchive::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmarchive::selectionChanged);

    auto* preview = new QWidget(this);
    auto* previewLayout = new QVBoxLayout(preview);
    previewLayout->addWidget(m_picpreview);
    previewLayout->addWidget(m_lblpreview, 1);
    auto* split = new QSplitter(this);
    split->addWidget(m_table);
    split->addWidget(preview);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto* actions = new QHBoxLayout;
    actions->addWidget(m_lblcount, 1);
    actions->addWidget(m_cmdshow);
    actions->addWidget(m_cmdcompare);
    actions->addWidget(m_cmdexportdat);
    actions->addWidget(m_cmdexportpdf);
    actions->addWidget(m_cmdexportcsv);
    actions->addWidget(m_cmdaddtojob);
    auto* layout = qobject_cast<QVBoxLayout*>(this->layout());
    layout->addWidget(split, 1);
    layout->addLayout(actions);

    m_typing.setSingleShot(true);
    m_typing.setInterval(kTypingPauseMs);
    connect(&m_typing, &QTimer::timeout, this, &frmarchive::runSearch);
    resize(1300, 700);
    runSearch();
}

frmarchive::~frmarchive() {
    delete m_model;
    m_model = nullptr;
    m_db.close();
    m_db = QSqlDatabase();
    delete m_scope;  // its server connection and its copy of the local one go first
    m_scope = nullptr;
}

void frmarchive::useDatabase(const QSqlDatabase& db) {
    m_db = db;
    ArchiveResultsModel* old = m_model;
    m_model = new ArchiveResultsModel(m_session.profile(), m_db, this);
    m_table->setModel(m_model);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmarchive::selectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &frmarchive::selectionChanged);
    delete old;
    runSearch();
}

void frmarchive::buildFilters() {
    const auto later = [this] { m_typing.start(); };
    m_chkfrom = new QCheckBox(QStringLiteral("From"), this);
    m_chkfrom->setObjectName(QStringLiteral("chkfrom"));
    m_dtfrom = new QDateEdit(QDate::currentDate().addMonths(-1), this);
    m_dtfrom->setObjectName(QStringLiteral("dtfrom"));
    m_dtfrom->setCalendarPopup(true);
    m_chkto = new QCheckBox(QStringLiteral("To"), this);
    m_chkto->setObjectName(QStringLiteral("chkto"));
    m_dtto = new QDateEdit(QDate::currentDate(), this);
    m_dtto->setObjectName(QStringLiteral("dtto"));
    m_dtto->setCalendarPopup(true);
    m_txtfind = new QLineEdit(this);
    m_txtfind->setObjectName(QStringLiteral("txtfind"));
    m_txtfind->setPlaceholderText(QStringLiteral("Operator, job, remark or record file name"));
    m_txtfind->setClearButtonEnabled(true);
    m_spnslot = new QSpinBox(this);
    m_spnslot->setObjectName(QStringLiteral("spnslot"));
    m_spnslot->setRange(0, kSlotCount);
    m_spnslot->setSpecialValueText(QStringLiteral("Any"));
    m_cbomodel = new QComboBox(this);
    m_cbomodel->setObjectName(QStringLiteral("cbomodel"));
    m_cbomodel->addItem(QStringLiteral("Any"), QString());
    for (const RegisteredModel& model : registeredModels()) {
        m_cbomodel->addItem(qs(model.name), qs(model.key));
    }
    m_cbosource = new QComboBox(this);
    m_cbosource->setObjectName(QStringLiteral("cbosource"));
    m_cbosource->addItem(QStringLiteral("Any"), QString());
    for (const QString& source : archive::sourceNames()) {
        m_cbosource->addItem(source, source);
    }
    m_chkversions = new QCheckBox(QStringLiteral("All versions"), this);
    m_chkversions->setObjectName(QStringLiteral("chkversions"));

    connect(m_txtfind, &QLineEdit::textChanged, this, later);
    connect(m_chkfrom, &QCheckBox::toggled, this, later);
    connect(m_chkto, &QCheckBox::toggled, this, later);
    connect(m_dtfrom, &QDateEdit::dateChanged, this, later);
    connect(m_dtto, &QDateEdit::dateChanged, this, later);
    connect(m_spnslot, &QSpinBox::valueChanged, this, later);
    connect(m_cbomodel, &QComboBox::currentIndexChanged, this, later);
    connect(m_cbosource, &QComboBox::currentIndexChanged, this, later);
    connect(m_chkversions, &QCheckBox::toggled, this, later);

    m_scope = new ArchiveScope(m_host.workingDir(), m_db, this);
    connect(m_scope, &ArchiveScope::databaseChosen, this, &frmarchive::useDatabase);
    connect(m_scope, &ArchiveScope::note, this,
            [this](const QString& text) { m_lblcount->setText(text); });

    auto* row = new QHBoxLayout;
    row->addWidget(m_scope->combo());
    auto* find = new QLabel(QStringLiteral("Find"), this);
    find->setBuddy(m_txtfind);
    row->addWidget(find);
    row->addWidget(m_txtfind, 1);
    row->addWidget(m_chkfrom);
    row->addWidget(m_dtfrom);
    row->addWidget(m_chkto);
    row->addWidget(m_dtto);
    row->addWidget(new QLabel(QStringLiteral("Slot"), this));
    row->addWidget(m_spnslot);
    row->addWidget(new QLabel(QStringLiteral("Model"), this));
    row->addWidget(m_cbomodel);
    row->addWidget(new QLabel(QStringLiteral("Source"), this));
    row->addWidget(m_cbosource);
    row->addWidget(m_chkversions);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buildJobFilters());
}

QHBoxLayout* frmarchive::buildJobFilters() {
    // The records of jobs: by the job's client, order or object, and the result there.
    m_txtfindjob = new QLineEdit(this);
    m_txtfindjob->setObjectName(QStringLiteral("txtfindjob"));
    m_txtfindjob->setPlaceholderText(QStringLiteral("Client, order or object of a job"));
    m_txtfindjob->setClearButtonEnabled(true);
    m_cboresult = new QComboBox(this);
    m_cboresult->setObjectName(QStringLiteral("cboresult"));
    m_cboresult->addItem(QStringLiteral("Any"), QString());
    for (const char* result :
         {"no indication", "below recording level", "acceptable", "reject", "outside DAC"}) {
        m_cboresult->addItem(QString::fromLatin1(result), QString::fromLatin1(result));
    }
    connect(m_txtfindjob, &QLineEdit::textChanged, this, [this] { m_typing.start(); });
    connect(m_cboresult, &QComboBox::currentIndexChanged, this, [this] { m_typing.start(); });
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Job"), this);
    label->setBuddy(m_txtfindjob);
    row->addWidget(label);
    row->addWidget(m_txtfindjob, 1);
    row->addWidget(new QLabel(QStringLiteral("Result in the job"), this));
    row->addWidget(m_cboresult);
    row->addStretch(1);
    return row;
}

archive::SearchFilter frmarchive::filter() const {
    archive::SearchFilter filter;
    if (m_chkfrom->isChecked()) {
        filter.fromMs = m_dtfrom->date().startOfDay().toMSecsSinceEpoch();
    }
    if (m_chkto->isChecked()) {
        filter.toMs = m_dtto->date().addDays(1).startOfDay().toMSecsSinceEpoch();
    }
    filter.text = m_txtfind->text().trimmed();
    if (m_spnslot->value() > 0) {
        filter.slot = m_spnslot->value();
    }
    filter.model = m_cbomodel->currentData().toString();
    filter.source = m_cbosource->currentData().toString();
    filter.allVersions = m_chkversions->isChecked();
    filter.job = m_txtfindjob->text().trimmed();
    filter.result = m_cboresult->currentData().toString();
    return filter;
}

void frmarchive::runSearch() {
    m_typing.stop();
    const archive::SearchFilter current = filter();
    const QString error = m_model->search(current, m_orderBy, m_ascending);
    if (!error.isEmpty()) {
        m_lblcount->setText(QStringLiteral("The archive cannot be read: %1").arg(error));
        return;
    }
    // The count is one pass over the short rows; the rows themselves come as they scroll.
    QString countError;
    const int counted = archive::countMatches(m_db, current, &countError);
    const int found = counted >= 0 ? counted : m_model->rowCount();
    m_lblcount->setText(found == 1 ? QStringLiteral("1 record")
                                   : QStringLiteral("%1 records").arg(found));
}

QList<int> frmarchive::selectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void frmarchive::selectionChanged() {
    const QList<int> rows = selectedRows();
    m_cmdshow->setEnabled(rows.size() == 1);
    m_cmdcompare->setEnabled(rows.size() == 1);
    m_cmdexportdat->setEnabled(!rows.isEmpty());
    m_cmdexportpdf->setEnabled(!rows.isEmpty());
    m_cmdexportcsv->setEnabled(!rows.isEmpty());
    m_cmdaddtojob->setEnabled(!rows.isEmpty() && static_cast<bool>(addRecordsToJob));
    if (rows.size() != 1) {
        m_picpreview->clear();
        m_lblpreview->clear();
        return;
    }
    const int row = rows.front();
    const auto values = m_model->values(row);
    m_picpreview->setPixmap(QPixmap::fromImage(keptPicture(m_session.profile(), values, 96.0)));
    QStringList lines;
    lines << QStringLiteral("Mem %1, %2, version %3")
                 .arg(m_model->slot(row))
                 .arg(m_model->model(row).toUpper())
                 .arg(m_model->version(row));
    lines << QStringLiteral("Arrived %1 (%2)")
                 .arg(m_model->value(row, archive::kColArrived),
                      m_model->value(row, archive::kColSource));
    if (const QString path = m_model->value(row, archive::kColPath); !path.isEmpty()) {
        lines << QStringLiteral("From %1").arg(path);
    }
    if (const QString stored = m_model->value(row, archive::kColTimeDate).trimmed();
        !stored.isEmpty()) {
        lines << QStringLiteral("Stored on the instrument %1").arg(stored);
    }
    lines << QStringLiteral("RANGE %1, DELAY %2, gain %3 dB, GATE 1 %4, GATE 2 %5")
                 .arg(m_model->value(row, archive::kColRange),
                      m_model->value(row, archive::kColDelay),
                      m_model->value(row, archive::kColGain),
                      m_model->value(row, archive::kColGate1),
                      m_model->value(row, archive::kColGate2));
    for (const auto& [name, text] :
         archive::headerFromJson(m_model->value(row, archive::kColHeader))) {
        if (!text.isEmpty()) {
            lines << text;
        }
    }
    const QStringList saved =
        archive::savedInPaths(m_db, m_model->uuid(row), m_model->version(row));
    for (const QString& path : saved) {
        lines << QStringLiteral("Saved in %1").arg(path);
    }
    m_lblpreview->setText(lines.join(QLatin1Char('\n')));
}

bool frmarchive::ask(const QString& question) {
    if (confirm) {
        return confirm(question);
    }
    return QMessageBox::question(this, QStringLiteral("Search archive"), question) ==
           QMessageBox::Yes;
}

QString frmarchive::pathFor(const QString& filter) {
    if (askPath) {
        return askPath(filter);
    }
    return QFileDialog::getSaveFileName(this, QStringLiteral("Export"), m_host.workingDir(),
                                        filter);
}

void frmarchive::fail(const QString& text) {
    m_host.message({QStringLiteral("Search archive"), text});
}

bool frmarchive::showInMainWindow() {
    const QList<int> rows = selectedRows();
    if (rows.size() != 1) {
        return false;
    }
    const int row = rows.front();
    const auto values = m_model->values(row);
    if (values.empty() && m_model->model(row) == qs(m_session.profile().modelKey)) {
        // A record of this model refused all the same (a slot outside 1..200, the wrong
        // count of values): the archive's reason names it.
        fail(m_model->refusal(row));
        return false;
    }
    if (values.empty()) {
        fail(QStringLiteral("This record is of the %1 model; this program shows %2 records.")
                 .arg(m_model->model(row).toUpper(),
                      QString::fromLatin1(
                          m_session.profile().modelKey.data(),
                          static_cast<qsizetype>(m_session.profile().modelKey.size()))
                          .toUpper()));
        return false;
    }
    const int column = m_model->slot(row) - 1;
    // A frame on its way, or a record that names no slot: said before anything is asked.
    if (const Refusal refusal = m_session.changeRefused(); refusal.refused()) {
        fail(refusal.reason());
        return false;
    }
    if (column < 0 || column >= kSlotCount) {
        fail(QStringLiteral("Record %1 v%2 names slot %3; the slots are 1 to %4.")
                 .arg(m_model->uuid(row).left(8))
                 .arg(m_model->version(row))
                 .arg(column + 1)
                 .arg(kSlotCount));
        return false;
    }
    if (m_session.holdsOtherRecord(column, values) &&
        !ask(QStringLiteral("Mem %1 holds a record. Replace it with the record from the archive?")
                 .arg(column + 1))) {
        return false;
    }
    if (const Refusal refusal =
            m_session.restoreRecord(column, values, m_model->uuid(row), m_model->version(row));
        refusal.refused()) {
        fail(QStringLiteral("Record %1 v%2 was not filed: %3")
                 .arg(m_model->uuid(row).left(8))
                 .arg(m_model->version(row))
                 .arg(refusal.reason()));
        return false;
    }
    (void)m_session.recall(column);
    m_host.bringToFront();
    return true;
}

bool frmarchive::compareInMainWindow() {
    const QList<int> rows = selectedRows();
    if (rows.size() != 1) {
        return false;
    }
    // The version in the row chosen (with "all versions" an older one may be), read from the
    // database this window shows: this computer's archive or the team server.
    const int row = rows.front();
    const auto values = m_model->values(row);
    if (values.empty()) {
        fail(QStringLiteral("This record cannot be compared: it is of the %1 model, or its "
                            "values are missing.")
                 .arg(m_model->model(row).toUpper()));
        return false;
    }
    archive::KeptVersion kept;
    kept.uuid = m_model->uuid(row);
    kept.version = m_model->version(row);
    kept.slot = m_model->slot(row);
    kept.path = m_model->value(row, archive::kColPath);
    kept.arrived = m_model->value(row, archive::kColArrived);
    m_showReference(referenceFromRecord(m_session.profile(), archiveReferenceName(kept), values));
    m_host.bringToFront();
    return true;
}

QStringList frmarchive::selectedUuids(QString* error) const {
    QStringList uuids;
    for (const int row : selectedRows()) {
        if (!uuids.contains(m_model->uuid(row))) {
            uuids.append(m_model->uuid(row));
        }
    }
    if (uuids.isEmpty()) {
        *error = QStringLiteral("Choose the records to export first.");
    }
    return uuids;
}

bool frmarchive::exportRecordFile(const QString& path) {
    QString error;
    const QStringList uuids = selectedUuids(&error);
    RecordStore store(m_session.profile());
    const KeptTable table =
        uuids.isEmpty() ? KeptTable{{}, error} : tableFromKept(m_db, uuids, store);
    if (!table.error.isEmpty()) {
        fail(QStringLiteral("The record file was not written: %1.").arg(table.error));
        return false;
    }
    if (const auto failed = saveRecordFile(path, store)) {
        fail(QStringLiteral("The record file %1 was not written: %2").arg(path, *failed));
        return false;
    }
    return true;
}

bool frmarchive::addToJob() {
    QString error;
    const QStringList uuids = selectedUuids(&error);
    if (uuids.isEmpty() || !addRecordsToJob) {
        return false;
    }
    ChosenRecords chosen = itemsFromArchive(m_db, m_session.profile(), uuids);
    if (!chosen.error.isEmpty()) {
        fail(QStringLiteral("The records did not join the job: %1.").arg(chosen.error));
        return false;
    }
    addRecordsToJob(std::move(chosen.items));
    return true;
}

bool frmarchive::exportPdf(const QString& path) {
    return exportDocument(path, QStringLiteral("PDF"), ExportFormat::BitmapPdf);
}

bool frmarchive::exportCsv(const QString& path) {
    return exportDocument(path, QStringLiteral("CSV table"), ExportFormat::Csv);
}

bool frmarchive::exportDocument(const QString& path, const QString& what, ExportFormat format) {
    QString error;
    const QStringList uuids = selectedUuids(&error);
    RecordStore store(m_session.profile());
    const KeptTable table =
        uuids.isEmpty() ? KeptTable{{}, error} : tableFromKept(m_db, uuids, store);
    if (!table.error.isEmpty()) {
        fail(QStringLiteral("The %1 was not written: %2.").arg(what, table.error));
        return false;
    }
    ExportRequest request;
    request.format = format;
    request.dpi = kPdfDpi;
    request.slotNumbers = table.filled;
    request.marked.fill(true);  // every record exported holds a record
    // Written aside and renamed into place, so a failure leaves an earlier file as it was.
    ExportJob job(store, std::move(request), path);
    if (!job.run()) {
        fail(QStringLiteral("The %1 %2 was not written: %3.").arg(what, path, job.error()));
        return false;
    }
    return true;
}

}  // namespace trellicap
