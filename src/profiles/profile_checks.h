// Compile-time checks of a ModelProfile. tft.h and dac.h end with
// static_assert(profileIsValid(kProfile)): a table entry that would send the frame reader, the
// panel walk, the header-field store or the DAC curve outside a buffer, or onto the wrong codes,
// or a role that names no box, stops the build instead of corrupting a capture on the
// inspector's machine.
#pragma once

#include "profiles/model_profile.h"
#include "profiles/panel_walk.h"

namespace trellicap {

// One function per rule, declared and never defined. A check that finds its rule broken calls
// the rule, which cannot happen in a constant expression, so the compiler stops with
//   error: call to non-'constexpr' function 'void trellicap::profile_rule::<rule>()'
// GCC 12 prints neither a thrown string nor a returned one; a function's name it does print.
namespace profile_rule {

// The frame reader copies every run from the raw buffer into the record unchecked.
void frameRunEmpty();
void frameRunOutsideRawBuffer();
void frameRunOutsideRecord();
// Runs in raw and record order, each position and index used once: a run that moved out of
// order or onto its neighbour's positions would make two settings share codes.
void frameRunsOverlapOrOutOfOrderInRaw();
void frameRunsOverlapOrOutOfOrderInRecord();
// A frame writes raw 0..kBlockALength-1 (block A) and kBlockBStart..kBlockBStart+blockBLength-1
// (block B); anything else in the raw buffer holds what the request preset or a former frame
// left, which no run may pass off as a fresh reading.
void frameRunOutsideBlockA();
void frameRunRunsPastBlockB();
// The one exception: a run that starts past block B gives a record index a fixed 0. That holds
// only for a single raw position that neither a frame nor the request preset ever writes (the
// TFT's index 642, read from raw 976), so such a run has one position, lies past the preset,
// and there is at most one.
void frameRunPastBlockBIsNotOneUnwrittenPosition();
void secondFrameRunPastBlockB();

// The frame reader writes block B up to its end; the request preset fills raw 251 up to
// rawPresetBlankLast.
void blockBOutsideRawBuffer();
void rawPresetOutsideRawBuffer();

// The record store copies these rows between the capture buffer and the memory table.
void recallRowsOutsideRecord();
void batchFileRowsOutsideRecord();
void unsolicitedRowsOutsideRecord();
void fileRowsOutsideRecord();
// The start values of the memory table fill rows 0..599 of every column.
void recordShorterThanStartValues();

// The panel walk starts at kSettingsStart and moves by each step's advance; one step too long
// or too short shifts every box after it, so the walk must end exactly on the DAC points that
// follow the readouts.
void panelStepShowsMoreThanItAdvances();
void panelStepReadsOutsideRecord();
void panelWalkDoesNotEndAtDacPoints();
// The time-and-date step asks the clock box whether CLOCK is off: that box must be filled first.
void clockControlNotWalkedBeforeTimeDate();

// The panel reads runLength codes of a field, the store writes maxChars of them.
void headerFieldOutsideRecord();
void headerFieldTakesMoreThanItsRun();
void headerFieldsOverlapOrOutOfOrder();

// The curve loop reads two codes (position, amplitude) for each of dacSegments + 1 points.
void dacPointsOutsideRecord();

// Code asks the panel texts for a role's box by name: a name the panel walk does not fill, or
// that no box of the panel table carries, reads back empty and hides a gate, an axis or a
// column without a word.
void roleNamesNoWalkedPanelBox();
void infoHeaderNamesNoHeaderField();
void clockOrMeasureNamesNoWalkedPanelBox();

}  // namespace profile_rule

namespace profile_checks {

consteval bool insideRecord(const ModelProfile& profile, RowRange rows) {
    return 0 <= rows.first && rows.first <= rows.last && rows.last <= profile.recordLast;
}

consteval void checkRawBuffer(const ModelProfile& profile) {
    if (profile.blockBLength < 1 || kBlockBStart + profile.blockBLength > profile.rawSize()) {
        profile_rule::blockBOutsideRawBuffer();
    }
    // 250 leaves the blank preset empty; below that the fill would run backwards.
    if (profile.rawPresetBlankLast < kSamplesStored - 1 ||
        profile.rawPresetBlankLast > profile.rawLast) {
        profile_rule::rawPresetOutsideRawBuffer();
    }
}

consteval void checkFrameMap(const ModelProfile& profile) {
    const int blockBEnd = kBlockBStart + profile.blockBLength;
    // Ends of the run before, kept as numbers: a pointer test in a constant
    // expression is refused by GCC once the null sanitizer instruments it.
    int previousRawEnd = 0;
    int previousRecordEnd = 0;
    int runsPastBlockB = 0;
    for (const FrameMapRun& run : profile.frameMap) {
        if (run.count < 1) {
            profile_rule::frameRunEmpty();
        }
        if (run.rawStart < 0 || run.rawStart + run.count > profile.rawSize()) {
            profile_rule::frameRunOutsideRawBuffer();
        }
        if (run.recordStart < 0 || run.recordStart + run.count > profile.recordSize()) {
            profile_rule::frameRunOutsideRecord();
        }
        if (previousRawEnd > run.rawStart) {
            profile_rule::frameRunsOverlapOrOutOfOrderInRaw();
        }
        if (previousRecordEnd > run.recordStart) {
            profile_rule::frameRunsOverlapOrOutOfOrderInRecord();
        }
        if (run.rawStart < kBlockBStart) {
            if (run.rawStart + run.count > kBlockALength) {
                profile_rule::frameRunOutsideBlockA();
            }
        } else if (run.rawStart < blockBEnd) {
            if (run.rawStart + run.count > blockBEnd) {
                profile_rule::frameRunRunsPastBlockB();
            }
        } else {
            if (run.count != 1 || run.rawStart <= profile.rawPresetBlankLast) {
                profile_rule::frameRunPastBlockBIsNotOneUnwrittenPosition();
            }
            if (++runsPastBlockB > 1) {
                profile_rule::secondFrameRunPastBlockB();
            }
        }
        previousRawEnd = run.rawStart + run.count;
        previousRecordEnd = run.recordStart + run.count;
    }
}

consteval void checkRecordRows(const ModelProfile& profile) {
    if (profile.recordSize() < kStartValueRows) {
        profile_rule::recordShorterThanStartValues();
    }
    if (!insideRecord(profile, profile.recallRows)) {
        profile_rule::recallRowsOutsideRecord();
    }
    if (!insideRecord(profile, profile.batchFileRows)) {
        profile_rule::batchFileRowsOutsideRecord();
    }
    if (!insideRecord(profile, profile.unsolicitedRows)) {
        profile_rule::unsolicitedRowsOutsideRecord();
    }
    if (!insideRecord(profile, profile.fileRows)) {
        profile_rule::fileRowsOutsideRecord();
    }
}

consteval void checkPanelWalk(const ModelProfile& profile) {
    const bool needsClock = !profile.clockControl.empty();
    bool clockWalked = false;
    int end = kSettingsStart;
    walkPanel(profile, [&](const PanelStep& step, int first) {
        if (step.shown > step.advance) {
            profile_rule::panelStepShowsMoreThanItAdvances();
        }
        if (step.shown < 0 || first < 0 || first + step.shown > profile.recordSize()) {
            profile_rule::panelStepReadsOutsideRecord();
        }
        if (step.timeDate && needsClock && !clockWalked) {
            profile_rule::clockControlNotWalkedBeforeTimeDate();
        }
        clockWalked = clockWalked || step.control == profile.clockControl;
        end = first + step.advance;
    });
    if (end != profile.dacPointFirst) {
        profile_rule::panelWalkDoesNotEndAtDacPoints();
    }
}

consteval void checkHeaderFields(const ModelProfile& profile) {
    int previousEnd = 0;
    for (const HeaderField& field : profile.headerFields) {
        if (field.firstRow < 0 || field.runLength < 0 ||
            field.firstRow + field.runLength > profile.recordSize()) {
            profile_rule::headerFieldOutsideRecord();
        }
        if (field.maxChars < 0 || field.maxChars > field.runLength) {
            profile_rule::headerFieldTakesMoreThanItsRun();
        }
        if (previousEnd > field.firstRow) {
            profile_rule::headerFieldsOverlapOrOutOfOrder();
        }
        previousEnd = field.firstRow + field.runLength;
    }
}

consteval void checkDacPoints(const ModelProfile& profile) {
    if (profile.dacPointFirst < 0 || profile.dacSegments < 0 ||
        profile.dacPointFirst + 2 * (profile.dacSegments + 1) > profile.recordSize()) {
        profile_rule::dacPointsOutsideRecord();
    }
}

consteval bool isWalkedPanelBox(const ModelProfile& profile, std::string_view control) {
    if (control.empty()) {
        return false;
    }
    bool walked = false;
    for (const PanelStep& step : profile.panelSteps) {
        walked = walked || step.control == control;
    }
    bool inTable = false;
    for (const PanelCell& cell : profile.panelCells) {
        inTable = inTable || cell.control == control;
    }
    return walked && inTable;
}

consteval void checkGateRoles(const ModelProfile& profile, const GateRoles& gate) {
    for (const std::string_view control : {gate.mode, gate.start, gate.end, gate.level}) {
        if (!isWalkedPanelBox(profile, control)) {
            profile_rule::roleNamesNoWalkedPanelBox();
        }
    }
}

consteval void checkRoles(const ModelProfile& profile) {
    const ControlRoles& roles = profile.roles;
    for (const std::string_view control :
         {roles.range, roles.delay, roles.gain, roles.dac, roles.angle}) {
        if (!isWalkedPanelBox(profile, control)) {
            profile_rule::roleNamesNoWalkedPanelBox();
        }
    }
    checkGateRoles(profile, roles.gate1);
    checkGateRoles(profile, roles.gate2);
    for (const std::string_view control : roles.infoSettings) {
        if (!isWalkedPanelBox(profile, control)) {
            profile_rule::roleNamesNoWalkedPanelBox();
        }
    }
    bool headerFound = false;
    for (const HeaderField& field : profile.headerFields) {
        headerFound = headerFound || field.control == roles.infoHeader;
    }
    if (!headerFound) {
        profile_rule::infoHeaderNamesNoHeaderField();
    }
    // Empty clock name: the time-and-date line needs no CLOCK setting.
    if ((!profile.clockControl.empty() && !isWalkedPanelBox(profile, profile.clockControl)) ||
        !isWalkedPanelBox(profile, profile.measureControl)) {
        profile_rule::clockOrMeasureNamesNoWalkedPanelBox();
    }
}

}  // namespace profile_checks

// True, or the build stops at the first broken rule.
consteval bool profileIsValid(const ModelProfile& profile) {
    profile_checks::checkRawBuffer(profile);
    profile_checks::checkFrameMap(profile);
    profile_checks::checkRecordRows(profile);
    profile_checks::checkPanelWalk(profile);
    profile_checks::checkHeaderFields(profile);
    profile_checks::checkDacPoints(profile);
    profile_checks::checkRoles(profile);
    return true;
}

}  // namespace trellicap
