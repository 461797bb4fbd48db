// What the report composer reads from the main window: the plot image and the texts that
// the named boxes and captions show. The main window implements it; tests fake it.
#pragma once

#include <QImage>
#include <QString>
#include <string_view>

namespace trellicap {

class ReportSource {
public:
    virtual ~ReportSource() = default;
    // The A-scan plot (picascan) as it stands, rendered at dpi (its whole canvas,
    // 5205 x 4665 twips, whatever size the window shows it at).
    [[nodiscard]] virtual QImage plotImage(double dpi) const = 0;
    // The text a box or caption shows ("txtzero", "txttmdt", "txtopname", ...); empty for a
    // control the window does not have.
    [[nodiscard]] virtual QString controlText(std::string_view control) const = 0;
};

}  // namespace trellicap
