// What the settings panel, the readouts, the time-and-date caption and the report header
// boxes show for the record in the capture buffer. Built without widgets: the main window
// puts each text into the control of that objectName; the overlays and the report read
// the same texts back.
#pragma once

#include <QString>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "display/overlays.h"
#include "profiles/model_profile.h"
#include "profiles/panel_walk.h"

namespace trellicap {

class PanelTexts {
public:
    // Replaces the control's text, or appends the control at the end of the list.
    void set(std::string_view control, const QString& text);
    // Each of newer's texts replaces this one's for its control, or is appended; the texts of
    // other controls stay (as a box keeps its text when a record gives it none).
    void update(const PanelTexts& newer);
    // Empty for a control that has no text.
    [[nodiscard]] QString text(std::string_view control) const;
    [[nodiscard]] bool contains(std::string_view control) const;
    // (objectName, text) in the order the controls were first set.
    [[nodiscard]] const std::vector<std::pair<QString, QString>>& entries() const {
        return m_entries;
    }

private:
    [[nodiscard]] const QString* find(std::string_view control) const;
    std::vector<std::pair<QString, QString>> m_entries;
};

// "Tm: hh:mm Dt:dd/mm/yy" from the ten codes of the time and date of storing.
[[nodiscard]] QString timeDateLine(std::span<const RecordValue> codes);

// The text one settings box shows for the record, as buildPanelTexts gives it, without
// walking the rest (the time-and-date line and the readouts excepted: empty here); for a
// pass over many records that reads a few settings.
[[nodiscard]] QString settingText(const ModelProfile& profile, std::span<const RecordValue> capture,
                                  std::string_view control);

// Walks the profile's panel steps from index 260; every text is cut at its first code 0.
// The time-and-date line waits for CLOCK to be on where the profile names a clock control;
// MEASURE "OFF    " empties the readouts; a header box whose run is all blanks stays empty.
[[nodiscard]] PanelTexts buildPanelTexts(const ModelProfile& profile,
                                         std::span<const RecordValue> capture);

}  // namespace trellicap
