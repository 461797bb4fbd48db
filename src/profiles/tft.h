// The TFT instrument: frame layout, settings panel, report header fields and constants.
#pragma once

#include "profiles/model_profile.h"

namespace trellicap::tft {

inline constexpr FrameMapRun kFrameMap[] = {
    {1, 0, 251},     {267, 260, 7},   {281, 267, 7},   {295, 274, 7},   {309, 281, 7},
    {323, 288, 7},   {337, 295, 7},   {351, 302, 7},   {365, 309, 7},   {379, 316, 7},
    {401, 323, 7},   {415, 330, 7},   {429, 337, 7},   {443, 344, 7},   {465, 351, 7},
    {479, 358, 7},   {493, 365, 7},   {517, 372, 4},   {529, 376, 7},   {543, 383, 7},
    {557, 390, 7},   {571, 397, 7},   {592, 404, 7},   {606, 411, 7},   {620, 418, 7},
    {634, 425, 6},   {656, 431, 7},   {670, 438, 7},   {684, 445, 7},   {698, 452, 7},
    {720, 459, 7},   {734, 466, 7},   {748, 473, 7},   {762, 480, 7},   {784, 487, 7},
    {798, 494, 7},   {812, 501, 7},   {826, 508, 7},   {840, 515, 15},  {858, 530, 5},
    {866, 535, 5},   {874, 540, 102},
    // Raw position 976 lies beyond block B and is never written: index 642 always gets 0.
    {976, 642, 1},
};

inline constexpr PanelStep kPanelSteps[] = {
    {"txtzero", 7, 7},   {"txtrange", 7, 7},  {"txtvelo", 7, 7},   {"txtdelay", 7, 7},
    {"txtgain", 5, 7, "dB"},
    {"txtgate", 7, 7},   {"txtstart", 7, 7},  {"txtend", 7, 7},    {"txtlevel", 7, 7},
    {"txtgate2", 7, 7},  {"txtstart2", 7, 7}, {"txtend2", 7, 7},   {"txtlevel2", 7, 7},
    {"txtmem", 7, 7},    {"txtmemno", 7, 7},  {"txtaction", 7, 7}, {"txtrefg", 4, 4},
    {"txtreject", 7, 7}, {"txtsetref", 7, 7}, {"txtVideo", 7, 7},  {"txtmode", 7, 7},
    {"txtclock", 7, 7},  {"txtcolor", 7, 7},  {"txthorn", 7, 7},   {"txtbrt", 6, 6},
    {"txtdac", 7, 7},    {"txtcur", 7, 7},    {"txtpoint", 7, 7},  {"Txtent", 6, 7},
    {"txtmea", 7, 7},    {"txtxoff", 7, 7},   {"txtangle", 7, 7},  {"txtthick", 7, 7},
    {"txtblk1", 7, 7},   {"txthud", 7, 7},    {"txtbeep", 7, 7},   {"txtblk2", 7, 7},
    {"txttmdt", 10, 10, {}, true},
    {"txtbeam", 5, 5},   {"txtsurf", 5, 5},   {"txtdpth", 5, 5},
};

inline constexpr PanelCell kPanelCells[] = {
    {0, 0, "lblzero", "ZERO", "txtzero", "108", "ZERO"},
    {0, 1, "lblrange", "RANGE", "txtrange", "100", "RANGE"},
    {0, 2, "lblvelo", "VEL M/S", "txtvelo", "5920", "VEL M/S"},
    {0, 3, "lbldelay", "DELAY", "txtdelay", "0.0", "DELAY"},
    {1, 0, "lblgate", "GATE 1", "txtgate", "OFF", "GATE 1"},
    {1, 1, "lblstart", "START", "txtstart", "30%", "GATE 1 START"},
    {1, 2, "lblend", "END", "txtend", "70%", "GATE 1 END"},
    {1, 3, "lbllevel", "LEVEL", "txtlevel", "40%", "GATE 1 LEVEL"},
    {2, 0, "lblgate2", "GATE 2", "txtgate2", "OFF", "GATE 2"},
    {2, 1, "lblstart2", "START", "txtstart2", "30%", "GATE 2 START"},
    {2, 2, "lblend2", "END", "txtend2", "70%", "GATE 2 END"},
    {2, 3, "lbllevel2", "LEVEL", "txtlevel2", "40%", "GATE 2 LEVEL"},
    {3, 0, "lblmem", "MEM", "txtmem", "A Scan", "MEM"},
    {3, 1, "lblmemno", "MEM NO", "txtmemno", "1", "MEM NO"},
    {3, 2, "lblaction", "ACTION", "txtaction", "Send", "ACTION"},
    {3, 3, "lblenter", "ENTER", "", "", ""},
    {4, 0, "lblreject", "REJECT", "txtreject", "00%", "REJECT"},
    {4, 1, "lblsetref", "SET REF", "txtsetref", "OFF", "SET REF"},
    {4, 2, "lblvideo", "VIDEO", "txtVideo", "Envelop", "VIDEO"},
    {4, 3, "lblmode", "MODE", "txtmode", "Single", "MODE"},
    {5, 0, "lblclock", "CLOCK", "txtclock", "OFF", "CLOCK"},
    {5, 1, "Label22", "COLOR", "txtcolor", "OFF", "COLOR"},
    {5, 2, "lblhorn", "HORN", "txthorn", "OFF", "HORN"},
    {5, 3, "Label24", "BRIGHT", "txtbrt", "50", "BRIGHT"},
    {6, 0, "lbldac", "DAC", "txtdac", "OFF", "DAC"},
    {6, 1, "lblcur", "CURSOR", "txtcur", "001", "CURSOR"},
    {6, 2, "lblpoint", "POINT", "txtpoint", "001", "POINT"},
    {6, 3, "lblpress", "PRESS", "Txtent", "ENTER", "PRESS"},
    {7, 0, "lblmea", "MEASURE", "txtmea", "OFF", "MEASURE"},
    {7, 1, "Label34", "X-OFF", "txtxoff", "OFF", "X-OFF"},
    {7, 2, "lblangle", "ANGLE", "txtangle", "000", "ANGLE"},
    {7, 3, "lblthick", "THICK", "txtthick", "0100", "THICK"},
    {8, 0, "lblblk1", "", "txtblk1", "OFF", "Unlabelled setting 1"},
    {8, 1, "Label44", "HUD", "txthud", "OFF", "HUD"},
    {8, 2, "Label45", "BEEP", "txtbeep", "OFF", "BEEP"},
    {8, 3, "lblblk2", "", "txtblk2", "ENTER", "Unlabelled setting 2"},
    {9, 0, "lblgain", "Gain", "txtgain", "25", "Gain", true},
    {9, 1, "Label47", "REF", "txtrefg", "25", "REF", true},
    {9, 2, "", "", "txttmdt", "Tm: 7:55  Dt: 28/4/2003", "Time and date of storing", false, true,
     2},
};

inline constexpr HeaderField kHeaderFields[] = {
    {"txtopname", "Label26", "Operator ...............", 561, 20, 20,
     "  Operator ................: "},
    {"txtraw", "Label48", "Railway/Workshop ", 581, 20, 20, "  Raiway/Workshop :  "},
    {"txtaxno", "Label27", "Type of Axle/No.", 601, 20, 20, "  Type of Axle/No     :  "},
    {"txtremark", "Label28", "Defect Location.....", 621, 20, 20, "  Defect Location      :  "},
};

inline constexpr MenuEntry kFileMenu[] = {
    {"mnunew", "New"},         {"mnuopen", "Open"},   {"mnusave", "Save"},
    {"mnupsetup", "PrintSetup"}, {"mnuprint", "Print"}, {"mnuexit", "Exit"},
};

inline constexpr ReportSettingsRow kReportRows[] = {
    {11, {"ZERO", "RANGE", "VELO", "DELAY"}, {}, 23,
     {"txtzero", "txtrange", "txtvelo", "txtdelay"}},
    {40, {"GATE 1", "START", "END", "LEVEL"}, {}, 52,
     {"txtgate", "txtstart", "txtend", "txtlevel"}},
    {69, {"GATE 2", "START", "END", "LEVEL"}, {}, 81,
     {"txtgate2", "txtstart2", "txtend2", "txtlevel2"}},
    {98, {"MEM", "MEM NO", "ACTION", "ENTER"}, {}, 110, {"txtmem", "txtmemno", "txtaction", ""}},
    {127, {"REJECT", "SET REF", "VIDEO", "MODE"}, {}, 139,
     {"txtreject", "txtsetref", "txtVideo", "txtmode"}},
    {156, {"CLOCK", "COLOR", "HORN", "BRIGHT"}, {}, 168,
     {"txtclock", "txtcolor", "txthorn", "txtbrt"}},
    {185, {"DAC", "CURSOR", "POINT", "PRESS"}, {}, 197, {"txtdac", "txtcur", "txtpoint", "Txtent"}},
    {214, {"MEASURE", "X-OFF", "ANGLE", "THICK"}, {}, 226,
     {"txtmea", "txtxoff", "txtangle", "txtthick"}},
    {243, {"", "HUD", "BEEP", ""}, {}, 255, {"", "txthud", "txtbeep", ""}},
};

inline constexpr ReportText kReportLastRow[] = {
    {6, 272, "Gain ", "txtgain"},
    {63, 272, "    REF ", "txtrefg"},
    {127, 272, "", "txttmdt"},
};

inline constexpr ModelProfile kProfile{
    .programName = "TrellicapTFT",
    .caption = "Trellicap KVR(TFT)",
    .aboutText = "Application for to Transfer Data from Corvane-KVR (TFT) to PC",
    .recordLast = 700,
    .rawLast = 1000,
    .recallRows = {0, 700},
    .batchFileRows = {0, 700},
    .unsolicitedRows = {0, 599},
    .fileRows = {0, 699},
    .waitTimerMs = 1000,
    .rawPresetBlankLast = 700,
    .blockBLength = 716,
    .frameMap = kFrameMap,
    .canvasTopTwips = 480,
    .dacPointFirst = 540,
    .dacSegments = 8,
    .dacThreeCurveText = "ON 6/14",
    .dacThirdCurveDivisor = 2.5,
    .panelSteps = kPanelSteps,
    .clockControl = "txtclock",
    .panelCells = kPanelCells,
    .headerFields = kHeaderFields,
    .fileMenu = kFileMenu,
    .report =
        {
            .ascanHeightTwips = 5835,
            .ascanFrame = {1, 1, 256, 288},
            .settingsHeightTwips = 5835,
            .settingsFont = "Arial",
            .settingsColumns = {6, 63, 127, 184},
            .settingsRows = kReportRows,
            .settingsLastRow = kReportLastRow,
            .settingsFrame = {1, 1, 255, 288},
            .noteHeightTwips = 1050,
            .noteFrame = {10, 10, 10214, 980},
            .noteY = 11400,
        },
};

}  // namespace trellicap::tft
