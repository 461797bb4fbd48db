#include "shell/main/frmabout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "record/profile_text.h"
#include "trellicap_version.h"

namespace trellicap {

frmAbout::frmAbout(const ModelProfile& profile, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    const QString title = qs(profile.programName);
    setWindowTitle(QStringLiteral("About ") + title);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    const auto add = [&](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setWordWrap(true);
        layout->addWidget(label);
        return label;
    };
    QLabel* titleLabel = add("lblTitle");
    titleLabel->setText(title);
    QFont big = titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    titleLabel->setFont(big);
    add("lblVersion")
        ->setText(QStringLiteral("Version %1.%2.%3")
                      .arg(kVersionMajor)
                      .arg(kVersionMinor)
                      .arg(kVersionRevision));
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

}  // namespace trellicap
