// The three record arrays of a run: capture buffer, memory table and raw frame buffer.
// Allocated once at the profile's sizes; the transfers between them are named functions
// with the profile's exact row ranges, so every subsystem agrees on rows and columns.
#pragma once

#include <span>
#include <vector>

#include "profiles/model_profile.h"

namespace trellicap {

class RecordStore {
public:
    explicit RecordStore(const ModelProfile& profile);

    [[nodiscard]] const ModelProfile& profile() const { return m_profile; }

    [[nodiscard]] std::span<RecordValue> capture() { return m_capture; }
    [[nodiscard]] std::span<const RecordValue> capture() const { return m_capture; }
    [[nodiscard]] std::span<RecordValue> raw() { return m_raw; }
    [[nodiscard]] std::span<const RecordValue> raw() const { return m_raw; }
    // Memory-table column 0..200; row r of a column is capture-buffer index r.
    [[nodiscard]] std::span<RecordValue> column(int col);
    [[nodiscard]] std::span<const RecordValue> column(int col) const;

    // Start values: columns 0..199 get 0 in rows 0..260 and 32 in rows 261..599.
    void initMemoryTable();
    // The memory table as a fresh start leaves it: every row of every column 0 (as at program
    // start), then the start values. Rows past 599 keep nothing of the records before.
    void resetMemoryTable();
    // What a load leaves where the file does not reach: columns 0..199 get 0 in the file
    // rows up to 255 and 32 from 256. Row recordLast and column 200 are not touched.
    void prefillForLoad();
    // The pulse and six decaying echo groups shown before the first record.
    void loadStartupTrace();
    // A request presets raw positions 0..250 to 0 and 251..rawPresetBlankLast to 32.
    void presetRawForRequest();

    // Transfers between the capture buffer and a memory-table column (0..199).
    void recallSlot(int col);            // memory table -> capture, recallRows
    void fileRequestedFrame(int col);    // capture -> memory table, batchFileRows
    void fileUnsolicitedFrame(int col);  // capture -> memory table, unsolicitedRows

private:
    void copyToCapture(int col, RowRange rows);
    void copyFromCapture(int col, RowRange rows);

    const ModelProfile& m_profile;
    std::vector<RecordValue> m_capture;
    std::vector<RecordValue> m_table;  // column-major: kTableColumns columns of recordSize rows
    std::vector<RecordValue> m_raw;
};

}  // namespace trellicap
