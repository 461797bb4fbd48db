#include "shell/job/frmjobreport.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trellicap {

frmjobreport::frmjobreport(const JobReportContent& content, const QString& suggestedPath,
                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmjobreport"));
    setWindowTitle(QStringLiteral("Job Report"));
    QStringList lines;
    lines << content.jobLine;
    lines << (content.missing.isEmpty()
                  ? QStringLiteral("Every mandatory item is filled in.")
                  : QStringLiteral("Missing mandatory items: %1. A report made now is a draft: "
                                   "it says DRAFT on every page.")
                        .arg(content.missing.join(QStringLiteral(", "))));
    for (const ReportSection& section : content.cover) {
        for (const QString& line : section.lines) {
            if (line.startsWith(QLatin1String("Warning: "))) {
                lines << line;
            }
        }
    }
    lines << QStringLiteral("%1 record page(s) follow the job's own pages.").arg(content.records);
    auto* summary = new QLabel(lines.join(QLatin1Char('\n')), this);
    summary->setObjectName(QStringLiteral("lblreportstatus"));
    summary->setWordWrap(true);
    m_file = new QLineEdit(suggestedPath, this);
    m_file->setObjectName(QStringLiteral("txtreportfile"));
    m_file->setMinimumWidth(m_file->fontMetrics().averageCharWidth() * 48);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("cmdbrowse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &frmjobreport::browse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("File:"), this));
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_make = buttons->addButton(QStringLiteral("Make Report"), QDialogButtonBox::AcceptRole);
    m_make->setObjectName(QStringLiteral("cmdmakereport"));
    m_draft = buttons->addButton(QStringLiteral("Make Draft"), QDialogButtonBox::ActionRole);
    m_draft->setObjectName(QStringLiteral("cmdmakedraft"));
    m_make->setEnabled(!content.draft());
    m_draft->setVisible(content.draft());
    (content.draft() ? m_draft : m_make)->setDefault(true);
    connect(m_make, &QPushButton::clicked, this, [this] {
        accept();
        emit reportRequested(path(), false);
    });
    connect(m_draft, &QPushButton::clicked, this, [this] {
        accept();
        emit reportRequested(path(), true);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addLayout(fileRow);
    layout->addWidget(buttons);
}

QString frmjobreport::path() const {
    return m_file->text().trimmed();
}

void frmjobreport::browse() {
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Job Report"), path(),
                                                        QStringLiteral("PDF files (*.pdf)"));
    if (!chosen.isEmpty()) {
        m_file->setText(chosen);
    }
}

}  // namespace trellicap
