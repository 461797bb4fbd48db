#include "report/ui/frmprintop.h"

#include <QGroupBox>
#include <QKeyEvent>
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

frmprintop::frmprintop(QWidget* parent) : QWidget(parent, Qt::Window) {
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
    connect(m_cmdprint, &QPushButton::clicked, this, &frmprintop::cmdprint_Click);

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
    QWidget::showEvent(event);
}

void frmprintop::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_cmdprint->click();
            return;
        case Qt::Key_Escape:
            close();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void frmprintop::cmdprint_Click() {
    emit printRequested(option());
    close();
}

}  // namespace trellicap
