// Boxes that only show the instrument's texts look it: the window's background instead of
// the editable white, so the four header boxes are the only ones that invite typing.
#pragma once

#include <QLineEdit>
#include <QPalette>

namespace trellicap {

inline void showAsReadOnly(QLineEdit& box) {
    box.setReadOnly(true);
    QPalette palette = box.palette();
    palette.setBrush(QPalette::Base, palette.brush(QPalette::Window));
    box.setPalette(palette);
}

}  // namespace trellicap
