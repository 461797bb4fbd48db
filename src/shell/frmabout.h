// About window: the program's title, version and maker.
#pragma once

#include <QDialog>

#include "profiles/model_profile.h"

class QLabel;

namespace trellicap {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(const ModelProfile& profile, QWidget* parent);
    // Sets the captions (as every opening does) and brings the window forward.
    void showAndRaise();

private:
    const ModelProfile& m_profile;
    QLabel* m_title = nullptr;
    QLabel* m_version = nullptr;
};

}  // namespace trellicap
