#include "shell/export/export_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace trellicap {

namespace {

QRadioButton* optionButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

ExportDialog::ExportDialog(Kind kind, QWidget* parent) : QDialog(parent), m_kind(kind) {
    setObjectName(kind == Kind::Pdf ? QStringLiteral("frmexportpdf")
                                    : QStringLiteral("frmexportcsv"));
    setWindowTitle(kind == Kind::Pdf ? QStringLiteral("Export PDF") : QStringLiteral("Export CSV"));
    auto* frame = new QGroupBox(QStringLiteral("Export Option"), this);
    m_opsingle =
        optionButton(frame, "opsingle", QStringLiteral("Currently Displayed Ascan Report"));
    m_opselect = optionButton(frame, "opselect", QStringLiteral("Selected Ascan Report"));
    m_opall = optionButton(frame, "opall", QStringLiteral("All Ascan Report"));
    m_opsingle->setChecked(true);
    auto* options = new QVBoxLayout(frame);
    options->addWidget(m_opsingle);
    options->addWidget(m_opselect);
    options->addWidget(m_opall);

    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("txtexportfile"));
    m_file->setMinimumWidth(m_file->fontMetrics().averageCharWidth() * 48);  // a whole path
    auto* label = new QLabel(QStringLiteral("File:"), this);
    label->setBuddy(m_file);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("cmdbrowse"));
    browse->setAutoDefault(false);
    connect(browse, &QPushButton::clicked, this, &ExportDialog::browse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(label);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(fileRow);
    if (kind == Kind::Pdf) {
        m_vector = new QCheckBox(QStringLiteral("Text and lines (searchable, PDF/A)"), this);
        m_vector->setObjectName(QStringLiteral("chkvector"));
        m_vector->setToolTip(
            QStringLiteral("Unchecked, the pages are the printed page's bitmaps at 300 dpi."));
        m_vector->setChecked(true);
        layout->addWidget(m_vector);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    auto* ok = buttons->addButton(QStringLiteral("Export"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdexport"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExportDialog::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString ExportDialog::suffix() const {
    return m_kind == Kind::Pdf ? QStringLiteral("pdf") : QStringLiteral("csv");
}

void ExportDialog::setSuggestedPath(const QString& path) {
    m_file->setText(path);
}

ExportChoice ExportDialog::choice() const {
    ExportChoice choice;
    choice.option = m_opselect->isChecked() ? PrintOption::Selected
                    : m_opall->isChecked()  ? PrintOption::All
                                            : PrintOption::Current;
    choice.path = m_file->text().trimmed();
    if (!choice.path.isEmpty() && QFileInfo(choice.path).suffix().isEmpty()) {
        choice.path += QLatin1Char('.') + suffix();
    }
    choice.vector = m_vector == nullptr || m_vector->isChecked();
    return choice;
}

void ExportDialog::browse() {
    const QString filter = m_kind == Kind::Pdf ? QStringLiteral("PDF documents (*.pdf)")
                                               : QStringLiteral("CSV tables (*.csv)");
    const QString path = QFileDialog::getSaveFileName(this, windowTitle(), m_file->text(), filter);
    if (!path.isEmpty()) {
        m_file->setText(path);
    }
}

void ExportDialog::confirm() {
    const ExportChoice chosen = choice();
    if (chosen.path.isEmpty()) {
        m_file->setFocus();
        return;  // nothing to write to yet
    }
    accept();
    emit exportRequested(chosen);
}

}  // namespace trellicap
