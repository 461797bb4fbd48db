#include "shell/job/frmjoblist.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace trellicap {

frmjoblist::frmjoblist(inspection::InspectionStore& store, QWidget* parent)
    : QDialog(parent), m_store(store), m_table(new QTableWidget(this)) {
    setObjectName(QStringLiteral("frmjoblist"));
    setWindowTitle(QStringLiteral("Open Job"));
    m_table->setObjectName(QStringLiteral("tbljobs"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &frmjoblist::openChosen);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    auto* open = buttons->addButton(QStringLiteral("Open"), QDialogButtonBox::AcceptRole);
    open->setObjectName(QStringLiteral("cmdopenjob"));
    open->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmjoblist::openChosen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
    resize(760, 420);
    reload();
}

void frmjoblist::reload() {
    QString error;
    m_jobs = m_store.jobs(&error);
    const QStringList headings = {QStringLiteral("Client"),  QStringLiteral("Order"),
                                  QStringLiteral("Object"),  QStringLiteral("Records"),
                                  QStringLiteral("Result"),  QStringLiteral("Version"),
                                  QStringLiteral("Changed"), QStringLiteral("Id")};
    m_table->clear();
    m_table->setColumnCount(static_cast<int>(headings.size()));
    m_table->setHorizontalHeaderLabels(headings);
    m_table->setRowCount(static_cast<int>(m_jobs.size()));
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const inspection::JobListing& job = m_jobs[static_cast<std::size_t>(r)];
        const QStringList cells = {job.client,    job.order,
                                   job.object,    QString::number(job.records),
                                   job.result,    QString::number(job.version),
                                   job.changedAt, job.id.left(8)};
        for (int c = 0; c < cells.size(); ++c) {
            m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
        }
    }
    m_table->resizeColumnsToContents();
    if (!m_jobs.empty()) {
        m_table->selectRow(0);
    }
}

void frmjoblist::openChosen() {
    const int row = m_table->currentRow();
    if (row < 0 || row >= static_cast<int>(m_jobs.size())) {
        return;
    }
    accept();
    emit jobChosen(m_jobs[static_cast<std::size_t>(row)].id);
}

}  // namespace trellicap
