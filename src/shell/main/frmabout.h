// About window: the program's title, version and maker.
#pragma once

#include <QDialog>

#include "profiles/model_profile.h"

namespace trellicap {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(const ModelProfile& profile, QWidget* parent);
};

}  // namespace trellicap
