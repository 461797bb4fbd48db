#include "shell/archive/archive_scope.h"

#include <QComboBox>
#include <QLabel>

#include "archive/server_conf.h"

namespace trellicap {

namespace {
constexpr int kThisComputer = 0;
constexpr int kTeamServer = 1;
}  // namespace

ArchiveScope::ArchiveScope(const QString& workingFolder, QWidget* parent)
    : QObject(parent), m_workingFolder(workingFolder) {
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
    m_note = new QLabel(parent);
    m_note->setObjectName(QStringLiteral("lblscope"));
    m_note->hide();
    connect(m_combo, &QComboBox::currentIndexChanged, this, &ArchiveScope::chosen);
}

bool ArchiveScope::onServer() const {
    return m_combo->currentIndex() == kTeamServer;
}

void ArchiveScope::fallBack(const QString& reason) {
    {
        const QSignalBlocker quiet(m_combo);
        m_combo->setCurrentIndex(kThisComputer);
    }
    m_note->setText(tr("The team server did not answer: showing this computer"));
    m_note->setToolTip(reason);
    m_note->show();
    emit localChosen();
}

void ArchiveScope::chosen(int index) {
    m_note->hide();
    m_note->setToolTip({});
    if (index == kThisComputer) {
        emit localChosen();
        return;
    }
    const archive::ServerAddressParse parse =
        archive::parseServerAddress(archive::readServerConf(m_workingFolder).url);
    if (!parse.ok()) {
        fallBack(parse.error);
        return;
    }
    emit serverChosen(parse.address);
}

}  // namespace trellicap
