// The colours the plot draws in, as the pixel tests look for them.
#pragma once

#include <QColor>

namespace trellicap::testing {

inline const QColor kGreen(0, 170, 0);
inline const QColor kWhite(255, 255, 255);
inline const QColor kBlack(0, 0, 0);

}  // namespace trellicap::testing
