// ModelProfile: every constant that differs between the TFT and the DAC instrument.
// Code reads these tables; it never asks which model it runs for.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace trellicap {

// Every element of the capture buffer, the memory table and the raw frame buffer.
using RecordValue = std::int16_t;

// An inclusive run of record rows (first..last).
struct RowRange {
    int first;
    int last;
    [[nodiscard]] constexpr int count() const { return last - first + 1; }
};

// One run of the frame mapping: raw positions rawStart.. go to record indexes recordStart..
struct FrameMapRun {
    int rawStart;
    int recordStart;
    int count;
};

// One step of the settings-area walk that fills the panel, in record order from index 260.
struct PanelStep {
    std::string_view control;      // objectName of the box that shows the codes
    int shown;                     // codes shown
    int advance;                   // how far the read position moves
    std::string_view suffix = {};  // appended to the shown text ("dB" after the gain)
    bool timeDate = false;         // the ten codes of the time-and-date line
};

// One cell of the "Menu Data" grid in the main window: a label and the box under it.
struct PanelCell {
    int row;
    int column;
    std::string_view labelName;   // objectName of the label (empty: no label)
    std::string_view label;       // label text
    std::string_view control;     // objectName of the box (empty: label only)
    std::string_view designText;  // what the box shows before the first record
    std::string_view accessibleName;
    bool labelLeft = false;  // label stands to the left of its box instead of above
    bool caption = false;    // the "box" is a caption label, not a text box (time and date)
    int columnSpan = 1;
};

// A report header field: typed by the operator, stored into the shown slot's record.
struct HeaderField {
    std::string_view control;
    std::string_view labelName;
    std::string_view label;
    int firstRow;                 // first record row of the field
    int runLength;                // codes read back by the panel
    int maxChars;                 // the box refuses more
    std::string_view notePrefix;  // line prefix in the report's note block
};

// A measurement readout below the plot: its label and the box that shows the instrument's
// text.
struct Readout {
    std::string_view labelName;
    std::string_view label;
    std::string_view control;
};

// The boxes of one gate: whether and how it is drawn, where it starts, how long it is, how
// high it lies.
struct GateRoles {
    std::string_view mode;
    std::string_view start;
    std::string_view end;
    std::string_view level;
};

// The boxes code reads for what they mean rather than where they stand: the plot's axes,
// gates and DAC curve, the slot list's tip, trellicap-cli's info table. Each names a box of
// the panel table (infoHeader a report header field); profile_checks.h holds them to it, so
// a box renamed in the tables cannot leave code reading an empty text.
struct ControlRoles {
    std::string_view range;
    std::string_view delay;
    std::string_view gain;
    std::string_view dac;
    std::string_view angle;  // the probe angle the instrument was set to (depth and surface)
    GateRoles gate1;
    GateRoles gate2;
    std::array<std::string_view, 4> infoSettings;  // the info table's settings columns
    std::string_view infoHeader;       // the header field that tells an office's records apart
    std::string_view infoHeaderWords;  // what the help text calls it ("operator")
};

struct MenuEntry {
    std::string_view objectName;
    std::string_view text;
};

// Positions and texts on the report's settings canvas ("Menu Data"), in points.
inline constexpr int kNextTextLine = -1;  // print at the canvas's current text position
struct ReportSettingsRow {
    int labelY;  // kNextTextLine: after an empty line, at the next text line
    std::array<std::string_view, 4> labels;  // printed at the four column x positions
    std::string_view labelLine;              // printed whole from x = 0 when not empty
    int valueY;
    std::array<std::string_view, 4> values;  // controls whose texts are printed (empty: none)
};
struct ReportText {
    int x;
    int y;
    std::string_view prefix;
    std::string_view control;  // empty: only the prefix
};
struct Rect {
    int left;
    int top;
    int right;
    int bottom;
};

struct ReportFont {
    std::string_view family;
    double points;
    bool bold;
};

struct ReportLayout {
    int ascanDesignHeightTwips;  // the A-scan canvas before the composer sets its height
    int ascanHeightTwips;
    Rect ascanFrame;  // points
    int settingsHeightTwips;
    ReportFont ascanFont;  // readouts under the plot: fixed pitch, values follow their labels
    ReportFont settingsFont;
    ReportFont headingFont;
    ReportFont noteFont;
    std::array<int, 4> settingsColumns;
    std::span<const ReportSettingsRow> settingsRows;
    std::span<const ReportText> settingsLastRow;
    Rect settingsFrame;  // points
    int noteHeightTwips;
    Rect noteFrame;  // twips
    int noteY;       // page position of the note block, twips
};

struct ModelProfile {
    std::string_view programName;  // executable name, also the application title
    std::string_view modelKey;     // "tft", "dac": trellicap-cli's --model, the archive's model
    std::string_view caption;      // main window caption
    std::string_view aboutText;    // About window Label2

    // Record model.
    int recordLast;  // last capture-buffer index (record holds 0..recordLast)
    int rawLast;     // last raw frame buffer position
    [[nodiscard]] constexpr int recordSize() const { return recordLast + 1; }
    [[nodiscard]] constexpr int rawSize() const { return rawLast + 1; }

    // Transfers between the capture buffer and the memory table.
    RowRange recallRows;       // slot-list recall and print run
    RowRange batchFileRows;    // requested frame filed by a batch
    RowRange unsolicitedRows;  // frame sent by the operator from the instrument
    RowRange fileRows;         // rows carried by the record file

    // Link.
    int waitTimerMs;
    int rawPresetBlankLast;  // a request presets raw 0..250 to 0 and 251..this to 32
    int blockBLength;
    std::span<const FrameMapRun> frameMap;

    // Display.
    int canvasTopTwips;        // top edge of the plot area in the main window
    int plotLabelBottomTwips;  // where the "A  Scan" label above the plot ends
    int dacPointFirst;
    int dacSegments;
    std::string_view dacThreeCurveText;
    double dacThirdCurveDivisor;
    std::span<const PanelStep> panelSteps;
    std::string_view clockControl;  // non-empty: the time-and-date line needs CLOCK on
    std::span<const PanelCell> panelCells;
    std::string_view measureControl;  // MEASURE "OFF    " empties the readouts
    std::span<const Readout> readouts;
    std::span<const HeaderField> headerFields;
    ControlRoles roles;

    // Shell.
    std::span<const MenuEntry> fileMenu;

    // Report.
    ReportLayout report;
};

// Values shared by both models.
inline constexpr int kSlotCount = 200;
inline constexpr int kTableColumns = 201;
inline constexpr int kMemoryNumberFirst = 358;  // three codes 358..360 spell the slot number
inline constexpr int kSettingsStart = 260;
inline constexpr int kStartValueRows = 600;  // start values: 0 in rows 0..260, 32 to 599
inline constexpr int kSamplesStored = 251;   // A-scan samples 0..250
inline constexpr int kBlockALength = 252;
inline constexpr int kBlockBStart = 260;
inline constexpr unsigned char kSyncByte = 255;

}  // namespace trellicap
