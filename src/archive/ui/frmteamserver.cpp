#include "archive/ui/frmteamserver.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "archive/server_address.h"
#include "archive/server_conf.h"

namespace trellicap::archive {

frmteamserver::frmteamserver(QString workingFolder, QWidget* parent)
    : QDialog(parent), m_workingFolder(std::move(workingFolder)) {
    setObjectName(QStringLiteral("frmteamserver"));
    setWindowTitle(tr("Team server"));

    auto* intro = new QLabel(
        tr("The office's PostgreSQL server that this folder's archive is copied to when it "
           "can be reached. Leave the address empty to keep the archive on this computer "
           "only.\nThe password is not stored here: PostgreSQL takes it from ~/.pgpass or "
           "PGPASSWORD."),
        this);
    intro->setWordWrap(true);
    m_url = new QLineEdit(readServerConf(m_workingFolder).url, this);
    m_url->setObjectName(QStringLiteral("txtserverurl"));
    m_url->setPlaceholderText(QStringLiteral("postgresql://USER@HOST:PORT/DATABASE"));
    m_url->setMinimumWidth(420);
    m_test = new QPushButton(tr("Test connection"), this);
    m_test->setObjectName(QStringLiteral("cmdtestconnection"));
    m_test->setAutoDefault(false);
    m_answer = new QLabel(this);
    m_answer->setObjectName(QStringLiteral("lblserveranswer"));
    m_answer->setWordWrap(true);
    m_answer->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdok"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdcancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(new QLabel(tr("Server address:"), this));
    layout->addWidget(m_url);
    layout->addWidget(m_test, 0, Qt::AlignLeft);
    layout->addWidget(m_answer);
    layout->addStretch();
    layout->addWidget(buttons);

    connect(m_test, &QPushButton::clicked, this, &frmteamserver::cmdtestconnection_Click);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmteamserver::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmteamserver::reject);
    connect(&m_probe, &QFutureWatcher<ServerAnswer>::finished, this,
            [this] { showAnswer(m_probe.result()); });
}

QString frmteamserver::serverUrl() const {
    return m_url->text().trimmed();
}

void frmteamserver::cmdtestconnection_Click() {
    if (m_probe.isRunning()) {
        return;
    }
    const ServerAddressParse parse = parseServerAddress(m_url->text());
    if (!parse.ok()) {
        showAnswer({false, parse.error});
        return;
    }
    m_test->setEnabled(false);
    m_answer->setText(
        tr("Connecting to %1:%2 ...").arg(parse.address.host).arg(parse.address.port));
    // The probe owns its own connection and copies the address: the window may close while
    // it runs, the future then ends unwatched.
    m_probe.setFuture(QtConcurrent::run(probeServer, parse.address));
}

void frmteamserver::showAnswer(const ServerAnswer& answer) {
    m_test->setEnabled(true);
    m_answer->setText(answer.connected ? answer.text : tr("Not connected: %1").arg(answer.text));
}

void frmteamserver::accept() {
    const QString url = serverUrl();
    if (!url.isEmpty()) {
        const ServerAddressParse parse = parseServerAddress(url);
        if (!parse.ok()) {
            showAnswer({false, parse.error});
            return;
        }
    }
    const QString error = writeServerConf(m_workingFolder, url);
    if (!error.isEmpty()) {
        showAnswer({false, error});
        return;
    }
    QDialog::accept();
}

}  // namespace trellicap::archive
