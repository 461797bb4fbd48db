// Job > Open Job...: the jobs kept in the archive, the last changed first; the one chosen
// opens in the job window.
#pragma once

#include <QDialog>
#include <vector>

#include "inspection/job_store.h"

class QTableWidget;

namespace trellicap {

class frmjoblist : public QDialog {
    Q_OBJECT
public:
    frmjoblist(inspection::InspectionStore& store, QWidget* parent = nullptr);
    void reload();
    [[nodiscard]] QTableWidget* table() const { return m_table; }
    // Opens the job of the chosen row.
    void openChosen();

signals:
    void jobChosen(const QString& id);

private:
    inspection::InspectionStore& m_store;
    QTableWidget* m_table;
    std::vector<inspection::JobListing> m_jobs;
};

}  // namespace trellicap
