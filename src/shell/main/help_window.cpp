#include "shell/main/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "shell/common/window_placement.h"

namespace trellicap {

HelpWindow::HelpWindow(const QString& program, QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("frmhelp"));
    setWindowTitle(QStringLiteral("%1 \u2014 User's Guide").arg(program));
    m_browser->setObjectName(QStringLiteral("txthelp"));
    m_browser->setOpenExternalLinks(true);
    auto* contents = new QPushButton(QStringLiteral("Contents"), this);
    contents->setObjectName(QStringLiteral("cmdcontents"));
    auto* back = new QPushButton(QStringLiteral("Back"), this);
    back->setObjectName(QStringLiteral("cmdback"));
    back->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, &HelpWindow::showGuide);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser, 1);
}

void HelpWindow::showGuide() {
    m_browser->setSource(QUrl(QString::fromLatin1(kGuideUrl)));
    m_browser->verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
}

void HelpCommand::open() {
    if (!m_window) {
        m_window = new HelpWindow(m_program, &m_owner);
        centreOverOwner(*m_window, &m_owner);
    }
    m_window->showGuide();
}

}  // namespace trellicap
