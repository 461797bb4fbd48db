#include "shell/compare_dialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "record/record_store.h"

namespace trellicap {

CompareDialog::CompareDialog(int column, QString folder, QWidget* parent)
    : QDialog(parent),
      m_folder(std::move(folder)),
      m_memory(new QRadioButton(tr("A slot of the memory table"), this)),
      m_file(new QRadioButton(tr("A slot of a record file"), this)),
      m_path(new QLineEdit(this)),
      m_slot(new QSpinBox(this)) {
    setObjectName(QStringLiteral("frmcompare"));
    setWindowTitle(tr("Compare with"));
    m_memory->setObjectName(QStringLiteral("optmemory"));
    m_file->setObjectName(QStringLiteral("optfile"));
    m_path->setObjectName(QStringLiteral("txtcomparefile"));
    m_path->setAccessibleName(tr("Record file"));
    m_slot->setObjectName(QStringLiteral("spncompareslot"));
    m_slot->setAccessibleName(tr("Slot"));
    m_slot->setRange(1, kSlotCount);
    m_slot->setPrefix(tr("Mem "));
    m_slot->setValue(column + 1);
    m_memory->setChecked(true);

    auto* browse = new QPushButton(tr("Browse..."), this);
    browse->setObjectName(QStringLiteral("cmdcomparebrowse"));
    auto* fileRow = new QHBoxLayout();
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(browse);
    auto* form = new QFormLayout();
    form->addRow(m_memory);
    form->addRow(m_file);
    form->addRow(tr("File:"), fileRow);
    form->addRow(tr("Slot:"), m_slot);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const auto followSource = [this, browse] {
        m_path->setEnabled(m_file->isChecked());
        browse->setEnabled(m_file->isChecked());
    };
    followSource();
    connect(m_file, &QRadioButton::toggled, this, followSource);
    connect(browse, &QPushButton::clicked, this, &CompareDialog::browse);
    // Typing a file name means the file is the source.
    connect(m_path, &QLineEdit::textEdited, this, [this] { m_file->setChecked(true); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CompareDialog::browse() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Record file to compare with"),
                                                      m_folder, tr("Record files (*.dat)"));
    if (!path.isEmpty()) {
        m_path->setText(path);
        m_file->setChecked(true);
    }
}

CompareChoice CompareDialog::choice() const {
    return {m_file->isChecked(), m_path->text().trimmed(), m_slot->value() - 1};
}

}  // namespace trellicap
