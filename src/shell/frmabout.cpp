#include "shell/frmabout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "record/profile_text.h"
#include "trellicap_version.h"

namespace trellicap {

frmAbout::frmAbout(const ModelProfile& profile, QWidget* parent)
    : QDialog(parent), m_profile(profile) {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    const auto add = [&](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setWordWrap(true);
        layout->addWidget(label);
        return label;
    };
    m_title = add("lblTitle");
    QFont big = m_title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    m_title->setFont(big);
    m_version = add("lblVersion");
    add("Label2")->setText(qs(profile.aboutText));
    add("Label1")->setText(QStringLiteral("Talvex Instruments Mfg. Co.(P) Ltd"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setMinimumWidth(380);
}

void frmAbout::showAndRaise() {
    const QString title = qs(m_profile.programName);
    setWindowTitle(QStringLiteral("About ") + title);
    m_title->setText(title);
    m_version->setText(QStringLiteral("Version %1.%2.%3")
                           .arg(kVersionMajor)
                           .arg(kVersionMinor)
                           .arg(kVersionRevision));
    show();
    raise();
    activateWindow();
}

}  // namespace trellicap
