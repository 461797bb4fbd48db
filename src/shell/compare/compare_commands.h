// "Compare with..." of the main window, from the slot list or under the plot: the choice
// window for a slot, and the fetch of the trace from the memory table, a record file or the
// archive, handed to the plot.
#pragma once

#include <functional>

namespace trellicap {

class Session;
class WindowHost;
struct CompareChoice;
struct ReferenceTrace;

class CompareCommands {
public:
    // `show` draws the trace behind the plot.
    CompareCommands(Session& session, WindowHost& host,
                    std::function<void(const ReferenceTrace&)> show)
        : m_session(session), m_host(host), m_show(std::move(show)) {}

    // The choice window with `column` preselected; a choice made leads to compareWith().
    void open(int column);
    // False, with a message, when the source gives no such record; the trace drawn so far
    // then stays.
    bool compareWith(const CompareChoice& choice);

private:
    Session& m_session;
    WindowHost& m_host;
    std::function<void(const ReferenceTrace&)> m_show;
};

}  // namespace trellicap
