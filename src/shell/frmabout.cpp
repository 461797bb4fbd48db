#include "shell/frmabout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace trellicap {

namespace {
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
constexpr int kVersionRevision = 1;
}  // namespace

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
    QLabel* title = add("lblTitle");
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title->setFont(big);
    add("lblVersion");
    add("Label2")->setText(QString::fromUtf8(profile.aboutText.data(),
                                             static_cast<qsizetype>(profile.aboutText.size())));
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
    const QString title = QString::fromUtf8(m_profile.programName.data(),
                                            static_cast<qsizetype>(m_profile.programName.size()));
    setWindowTitle(QStringLiteral("About ") + title);
    findChild<QLabel*>(QStringLiteral("lblTitle"))->setText(title);
    findChild<QLabel*>(QStringLiteral("lblVersion"))
        ->setText(QStringLiteral("Version %1.%2.%3")
                      .arg(kVersionMajor)
                      .arg(kVersionMinor)
                      .arg(kVersionRevision));
    show();
    raise();
    activateWindow();
}

}  // namespace trellicap
