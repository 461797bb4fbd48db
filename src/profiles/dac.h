// The DAC instrument: frame layout, settings panel, report header fields and constants.
#pragma once

#include "profiles/model_profile.h"

namespace trellicap::dac {

inline constexpr FrameMapRun kFrameMap[] = {
    {1, 0, 251},    {267, 260, 7},  {281, 267, 7},  {295, 274, 7},  {309, 281, 7},
    {323, 288, 7},  {337, 295, 7},  {351, 302, 7},  {365, 309, 7},  {379, 316, 7},
    {393, 323, 7},  {407, 330, 7},  {421, 337, 7},  {435, 344, 7},  {457, 351, 7},
    {471, 358, 7},  {485, 365, 7},  {521, 372, 7},  {535, 379, 7},  {549, 386, 7},
    {563, 393, 7},  {585, 400, 7},  {599, 407, 7},  {613, 414, 7},  {627, 421, 6},
    {640, 427, 10}, {657, 437, 7},  {671, 444, 7},  {685, 451, 7},  {699, 458, 7},
    {721, 465, 7},  {735, 472, 7},  {749, 479, 7},  {763, 486, 12}, {778, 498, 5},
    {786, 503, 5},  {794, 508, 22},
};

inline constexpr PanelStep kPanelSteps[] = {
    {"txtzero", 7, 7},   {"txtrange", 7, 7},  {"txtvelo", 7, 7},    {"txtdelay", 7, 7},
    {"txtgain", 5, 7, "dB"},
    {"txtgate", 7, 7},   {"txtstart", 7, 7},  {"txtend", 7, 7},     {"txtlevel", 7, 7},
    {"txtgate2", 7, 7},  {"txtstart2", 7, 7}, {"txtend2", 7, 7},    {"txtlevel2", 7, 7},
    {"txtmem", 7, 7},    {"txtmemno", 7, 7},  {"txtaction", 7, 7},  {"txtreject", 7, 7},
    {"txtsetref", 7, 7}, {"txtVideo", 7, 7},  {"txtmode", 7, 7},    {"txtclock", 7, 7},
    {"txtbeep", 7, 7},   {"txthorn", 7, 7},   {"txtcontrast", 6, 6},
    {"txttmdt", 10, 10, {}, true},
    {"txtdac", 7, 7},    {"txtcur", 7, 7},    {"txtpoint", 7, 7},   {"Txtent", 7, 7},
    {"txtmea", 7, 7},    {"txthud", 7, 7},    {"txtangle", 7, 7},   {"txtthick", 7, 7},
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
    {5, 1, "Label22", "BACKLIT", "txtbeep", "OFF", "BACKLIT"},
    {5, 2, "lblhorn", "HORN", "txthorn", "OFF", "HORN"},
    {5, 3, "Label24", "CONTRST", "txtcontrast", "50", "CONTRST"},
    {6, 0, "lbldac", "DAC", "txtdac", "OFF", "DAC"},
    {6, 1, "lblcur", "CURSOR", "txtcur", "001", "CURSOR"},
    {6, 2, "lblpoint", "POINT", "txtpoint", "001", "POINT"},
    {6, 3, "lblpress", "PRESS", "Txtent", "ENTER", "PRESS"},
    {7, 0, "lblmea", "MEASURE", "txtmea", "OFF", "MEASURE"},
    {7, 1, "Label34", "HUD", "txthud", "OFF", "HUD"},
    {7, 2, "lblangle", "ANGLE", "txtangle", "000", "ANGLE"},
    {7, 3, "lblthick", "THICK", "txtthick", "0100", "THICK"},
    {8, 0, "lblgain", "Gain", "txtgain", "25", "Gain", true},
    {8, 1, "", "", "txttmdt", "Tm: 7:55  Dt: 28/4/2003", "Time and date of storing", false, true,
     3},
};

inline constexpr HeaderField kHeaderFields[] = {
    {"txtopname", "Label26", "Operator ", 530, 40, 39, "  Operator :  "},
    {"txtaxno", "Label27", "Job No.", 570, 40, 39, "  Job No    :  "},
    {"txtremark", "Label28", "Remark", 610, 40, 39, "  Remark   :  "},
};

inline constexpr MenuEntry kFileMenu[] = {
    {"mnunew", "New"},       {"mnuopen", "Open"},         {"mnuadd", "Add"},
    {"mnusave", "Save"},     {"mnupsetup", "PrintSetup"}, {"mnuprint", "Print"},
    {"mnuexit", "Exit"},
};

inline constexpr ReportSettingsRow kReportRows[] = {
    {kNextTextLine, {}, "  ZERO         RANGE        VELO         DELAY    ", 23,
     {"txtzero", "txtrange", "txtvelo", "txtdelay"}},
    {40, {}, "  GATE 1       START        END           LEVEL   ", 52,
     {"txtgate", "txtstart", "txtend", "txtlevel"}},
    {69, {}, "  GATE 2       START        END           LEVEL   ", 81,
     {"txtgate2", "txtstart2", "txtend2", "txtlevel2"}},
    {98, {}, "  MEM           MEM NO      ACTION     ENTER ", 110,
     {"txtmem", "txtmemno", "txtaction", ""}},
    {127, {}, "  REJECT    SET REF      VIDEO       MODE        ", 139,
     {"txtreject", "txtsetref", "txtVideo", "txtmode"}},
    {156, {}, "  CLOCK       BACKLIT      HORN        CONTRST     ", 168,
     {"txtclock", "txtbeep", "txthorn", "txtcontrast"}},
    {185, {}, "  DAC           CURSOR     POINT        PRESS       ", 197,
     {"txtdac", "txtcur", "txtpoint", "Txtent"}},
    {214, {}, "  MEASURE HUD            ANGLE       THICK       ", 226,
     {"txtmea", "txthud", "txtangle", "txtthick"}},
};

inline constexpr ReportText kReportLastRow[] = {
    {0, 243, "  Gain ", "txtgain"},
    {122, 243, "", "txttmdt"},
};

inline constexpr ModelProfile kProfile{
    .programName = "Trellicap",
    .caption = "Trellicap",
    .aboutText = "Application for to Transfer Data from Corvane to PC",
    .recordLast = 650,
    .rawLast = 820,
    .recallRows = {0, 650},
    .batchFileRows = {0, 599},
    .unsolicitedRows = {0, 599},
    .fileRows = {0, 649},
    .waitTimerMs = 6000,
    .rawPresetBlankLast = 599,
    .blockBLength = 557,
    .frameMap = kFrameMap,
    .canvasTopTwips = 840,
    .dacPointFirst = 508,
    .dacSegments = 11,
    .dacThreeCurveText = "ON 6/12",
    .dacThirdCurveDivisor = 2.0,
    .panelSteps = kPanelSteps,
    .clockControl = {},
    .panelCells = kPanelCells,
    .headerFields = kHeaderFields,
    .fileMenu = kFileMenu,
    .report =
        {
            .ascanHeightTwips = 5235,
            .ascanFrame = {1, 1, 256, 258},
            .settingsHeightTwips = 5235,
            .settingsFont = "MS Sans Serif",
            .settingsColumns = {6, 63, 127, 184},
            .settingsRows = kReportRows,
            .settingsLastRow = kReportLastRow,
            .settingsFrame = {1, 1, 255, 258},
            .noteHeightTwips = 855,
            .noteFrame = {10, 10, 10214, 758},
            .noteY = 10960,
        },
};

}  // namespace trellicap::dac
