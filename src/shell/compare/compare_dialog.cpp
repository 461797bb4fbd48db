#include "shell/compare/compare_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "record/record_store.h"
#include "shell/compare/archive_reference.h"

namespace trellicap {

namespace {

constexpr int kFilterTypingPauseMs = 200;
constexpr int kListedRecords = 100;  // a short list: the search narrows it

}  // namespace

CompareDialog::CompareDialog(int column, QString folder, QWidget* parent, CompareArchive archive)
    : QDialog(parent),
      m_folder(std::move(folder)),
      m_memory(new QRadioButton(tr("A slot of the memory table"), this)),
      m_file(new QRadioButton(tr("A slot of a record file"), this)),
      m_path(new QLineEdit(this)),
      m_slot(new QSpinBox(this)),
      m_archivePlace(std::move(archive)) {
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
    if (!m_archivePlace.path.isEmpty()) {
        m_archive = new QRadioButton(tr("A record of the archive (its newest version)"), this);
        m_archive->setObjectName(QStringLiteral("optarchive"));
        m_find = new QLineEdit(this);
        m_find->setObjectName(QStringLiteral("txtcomparefind"));
        m_find->setAccessibleName(tr("Find in the archive"));
        m_find->setPlaceholderText(tr("Header text or record file name"));
        m_onlySlot = new QCheckBox(tr("Only the slot above"), this);
        m_onlySlot->setObjectName(QStringLiteral("chkcompareslot"));
        m_records = new QListWidget(this);
        m_records->setObjectName(QStringLiteral("lstcomparearchive"));
        m_records->setAccessibleName(tr("Archive records"));
        m_records->setMinimumWidth(480);
        m_archiveNote = new QLabel(this);
        m_archiveNote->setObjectName(QStringLiteral("lblcomparearchive"));
        m_archiveNote->setWordWrap(true);
        form->addRow(m_archive);
        form->addRow(tr("Find:"), m_find);
        form->addRow(QString(), m_onlySlot);
        form->addRow(m_records);
        form->addRow(m_archiveNote);
        m_typing.setSingleShot(true);
        m_typing.setInterval(kFilterTypingPauseMs);
        connect(&m_typing, &QTimer::timeout, this, &CompareDialog::listArchive);
        const auto later = [this] {
            m_archive->setChecked(true);
            m_typing.start();
        };
        connect(m_find, &QLineEdit::textEdited, this, later);
        connect(m_onlySlot, &QCheckBox::toggled, this, later);
        connect(m_slot, &QSpinBox::valueChanged, this, [this] {
            if (m_onlySlot->isChecked()) {
                m_typing.start();
            }
        });
        // The archive is read only when it is asked for.
        connect(m_archive, &QRadioButton::toggled, this, [this](bool on) {
            if (on && m_records->count() == 0 && m_archiveNote->text().isEmpty()) {
                listArchive();
            }
        });
        connect(m_records, &QListWidget::itemActivated, this, [this] {
            m_archive->setChecked(true);
            accept();
        });
        connect(m_records, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
            if (item) {
                m_archive->setChecked(true);
            }
        });
    }
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
    if (m_archive) {
        // An archive chosen without a record would silently compare with the memory table.
        const auto okFollows = [this, buttons] {
            buttons->button(QDialogButtonBox::Ok)
                ->setEnabled(!m_archive->isChecked() || m_records->currentItem() != nullptr);
        };
        connect(m_archive, &QRadioButton::toggled, this, okFollows);
        connect(m_records, &QListWidget::currentItemChanged, this, okFollows);
    }
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

void CompareDialog::listArchive() {
    m_typing.stop();
    m_records->clear();
    QString problem;
    const std::optional<int> slot =
        m_onlySlot->isChecked() ? std::optional<int>(m_slot->value()) : std::nullopt;
    const auto found = archiveChoices(m_archivePlace.path, m_archivePlace.modelKey, m_find->text(),
                                      slot, kListedRecords, &problem);
    for (const ArchiveChoice& record : found) {
        auto* item = new QListWidgetItem(record.label, m_records);
        item->setData(Qt::UserRole, record.uuid);
    }
    if (!problem.isEmpty()) {
        m_archiveNote->setText(problem);
    } else if (found.empty()) {
        m_archiveNote->setText(tr("No record of the archive matches."));
    } else if (static_cast<int>(found.size()) == kListedRecords) {
        m_archiveNote->setText(tr("The newest %1 matches are listed; narrow the search to see "
                                  "others.")
                                   .arg(kListedRecords));
    } else {
        m_archiveNote->setText(found.size() == 1 ? tr("1 record found.")
                                                 : tr("%1 records found.").arg(found.size()));
    }
    m_archiveNote->setAccessibleName(m_archiveNote->text());
    if (m_records->count() > 0) {
        m_records->setCurrentRow(0);
    }
}

CompareChoice CompareDialog::choice() const {
    CompareChoice chosen{m_file->isChecked(), m_path->text().trimmed(), m_slot->value() - 1, {}};
    if (m_archive && m_archive->isChecked() && m_records->currentItem()) {
        chosen.fromFile = false;
        chosen.uuid = m_records->currentItem()->data(Qt::UserRole).toString();
    }
    return chosen;
}

}  // namespace trellicap
