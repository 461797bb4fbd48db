#include "shell/port/frmoption.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>

namespace trellicap {

frmoption::frmoption(QWidget* parent) : QDialog(parent) {
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
    addPresentDevices(*layout);
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
    layout->addLayout(buttons, 8, 0, 1, 2);
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
                select(PortTarget{static_cast<std::int16_t>(n), {}});
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
            select(m_atOpening);
        }
    });
}

void frmoption::addPresentDevices(QGridLayout& layout) {
    m_deviceList = [] { return SystemSerialDevices().presentDevices(); };
    m_presentTitle = new QLabel(this);
    m_presentTitle->setObjectName(QStringLiteral("lblpresent"));
    m_present = new QGridLayout();
    m_present->setContentsMargins(0, 0, 0, 0);
    layout.addWidget(m_presentTitle, 6, 0, 1, 2);
    layout.addLayout(m_present, 7, 0, 1, 2);
}

void frmoption::startFrom(const PortTarget& inUse, const QString& openFailure) {
    m_atOpening = inUse;
    listPresentDevices();
    preselect(openFailure);
}

void frmoption::listPresentDevices() {
    qDeleteAll(m_presentRows);
    m_presentRows.clear();
    const QList<SerialDeviceInfo> present =
        m_deviceList ? m_deviceList() : QList<SerialDeviceInfo>();
    int row = 0;
    for (const SerialDeviceInfo& device : present) {
        const QString path = pinnedPath(device);
        if (path == m_atOpening.devicePath || device.systemLocation == m_atOpening.devicePath) {
            continue;  // offered above already, as the port in use
        }
        ++row;
        auto* option = new QRadioButton(path, this);
        option->setObjectName(QStringLiteral("optserial%1").arg(row));
        QString text = describeSerialDevice(device);
        if (path != device.systemLocation) {
            text = QStringLiteral("%1: %2").arg(device.systemLocation, text);
        }
        auto* description = new QLabel(text, this);
        description->setObjectName(QStringLiteral("lblserial%1").arg(row));
        description->setEnabled(false);
        description->setWordWrap(true);
        option->setAccessibleDescription(text);
        m_present->addWidget(option, row, 0);
        m_present->addWidget(description, row, 1);
        connect(option, &QRadioButton::toggled, this, [this, path](bool on) {
            if (on) {
                select(PortTarget{0, path});
            }
        });
        m_presentRows << option << description;
    }
    if (row > 0) {
        m_presentTitle->setText(tr("Serial devices present:"));
    } else if (!present.isEmpty()) {
        m_presentTitle->setText(tr("Serial devices present: only the one above."));
    } else {
        m_presentTitle->setText(tr("Serial devices present: none found."));
    }
}

void frmoption::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        fitContents();  // the device row may have come or gone since the last opening
    }
    QDialog::showEvent(event);
}

void frmoption::preselect(const QString& openFailure) {
    const bool path = !m_atOpening.devicePath.isEmpty();
    m_device->setVisible(path);
    m_device->setText(m_atOpening.devicePath);
    // Why the path is not open, in the system's words: the operator sees at once whether
    // the adapter is missing or refused, and Ok tries it again.
    m_deviceState->setVisible(path);
    m_deviceState->setText(path && !openFailure.isEmpty()
                               ? QStringLiteral("%1: %2").arg(m_atOpening.devicePath, openFailure)
                               : QString());
    m_device->setAccessibleDescription(m_deviceState->text().isEmpty()
                                           ? tr("The device named in the port settings file")
                                           : m_deviceState->text());
    if (path) {
        check(*m_device, m_atOpening);
        return;
    }
    const int number = m_atOpening.number;
    const int first = (number >= 1 && number <= 4) ? number : 1;
    check(*m_options[first - 1], PortTarget{static_cast<std::int16_t>(first), {}});
}

void frmoption::check(QRadioButton& option, const PortTarget& target) {
    if (option.isChecked()) {
        select(target);  // left checked by the last opening: no toggle tells of it
    } else {
        option.setChecked(true);
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

void frmoption::select(const PortTarget& target) {
    m_selected = target;
    emit targetSelected(target);
}

void frmoption::cmdok_Click() {
    if (m_tryChosen && !m_tryChosen(m_selected)) {
        return;  // the owner said what failed; another option can be tried
    }
    finish(m_selected);
}

void frmoption::cmdcancel_Click() {
    if (m_tryRestore && !m_tryRestore(m_atOpening)) {
        return;  // the window stays open; the operator can try Ok with another port
    }
    finish(m_atOpening);
}

void frmoption::finish(const PortTarget& opened) {
    done(QDialog::Accepted);
    emit portSelected(opened);
}

void frmoption::reject() {
    emit targetSelected(m_atOpening);
    QDialog::reject();
}

}  // namespace trellicap
