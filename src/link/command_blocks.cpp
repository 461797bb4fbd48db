#include "link/command_blocks.h"

#include <cassert>

namespace trellicap {

QByteArray commandBlock(char command) {
    QByteArray block(kCommandBlockLength, 'Z');
    block[0] = command;
    return block;
}

QByteArray slotRequest(int slot) {
    assert(slot >= 1 && slot <= 999);
    QByteArray request;
    request.reserve(5 * kCommandBlockLength);
    request += commandBlock('R');
    request += commandBlock('A');
    request += commandBlock(static_cast<char>('0' + slot / 100));
    request += commandBlock(static_cast<char>('0' + slot / 10 % 10));
    request += commandBlock(static_cast<char>('0' + slot % 10));
    return request;
}

QByteArray releaseCommand() {
    return commandBlock('R') + commandBlock('F');
}

}  // namespace trellicap
