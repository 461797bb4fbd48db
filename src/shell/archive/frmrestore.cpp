#include "shell/archive/frmrestore.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace trellicap {

frmrestore::frmrestore(const QString& text, QWidget* parent)
    : QDialog(parent),
      m_lblrestore(new QLabel(text, this)),
      m_cmdrestore(new QPushButton(QStringLiteral("Restore"), this)),
      m_cmdnotnow(new QPushButton(QStringLiteral("Not now"), this)) {
    setObjectName(QStringLiteral("frmrestore"));
    setWindowTitle(QStringLiteral("Records not saved"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    m_lblrestore->setObjectName(QStringLiteral("lblrestore"));
    m_lblrestore->setWordWrap(true);
    m_cmdrestore->setObjectName(QStringLiteral("cmdrestore"));
    m_cmdnotnow->setObjectName(QStringLiteral("cmdnotnow"));
    m_cmdrestore->setDefault(true);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_cmdrestore, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cmdnotnow, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblrestore);
    layout->addWidget(buttons);

    connect(m_cmdrestore, &QPushButton::clicked, this, [this] {
        emit restoreRequested();
        accept();
    });
    // Esc and the close box mean "Not now" too: the records stay offered next time.
    connect(m_cmdnotnow, &QPushButton::clicked, this, &QDialog::reject);
}

QString frmrestore::text() const {
    return m_lblrestore->text();
}

}  // namespace trellicap
