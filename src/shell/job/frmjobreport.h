// Job > Job Report...: before the report is made, what the job lacks (a report made anyway is
// a draft, DRAFT on every page) and what the equipment register warns of; the file to write.
#pragma once

#include <QDialog>

#include "report/job_report_content.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace trellicap {

class frmjobreport : public QDialog {
    Q_OBJECT
public:
    frmjobreport(const JobReportContent& content, const QString& suggestedPath,
                 QWidget* parent = nullptr);
    [[nodiscard]] QString path() const;
    [[nodiscard]] QPushButton* makeButton() const { return m_make; }
    [[nodiscard]] QPushButton* draftButton() const { return m_draft; }

signals:
    void reportRequested(const QString& path, bool draft);

private:
    void browse();

    QLineEdit* m_file;
    QPushButton* m_make;
    QPushButton* m_draft;
};

}  // namespace trellicap
