#include "command_parser.h"

namespace instrument_sim {
namespace {

bool isCommandChar(char c) {
    return c == 'R' || c == 'A' || c == 'F' || (c >= '0' && c <= '9');
}

}  // namespace

std::vector<Command> CommandParser::feed(const std::uint8_t* data, std::size_t size) {
    std::vector<Command> out;
    for (std::size_t k = 0; k < size; ++k) {
        m_pending.push_back(static_cast<char>(data[k]));
        // Keep m_pending a possible block start: a command character followed only by filler.
        // On a mismatch drop the first byte and look again from the next one.
        for (;;) {
            if (m_pending.empty()) {
                break;
            }
            bool ok = isCommandChar(m_pending[0]);
            for (std::size_t i = 1; ok && i < m_pending.size(); ++i) {
                ok = m_pending[i] == kCommandFiller;
            }
            if (!ok) {
                m_pending.erase(0, 1);
                ++m_skipped;
                continue;
            }
            if (m_pending.size() == kCommandBlockLength) {
                const char c = m_pending[0];
                m_pending.clear();
                onBlock(c, out);
            }
            break;
        }
    }
    return out;
}

void CommandParser::onBlock(char c, std::vector<Command>& out) {
    if (c == 'R') {
        m_state = State::AfterR;  // resynchronises whatever came before
        return;
    }
    switch (m_state) {
        case State::AfterR:
            if (c == 'A') {
                m_state = State::Digits;
                m_digits = 0;
                m_value = 0;
            } else if (c == 'F') {
                out.push_back({Command::Kind::Release, 0});
                m_state = State::Idle;
            } else {
                m_state = State::Idle;
            }
            return;
        case State::Digits:
            if (c >= '0' && c <= '9') {
                m_value = m_value * 10 + (c - '0');
                if (++m_digits == 3) {
                    out.push_back({Command::Kind::SlotRequest, m_value});
                    m_state = State::Idle;
                }
            } else {
                m_state = State::Idle;
            }
            return;
        case State::Idle:
            return;
    }
}

}  // namespace instrument_sim
