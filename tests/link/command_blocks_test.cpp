#include "link/command_blocks.h"

#include <gtest/gtest.h>

namespace trellicap {
namespace {

const QByteArray kZ21(21, 'Z');

TEST(CommandBlocks, SlotRequestsAreFiveBlocksWithDecimalDigits) {
    EXPECT_EQ(commandBlock('R'), QByteArray("RZZZZZZZZZZZZZZZZZZZZZ"));
    EXPECT_EQ(slotRequest(3), "R" + kZ21 + "A" + kZ21 + "0" + kZ21 + "0" + kZ21 + "3" + kZ21);
    EXPECT_EQ(slotRequest(150), "R" + kZ21 + "A" + kZ21 + "1" + kZ21 + "5" + kZ21 + "0" + kZ21);
    EXPECT_EQ(slotRequest(200), "R" + kZ21 + "A" + kZ21 + "2" + kZ21 + "0" + kZ21 + "0" + kZ21);
    EXPECT_EQ(slotRequest(7).size(), 110);
}

TEST(CommandBlocks, ReleaseIsRThenF) {
    EXPECT_EQ(releaseCommand(), "R" + kZ21 + "F" + kZ21);
}

}  // namespace
}  // namespace trellicap
