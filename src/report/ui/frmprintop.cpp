#include "report/ui/frmprintop.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace trellicap {

namespace {

QRadioButton* optionButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QRadioButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

frmprintop::frmprintop(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmprintop"));
    setWindowTitle(QStringLiteral("Print"));

    auto* frame = new QGroupBox(QStringLiteral("Print Option"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    m_opsingle =
        optionButton(frame, "opsingle", QStringLiteral("Currently Displayed Ascan Report"));
    m_opselect = optionButton(frame, "opselect", QStringLiteral("Selected Ascan Report"));
    m_opall = optionButton(frame, "opall", QStringLiteral("All Ascan Report"));
    auto* options = new QVBoxLayout(frame);
    options->addWidget(m_opsingle);
    options->addWidget(m_opselect);
    options->addWidget(m_opall);
    m_opsingle->setChecked(true);

    m_cmdprint = new QPushButton(QStringLiteral("Print"), this);
    m_cmdprint->setObjectName(QStringLiteral("cmdprint"));
    m_cmdprint->setDefault(true);
    connect(m_cmdprint, &QPushButton::clicked, this, &frmprintop::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_cmdprint, 0, Qt::AlignRight);
}

PrintOption frmprintop::option() const {
    if (m_opselect->isChecked()) {
        return PrintOption::Selected;
    }
    if (m_opall->isChecked()) {
        return PrintOption::All;
    }
    return PrintOption::Current;
}

void frmprintop::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        m_opsingle->setChecked(true);
    }
    QDialog::showEvent(event);
}

void frmprintop::accept() {
    emit printRequested(option());
    QDialog::accept();
}

}  // namespace trellicap
