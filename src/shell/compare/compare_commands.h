// "Compare with..." of the main window, from the slot list or under the plot: the choice
// window for a slot, and the fetch of the trace from the memory table, a record file or the
// archive, handed to the plot.
#pragma once

namespace trellicap {

class frmmain;
struct CompareChoice;

class CompareCommands {
public:
    explicit CompareCommands(frmmain& window) : m_window(window) {}

    // The choice window with `column` preselected; a choice made leads to compareWith().
    void open(int column);
    // False, with a message, when the source gives no such record; the trace drawn so far
    // then stays.
    bool compareWith(const CompareChoice& choice);

private:
    frmmain& m_window;
};

}  // namespace trellicap
