#include "shell/archive/archive_scope.h"

#include <QComboBox>
#include <QSqlError>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include "archive/server_address.h"
#include "archive/server_conf.h"
#include "archive/server_connection.h"

namespace trellicap {

namespace {
constexpr int kThisComputer = 0;
constexpr int kTeamServer = 1;
}  // namespace

ArchiveScope::ArchiveScope(const QString& workingFolder, QSqlDatabase local, QWidget* parent)
    : QObject(parent),
      m_workingFolder(workingFolder),
      m_local(std::move(local)),
      m_serverConnection(QStringLiteral("trellicap-archive-window-server-") +
                         QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    m_combo = new QComboBox(parent);
    m_combo->setObjectName(QStringLiteral("cboscope"));
    m_combo->addItem(tr("This computer"));
    m_combo->addItem(tr("Team server"));
    const QString url = archive::readServerConf(m_workingFolder).url;
    if (url.isEmpty()) {
        // No server for this folder: the choice is there, but says why it cannot be made.
        m_combo->setItemData(kTeamServer, false, Qt::UserRole - 1);
        m_combo->setItemData(kTeamServer, tr("No team server is set (Archive > Team server...)"),
                             Qt::ToolTipRole);
    }
    connect(m_combo, &QComboBox::currentIndexChanged, this, &ArchiveScope::chosen);
    connect(&m_probe, &QFutureWatcher<archive::ServerAnswer>::finished, this,
            [this] { probed(m_probe.result()); });
}

ArchiveScope::~ArchiveScope() {
    {
        QSqlDatabase server = QSqlDatabase::database(m_serverConnection, false);
        if (server.isValid()) {
            server.close();
        }
    }
    if (QSqlDatabase::contains(m_serverConnection)) {
        QSqlDatabase::removeDatabase(m_serverConnection);
    }
}

bool ArchiveScope::onServer() const {
    return m_combo->currentIndex() == kTeamServer && m_serverOpen;
}

QSqlDatabase ArchiveScope::database() const {
    return onServer() ? QSqlDatabase::database(m_serverConnection, false) : m_local;
}

void ArchiveScope::chosen(int index) {
    if (index == kThisComputer) {
        emit databaseChosen(m_local);
        return;
    }
    if (m_serverOpen) {
        emit databaseChosen(database());
        return;
    }
    if (m_probe.isRunning()) {
        return;
    }
    const archive::ServerAddressParse parse =
        archive::parseServerAddress(archive::readServerConf(m_workingFolder).url);
    if (!parse.ok()) {
        probed({false, parse.error});
        return;
    }
    m_combo->setEnabled(false);
    emit note(tr("Connecting to %1:%2 ...").arg(parse.address.host).arg(parse.address.port));
    m_probe.setFuture(QtConcurrent::run(archive::probeServer, parse.address));
}

void ArchiveScope::probed(const archive::ServerAnswer& answer) {
    m_combo->setEnabled(true);
    if (answer.connected) {
        // The server answered a moment ago: this connection on the window's thread is quick.
        QSqlDatabase server = QSqlDatabase::addDatabase(QString::fromLatin1(archive::kServerDriver),
                                                        m_serverConnection);
        archive::applyServerAddress(
            server,
            archive::parseServerAddress(archive::readServerConf(m_workingFolder).url).address);
        m_serverOpen = server.open();
        if (m_serverOpen) {
            emit databaseChosen(server);
            return;
        }
        const QString reason = archive::serverReason(server.lastError());
        server = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_serverConnection);
        emit note(tr("The team server cannot be searched: %1").arg(reason));
    } else {
        emit note(tr("The team server cannot be searched: %1").arg(answer.text));
    }
    const QSignalBlocker quiet(m_combo);
    m_combo->setCurrentIndex(kThisComputer);
}

}  // namespace trellicap
