#include "shell/job/record_dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace trellicap {

namespace {

QLineEdit* box(QWidget* parent, const char* name, const QString& text) {
    auto* line = new QLineEdit(text, parent);
    line->setObjectName(QString::fromLatin1(name));
    return line;
}

QDialogButtonBox* buttons(QDialog& dialog, const char* okName) {
    auto* row = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    row->button(QDialogButtonBox::Ok)->setObjectName(QString::fromLatin1(okName));
    QObject::connect(row, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(row, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return row;
}

}  // namespace

NotesDialog::NotesDialog(const inspection::JobItem& item, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmjobnotes"));
    setWindowTitle(QStringLiteral("Notes of record %1").arg(item.item));
    m_length = box(this, "txtnotelength",
                   item.lengthMm ? QString::number(*item.lengthMm, 'g', 15) : QString());
    m_position = box(this, "txtnoteposition", item.position);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Length (mm):"), m_length);
    form->addRow(QStringLiteral("Position:"), m_position);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(inspection::itemName(item), this));
    layout->addLayout(form);
    layout->addWidget(buttons(*this, "cmdnotesok"));
}

std::optional<double> NotesDialog::length(bool* ok) const {
    QString text = m_length->text().trimmed();
    *ok = true;
    if (text.isEmpty()) {
        return std::nullopt;
    }
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const double value = QLocale::c().toDouble(text, ok);
    return *ok && value >= 0 ? std::optional<double>(value) : (*ok = false, std::nullopt);
}

QString NotesDialog::position() const {
    return m_position->text().trimmed();
}

ResultDialog::ResultDialog(const inspection::JobItem& item,
                           std::optional<inspection::Result> computed, const QString& by,
                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmjobresult"));
    setWindowTitle(QStringLiteral("Result of record %1").arg(item.item));
    m_result = new QComboBox(this);
    m_result->setObjectName(QStringLiteral("cboresult"));
    m_result->addItem(
        QStringLiteral("as computed (%1)")
            .arg(computed ? inspection::resultText(*computed) : QStringLiteral("none")));
    for (const auto r : {inspection::Result::NoIndication, inspection::Result::BelowRecordingLevel,
                         inspection::Result::Acceptable, inspection::Result::Reject}) {
        m_result->addItem(inspection::resultText(r), static_cast<int>(r));
    }
    if (item.resultOverride) {
        m_result->setCurrentIndex(
            m_result->findData(static_cast<int>(item.resultOverride->result)));
    }
    m_reason = box(this, "txtresultreason", QString());
    m_reason->setPlaceholderText(QStringLiteral("needed: why the result differs"));
    m_by = box(this, "txtresultby", by);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Result:"), m_result);
    form->addRow(QStringLiteral("Reason:"), m_reason);
    form->addRow(QStringLiteral("By:"), m_by);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(inspection::itemName(item), this));
    layout->addLayout(form);
    auto* row = buttons(*this, "cmdresultok");
    m_ok = row->button(QDialogButtonBox::Ok);
    layout->addWidget(row);
    connect(m_reason, &QLineEdit::textChanged, this, &ResultDialog::check);
    connect(m_by, &QLineEdit::textChanged, this, &ResultDialog::check);
    check();
}

void ResultDialog::check() {
    // A result is changed by hand only with its reason and a name.
    m_ok->setEnabled(!reason().isEmpty() && !by().isEmpty());
}

std::optional<inspection::Result> ResultDialog::result() const {
    const QVariant data = m_result->currentData();
    return data.isValid() ? std::optional(static_cast<inspection::Result>(data.toInt()))
                          : std::nullopt;
}

QString ResultDialog::reason() const {
    return m_reason->text().trimmed();
}

QString ResultDialog::by() const {
    return m_by->text().trimmed();
}

}  // namespace trellicap
