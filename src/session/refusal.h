// What the session answers to a command it may turn down: nothing when it was carried out,
// else the reason in words, for a status line or a message. The session refuses what it
// cannot do now (a capture or a frame on its way into the table, a slot that does not exist),
// so the windows and the command line ask it rather than checking its state first.
#pragma once

#include <QString>
#include <utility>

namespace trellicap {

class [[nodiscard]] Refusal {
public:
    // Carried out.
    Refusal() = default;
    static Refusal because(QString reason) { return Refusal(std::move(reason)); }

    [[nodiscard]] bool refused() const { return !m_reason.isEmpty(); }
    [[nodiscard]] bool done() const { return m_reason.isEmpty(); }
    [[nodiscard]] const QString& reason() const { return m_reason; }

private:
    explicit Refusal(QString reason) : m_reason(std::move(reason)) {}

    QString m_reason;
};

}  // namespace trellicap
