// A kept record's A-scan as the main window draws it (pattern, then the overlays its panel
// texts call for), by the display core, at any resolution: the archive window's thumbnails
// and preview.
#pragma once

#include <QImage>
#include <span>

#include "profiles/model_profile.h"

namespace trellicap {

[[nodiscard]] QImage keptPicture(const ModelProfile& profile, std::span<const RecordValue> values,
                                 double dpi);

}  // namespace trellicap
