#include "shell/frmoption.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace trellicap {

frmoption::frmoption(PortSelectionHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_host(host) {
    setObjectName(QStringLiteral("frmoption"));
    setWindowTitle(QStringLiteral("Port selection"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QGridLayout(this);
    auto* text = new QLabel(
        QStringLiteral("According  to  the  cable of  Corvane connected  to   the   serial   "
                       "port    of  computer select apropriate option."),
        this);
    text->setObjectName(QStringLiteral("Label2"));
    text->setWordWrap(true);
    layout->addWidget(text, 0, 0, 1, 2);
    addComportOptions(*layout);
    addDeviceOption(*layout);
    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("cmdok"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdcancel"));
    connect(m_ok, &QPushButton::clicked, this, &frmoption::cmdok_Click);
    connect(cancel, &QPushButton::clicked, this, &frmoption::cmdcancel_Click);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 6, 0, 1, 2);
    setMinimumWidth(440);
}

void frmoption::addComportOptions(QGridLayout& layout) {
    for (int n = 1; n <= 4; ++n) {
        auto* option = new QRadioButton(QStringLiteral("Comport %1").arg(n), this);
        option->setObjectName(QStringLiteral("Option%1").arg(n));
        auto* device = new QLabel(describePort(n), this);
        device->setObjectName(QStringLiteral("lbldevice%1").arg(n));
        device->setEnabled(false);
        option->setAccessibleDescription(device->text());
        layout.addWidget(option, n, 0);
        layout.addWidget(device, n, 1);
        connect(option, &QRadioButton::toggled, this, [this, n](bool on) {
            if (on) {
                optionSelected(n);
            }
        });
        m_options[n - 1] = option;
    }
}

void frmoption::addDeviceOption(QGridLayout& layout) {
    m_device = new QRadioButton(this);
    m_device->setObjectName(QStringLiteral("optdevice"));
    m_device->setAccessibleDescription(tr("The device named in the port settings file"));
    m_device->setVisible(false);
    m_deviceState = new QLabel(this);
    m_deviceState->setObjectName(QStringLiteral("lbldevice5"));
    m_deviceState->setEnabled(false);
    m_deviceState->setWordWrap(true);
    m_deviceState->setVisible(false);
    layout.addWidget(m_device, 5, 0);
    layout.addWidget(m_deviceState, 5, 1);
    connect(m_device, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            m_host.setPortTarget(m_atOpening);
        }
    });
}

void frmoption::showAndRaise() {
    if (!isVisible()) {
        m_atOpening = m_host.portTarget();
        preselect();
        fitContents();
    }
    show();
    raise();
    activateWindow();
}

void frmoption::preselect() {
    const bool path = !m_atOpening.devicePath.isEmpty();
    m_device->setVisible(path);
    m_device->setText(m_atOpening.devicePath);
    // Why the path is not open, in the system's words: the operator sees at once whether
    // the adapter is missing or refused, and Ok tries it again.
    const QString failure = m_host.portOpenFailure();
    m_deviceState->setVisible(path);
    m_deviceState->setText(path && !failure.isEmpty()
                               ? QStringLiteral("%1: %2").arg(m_atOpening.devicePath, failure)
                               : QString());
    m_device->setAccessibleDescription(m_deviceState->text().isEmpty()
                                           ? tr("The device named in the port settings file")
                                           : m_deviceState->text());
    if (path) {
        m_device->setChecked(true);
        return;
    }
    const int number = m_atOpening.number;
    const int first = (number >= 1 && number <= 4) ? number : 1;
    QRadioButton* option = m_options[first - 1];
    if (option->isChecked()) {
        optionSelected(first);  // counts as a selection even when already checked
    } else {
        option->setChecked(true);
    }
}

void frmoption::fitContents() {
    // The wrapped intro text needs more height the narrower the window. The least height is
    // the one it needs at the least width, so no line of it is cut off at any size the
    // window can take; the window opens at its natural width.
    QLayout* grid = layout();
    grid->activate();
    const int narrowest = std::max(minimumWidth(), grid->totalMinimumSize().width());
    const auto heightAt = [grid, this](int width) {
        return grid->hasHeightForWidth() ? grid->totalHeightForWidth(width) : sizeHint().height();
    };
    setMinimumHeight(heightAt(narrowest));
    const int width = std::max(sizeHint().width(), narrowest);
    resize(width, std::max(minimumHeight(), heightAt(width)));
}

void frmoption::optionSelected(int number) {
    m_host.setPortTarget(PortTarget{static_cast<std::int16_t>(number), {}});
}

void frmoption::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_ok->click();
            return;
        case Qt::Key_Escape:
            close();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void frmoption::cmdok_Click() {
    const QString path = m_host.portConfigPath();
    if (const auto error = writePortConfig(path, m_host.portTarget())) {
        m_host.message({QStringLiteral("Port Selection Error"),
                        tr("The port settings file %1 cannot be written.").arg(path), *error});
        return;
    }
    if (const auto failure = m_host.reopenPort()) {
        QString informative = failure->reason;
        if (failure->permissionDenied) {
            informative +=
                tr("\nYou may not use this device: add your user to the group "
                   "that owns it (dialout on Debian) and log in again.");
        }
        m_host.message({QStringLiteral("Port Selection Error"),
                        QStringLiteral("Selected Port is used by another device or it might "
                                       "be not available "),
                        informative});
        return;
    }
    finish();
}

void frmoption::cmdcancel_Click() {
    m_host.setPortTarget(m_atOpening);
    if (m_host.reopenPort()) {
        return;  // the window stays open; the operator can try Ok with another port
    }
    finish();
}

void frmoption::finish() {
    m_finishing = true;
    close();
    m_host.portSelectionDone();
}

void frmoption::closeEvent(QCloseEvent* event) {
    // Closed by its frame while the main window is hidden (no port could be opened at
    // start-up): nothing else is visible, so the program ends instead of lingering.
    if (!m_finishing) {
        m_host.setPortTarget(m_atOpening);  // the port in use did not change
    }
    if (!m_finishing && !m_host.mainWindowVisible()) {
        m_host.quitProgram();
    }
    event->accept();
}

}  // namespace trellicap
