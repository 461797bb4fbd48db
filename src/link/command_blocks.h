// The command blocks the instrument understands: a command character and 21 'Z', 22 bytes.
// A slot request is five of them (R, A, three digits), the release after a batch two (R, F).
#pragma once

#include <QByteArray>

namespace trellicap {

inline constexpr int kCommandBlockLength = 22;

// The command character followed by 21 'Z'.
[[nodiscard]] QByteArray commandBlock(char command);
// R, A, then the hundreds, tens and units digit of slot 1..200: 110 bytes.
[[nodiscard]] QByteArray slotRequest(int slot);
// R, then F: lets the instrument go after a batch; it sends no answer. 44 bytes.
[[nodiscard]] QByteArray releaseCommand();

}  // namespace trellicap
