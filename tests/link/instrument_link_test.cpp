// The link against a scripted port on a clock the test moves: requests, retries, filing, the
// release, cut-off frames, hang-ups and Stop, with every timeout checked to the millisecond.
#include "link/instrument_link.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

#include "link/command_blocks.h"
#include "link/wire_frames.h"
#include "profiles/tft.h"
#include "record/record_store.h"
#include "support/fake_serial_port.h"
#include "support/manual_clock.h"

namespace trellicap {

void PrintTo(const BatchResult& r, std::ostream* os) {
    const auto list = [os](const char* name, const QList<int>& columns) {
        *os << name << " {";
        for (const int c : columns) {
            *os << ' ' << c;
        }
        *os << " } ";
    };
    list("requested", r.requested);
    list("filed", r.filed);
    list("unanswered", r.unanswered);
    *os << "stopped " << r.stoppedByOperator << " released " << r.releaseSent;
}

namespace {

using testing::FakeSerialPort;
using testing::frameWithMemoryNumber;
using testing::ManualClock;
using testing::requestedSlot;

QByteArray block(char c) {
    return c + QByteArray(21, 'Z');
}

std::vector<RecordValue> snapshot(std::span<const RecordValue> values) {
    return {values.begin(), values.end()};
}

class InstrumentLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.initMemoryTable();
        store.loadStartupTrace();
        port.useClock(clock);
        link.setWaitIntervalMs(40);
        link.setFrameByteTimeoutMs(80);
        logSignals();
        // The instrument: answers a request with whatever answer(slot, attempt) returns.
        port.onWrite = [this](const QByteArray& bytes) {
            if (const int slot = requestedSlot(bytes); slot != 0 && answer) {
                const QByteArray reply = answer(slot, ++attempts[slot]);
                if (!reply.isEmpty()) {
                    port.injectLater(reply);
                }
            }
        };
    }

    void logSignals() {
        QObject::connect(&link, &InstrumentLink::requestSent, [this](int s) {
            log("request", s);
            requestTimes.push_back(clock.nowMs());
        });
        QObject::connect(&link, &InstrumentLink::slotFiled, [this](int c) { log("filed", c); });
        QObject::connect(&link, &InstrumentLink::recordArrived,
                         [this](int c) { log("arrived", c); });
        QObject::connect(&link, &InstrumentLink::frameNotFiled,
                         [this](const QString& t) { events << "notFiled " + t; });
        QObject::connect(&link, &InstrumentLink::frameIncomplete, [this] { log("incomplete"); });
        QObject::connect(&link, &InstrumentLink::batchProgress, [this](int k, int n) {
            events << QStringLiteral("slot %1 of %2").arg(k).arg(n);
        });
        QObject::connect(&link, &InstrumentLink::busyChanged, [this](bool b) { log("busy", b); });
        QObject::connect(&link, &InstrumentLink::linkLost, [this](const QString&) { log("lost"); });
        QObject::connect(&link, &InstrumentLink::batchFinished, [this](const BatchResult& r) {
            log("finished");
            result = r;
            idleAtFinish = !link.isBusy() && !link.batchOn();
            writtenAtFinish = port.written();
        });
    }

    void log(const char* what, int value) {
        events << QStringLiteral("%1 %2").arg(what).arg(value);
    }
    void log(const char* what) { events << QString::fromLatin1(what); }

    bool runBatch(const QList<int>& columns) {
        result.reset();
        link.startBatch(columns);
        return clock.advanceUntil([this] { return result.has_value(); }, 60'000);
    }

    ManualClock clock;  // first: it outlives the link's timers
    const ModelProfile& profile = tft::kProfile;
    RecordStore store{profile};
    FakeSerialPort port;
    InstrumentLink link{profile, store, port, clock};
    QStringList events;
    std::vector<qint64> requestTimes;
    std::optional<BatchResult> result;
    bool idleAtFinish = false;
    QByteArray writtenAtFinish;
    std::function<QByteArray(int slot, int attempt)> answer;
    std::map<int, int> attempts;
};

TEST_F(InstrumentLinkTest, BatchFilesEachSlotUnderItsRequestAndReleasesTheInstrument) {
    // The frames carry memory number 77: a requested frame is filed under the slot asked for.
    answer = [](int slot, int) {
        return frameWithMemoryNumber(tft::kProfile, "077", static_cast<std::uint8_t>(slot));
    };
    const auto column76 = snapshot(store.column(76));
    ASSERT_TRUE(runBatch({149, 2, 149, 400, -1}));

    const QByteArray wire = block('R') + block('A') + block('0') + block('0') + block('3') +
                            block('R') + block('A') + block('1') + block('5') + block('0') +
                            block('R') + block('F');
    EXPECT_EQ(port.written(), wire);
    EXPECT_EQ(events, QStringList({"busy 1", "slot 1 of 2", "request 3", "filed 2", "slot 2 of 2",
                                   "request 150", "filed 149", "busy 0", "finished"}));
    // The window's handler sees the release on the line and an idle link.
    EXPECT_EQ(writtenAtFinish, wire);
    EXPECT_TRUE(idleAtFinish);
    EXPECT_EQ(*result, (BatchResult{{2, 149}, {2, 149}, {}, false, true}));
    // The batch files every row of the record; column 149 holds the last frame.
    const auto capture = store.capture();
    EXPECT_TRUE(std::equal(capture.begin(), capture.end(), store.column(149).begin()));
    EXPECT_EQ(store.column(2)[358], '0');
    EXPECT_EQ(store.column(2)[360], '7');
    EXPECT_NE(snapshot(store.column(2)), snapshot(store.column(149)));
    EXPECT_EQ(snapshot(store.column(76)), column76);
    EXPECT_FALSE(link.batchOn());
    EXPECT_FALSE(link.isBusy());
}

TEST_F(InstrumentLinkTest, EmptySelectionOnlyReleasesAndAClosedPortGetsNothing) {
    const auto capture = snapshot(store.capture());
    link.startBatch({});
    EXPECT_EQ(port.written(), block('R') + block('F'));
    EXPECT_EQ(events, QStringList({"busy 1", "busy 0", "finished"}));
    EXPECT_EQ(*result, (BatchResult{{}, {}, {}, false, true}));
    EXPECT_EQ(snapshot(store.capture()), capture);

    // A closed port gets neither requests nor a release, and the caller is told.
    events.clear();
    port.close();
    link.startBatch({0, 1});
    EXPECT_EQ(port.written(), block('R') + block('F'));
    EXPECT_EQ(events, QStringList({"busy 1", "busy 0", "finished", "lost"}));
    EXPECT_EQ(*result, (BatchResult{{0, 1}, {}, {}, false, false}));
}

TEST_F(InstrumentLinkTest, SilentSlotIsRequestedTwiceOneWaitApartThenGivenUp) {
    answer = [](int slot, int) {
        return slot == 10 ? frameWithMemoryNumber(tft::kProfile, "010") : QByteArray();
    };
    const auto column4 = snapshot(store.column(4));
    ASSERT_TRUE(runBatch({4, 9}));
    EXPECT_EQ(events, QStringList({"busy 1", "slot 1 of 2", "request 5", "request 5", "slot 2 of 2",
                                   "request 10", "filed 9", "busy 0", "finished"}));
    EXPECT_EQ(requestTimes, (std::vector<qint64>{0, 40, 80}));  // tmrwt, then the next slot
    EXPECT_EQ(*result, (BatchResult{{4, 9}, {9}, {4}, false, true}));
    EXPECT_EQ(snapshot(store.column(4)), column4);
    EXPECT_EQ(port.writes().size(), 4);  // slot 5 twice, slot 10, the release

    // With nothing answering at all, the batch still ends and reports the slot unanswered.
    events.clear();
    answer = nullptr;
    ASSERT_TRUE(runBatch({0}));
    EXPECT_FALSE(events.join(',').contains("filed"));
    EXPECT_EQ(*result, (BatchResult{{0}, {}, {0}, false, true}));
}

TEST_F(InstrumentLinkTest, AnsweredRetryIsFiled) {
    answer = [](int, int attempt) {
        return attempt == 2 ? frameWithMemoryNumber(tft::kProfile, "008") : QByteArray();
    };
    ASSERT_TRUE(runBatch({7}));
    EXPECT_EQ(events, QStringList({"busy 1", "slot 1 of 1", "request 8", "request 8", "filed 7",
                                   "busy 0", "finished"}));
    EXPECT_EQ(store.column(7)[360], '8');
    EXPECT_EQ(*result, (BatchResult{{7}, {7}, {}, false, true}));
}

TEST_F(InstrumentLinkTest, BytesDuringABatchBelongToTheOutstandingRequest) {
    // A frame the operator sends (memory 12) arrives after noise, slowly: the batch takes it
    // as the answer for slot 40, and tmrwt running out mid-frame does not end the read.
    const QByteArray frame = frameWithMemoryNumber(profile, "012");
    answer = [this, frame](int, int) {
        port.injectInChunks(QByteArray("\x01\x02\xfe", 3) + frame, 100, 15);
        return QByteArray();
    };
    const auto column11 = snapshot(store.column(11));
    ASSERT_TRUE(runBatch({39}));
    EXPECT_EQ(events, QStringList({"busy 1", "slot 1 of 1", "request 40", "filed 39", "busy 0",
                                   "finished"}));
    EXPECT_GT(clock.nowMs(), 40);
    EXPECT_EQ(snapshot(store.column(11)), column11);
    EXPECT_EQ(store.column(39)[359], '1');
    EXPECT_EQ(*result, (BatchResult{{39}, {39}, {}, false, true}));
}

TEST_F(InstrumentLinkTest, SentFrameIsFiledUnderItsMemoryNumber) {
    auto column = store.column(11);
    std::fill(column.begin() + 600, column.end(), RecordValue{5});
    port.inject(QByteArray("\x00\x10\xfe", 3) + frameWithMemoryNumber(profile, "012"));

    EXPECT_EQ(events, QStringList({"busy 1", "arrived 11", "busy 0"}));
    const auto capture = store.capture();
    EXPECT_TRUE(std::equal(capture.begin(), capture.begin() + 600, column.begin()));
    EXPECT_TRUE(std::all_of(column.begin() + 600, column.end(), [](auto v) { return v == 5; }));
    EXPECT_EQ(capture[642], 0);
    EXPECT_EQ(port.written(), QByteArray());
}

TEST_F(InstrumentLinkTest, SentFrameWithoutASlotNumberIsNotFiled) {
    std::vector<std::vector<RecordValue>> table;
    for (int c = 0; c < kTableColumns; ++c) {
        table.push_back(snapshot(store.column(c)));
    }
    for (const char* number : {"000", "345", "1.5"}) {
        port.inject(frameWithMemoryNumber(profile, number));
    }
    EXPECT_EQ(events, QStringList({"busy 1", "notFiled 000", "busy 0", "busy 1", "notFiled 345",
                                   "busy 0", "busy 1", "notFiled 1.5", "busy 0"}));
    for (int c = 0; c < kTableColumns; ++c) {
        EXPECT_EQ(snapshot(store.column(c)), table[static_cast<std::size_t>(c)]) << c;
    }
}

TEST_F(InstrumentLinkTest, BytesLeftAfterAFrameAreDroppedAndLaterOnesReadAgain) {
    port.inject(frameWithMemoryNumber(profile, "012") + frameWithMemoryNumber(profile, "013"));
    EXPECT_EQ(events.filter("arrived"), QStringList({"arrived 11"}));
    EXPECT_EQ(port.bytesAvailable(), 0);

    port.inject(QByteArray("\x20\x20", 2));
    port.inject(frameWithMemoryNumber(profile, "014"));
    EXPECT_EQ(events.filter("arrived"), QStringList({"arrived 11", "arrived 13"}));
}

TEST_F(InstrumentLinkTest, FrameThatStopsPartWayIsDroppedOneByteTimeoutAfterItsLastByte) {
    const QByteArray frame = frameWithMemoryNumber(profile, "012");
    const auto capture = snapshot(store.capture());
    const auto column11 = snapshot(store.column(11));
    port.inject(frame.left(300));
    port.injectLater(frame.mid(300, 300), 50);
    EXPECT_TRUE(link.isBusy());
    // The 80 ms count from the last bytes, not from the sync byte.
    clock.advance(129);
    EXPECT_TRUE(link.isBusy());
    EXPECT_FALSE(events.contains("incomplete"));
    clock.advance(1);
    EXPECT_EQ(events, QStringList({"busy 1", "incomplete", "busy 0"}));
    EXPECT_EQ(snapshot(store.capture()), capture);
    EXPECT_EQ(snapshot(store.column(11)), column11);

    // The next frame is read from its own sync byte.
    port.inject(frame);
    EXPECT_EQ(events.filter("arrived"), QStringList({"arrived 11"}));

    // In a batch a cut-off answer counts as no answer: the retry is sent.
    events.clear();
    link.setWaitIntervalMs(500);
    answer = [](int, int attempt) {
        const QByteArray frame = frameWithMemoryNumber(tft::kProfile, "021");
        return attempt == 1 ? frame.left(300) : frame;
    };
    ASSERT_TRUE(runBatch({20}));
    EXPECT_EQ(events, QStringList({"busy 1", "slot 1 of 1", "request 21", "incomplete",
                                   "request 21", "filed 20", "busy 0", "finished"}));
    EXPECT_EQ(*result, (BatchResult{{20}, {20}, {}, false, true}));
}

TEST_F(InstrumentLinkTest, PortLostMidFrameFilesNothingAndSkipsTheRelease) {
    answer = [this](int, int) {
        port.injectLater(frameWithMemoryNumber(tft::kProfile, "003").left(400));
        clock.schedule(20, [this] { port.loseConnection(); });
        return QByteArray();
    };
    const auto capture = snapshot(store.capture());
    const auto column2 = snapshot(store.column(2));
    ASSERT_TRUE(runBatch({2, 3}));
    EXPECT_EQ(events,
              QStringList({"busy 1", "slot 1 of 2", "request 3", "busy 0", "finished", "lost"}));
    EXPECT_EQ(*result, (BatchResult{{2, 3}, {}, {}, false, false}));
    EXPECT_EQ(port.written(), slotRequest(3));
    EXPECT_EQ(snapshot(store.capture()), capture);
    EXPECT_EQ(snapshot(store.column(2)), column2);
    EXPECT_FALSE(link.batchOn());

    // The port is opened again from the Option window: the link works as before.
    events.clear();
    ASSERT_TRUE(port.open("fake"));
    link.portReopened();
    answer = [](int, int) { return frameWithMemoryNumber(tft::kProfile, "003"); };
    ASSERT_TRUE(runBatch({2}));
    EXPECT_TRUE(events.contains("filed 2"));

    // Outside a batch the loss drops the frame being read.
    events.clear();
    port.inject(frameWithMemoryNumber(profile, "012").left(500));
    port.loseConnection();
    EXPECT_EQ(events, QStringList({"busy 1", "busy 0", "lost"}));
    EXPECT_FALSE(link.isBusy());
}

TEST_F(InstrumentLinkTest, StopEndsTheBatchAfterTheCurrentSlotWithoutItsRetry) {
    answer = [](int slot, int) {
        return frameWithMemoryNumber(tft::kProfile, slot == 1 ? "001" : "002");
    };
    QObject::connect(&link, &InstrumentLink::requestSent, [this](int slot) {
        if (slot == 1 || slot == 50) {
            link.startBatch({5});  // a second batch is refused while one runs
            link.stopBatch();
        }
    });
    ASSERT_TRUE(runBatch({0, 1, 2}));
    EXPECT_EQ(events,
              QStringList({"busy 1", "slot 1 of 3", "request 1", "filed 0", "busy 0", "finished"}));
    EXPECT_EQ(port.written(), slotRequest(1) + releaseCommand());
    EXPECT_EQ(*result, (BatchResult{{0, 1, 2}, {0}, {}, true, true}));

    // Stopped while its slot goes unanswered: no retry, the release still goes out.
    events.clear();
    answer = nullptr;
    ASSERT_TRUE(runBatch({49, 60}));
    EXPECT_EQ(events, QStringList({"busy 1", "slot 1 of 2", "request 50", "busy 0", "finished"}));
    EXPECT_EQ(port.written(),
              slotRequest(1) + releaseCommand() + slotRequest(50) + releaseCommand());
    EXPECT_EQ(*result, (BatchResult{{49, 60}, {}, {49}, true, true}));
}

// ---- bytes that trickle in ----

// Injects bytes one at a time, intervalMs apart, the way a driver hands over a 9600 baud line.
void injectBytewise(FakeSerialPort& port, const QByteArray& bytes, int intervalMs, int fromMs) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        port.injectLater(bytes.mid(i, 1), fromMs + static_cast<int>(i) * intervalMs);
    }
}

TEST_F(InstrumentLinkTest, BytesOfAFrameArrivingOneByOneAreEachTakenWhenTheyArrive) {
    const QByteArray frame = frameWithMemoryNumber(profile, "012");
    injectBytewise(port, QByteArray("\x01\x02", 2) + frame, 1, 0);
    clock.advanceUntil([this] { return events.contains("arrived 11"); }, 5'000);
    EXPECT_EQ(events, QStringList({"busy 1", "arrived 11", "busy 0"}));
    EXPECT_EQ(store.column(11)[359], '1');
    // The frame is complete with its last byte: no wait of the link's own holds it back.
    EXPECT_EQ(clock.nowMs(), frame.size() + 1);
    EXPECT_EQ(port.bytesAvailable(), 0);
    const int reads = port.readCount();
    port.inject(QByteArray("\x20", 1));
    EXPECT_EQ(port.readCount(), reads + 1);
}

TEST_F(InstrumentLinkTest, TricklingBytesNeverHideTheFramesEndOrItsTimeout) {
    const QByteArray frame = frameWithMemoryNumber(profile, "012");
    // The frame stops at byte 500: dropped 80 ms after the last byte was read, and the next
    // frame then arrives whole.
    injectBytewise(port, frame.left(500), 1, 0);
    clock.advanceUntil([this] { return events.contains("incomplete"); }, 5'000);
    EXPECT_EQ(clock.nowMs(), 499 + 80);
    injectBytewise(port, frame, 1, 10);
    clock.advanceUntil([this] { return events.contains("arrived 11"); }, 5'000);
    EXPECT_EQ(events,
              QStringList({"busy 1", "incomplete", "busy 0", "busy 1", "arrived 11", "busy 0"}));

    // Lost part-way: the frame is dropped, and the reopened port delivers again.
    events.clear();
    injectBytewise(port, frame.left(300), 1, 0);
    clock.schedule(150, [this] { port.loseConnection(); });
    clock.advance(200);
    EXPECT_EQ(events, QStringList({"busy 1", "busy 0", "lost"}));
    ASSERT_TRUE(port.open("fake"));
    link.portReopened();
    port.inject(frame);
    EXPECT_TRUE(events.contains("arrived 11"));
}

// ---- writes the port does not take ----

TEST_F(InstrumentLinkTest, APortThatRefusesARequestEndsTheBatchWithoutWaitingOrReleasing) {
    answer = [this](int slot, int) {
        return frameWithMemoryNumber(profile, "001", static_cast<std::uint8_t>(slot));
    };
    // The first slot goes through; the port then takes nothing more.
    port.onWrite = [this, first = true](const QByteArray& bytes) mutable {
        if (first && requestedSlot(bytes) != 0) {
            first = false;
            port.injectLater(answer(requestedSlot(bytes), 1));
            port.setRefuseWrites(true);
        }
    };
    ASSERT_TRUE(runBatch({4, 5, 6}));
    EXPECT_EQ(events, QStringList({"busy 1", "slot 1 of 3", "request 5", "filed 4", "slot 2 of 3",
                                   "busy 0", "finished", "lost"}));
    EXPECT_EQ(*result, (BatchResult{{4, 5, 6}, {4}, {}, false, false}));
    EXPECT_EQ(clock.nowMs(), 0) << "no wait for answers to requests that never went out";
    EXPECT_EQ(port.written(), slotRequest(5));
    EXPECT_FALSE(link.isBusy());
}

TEST_F(InstrumentLinkTest, AReleaseThePortDoesNotTakeIsNotCountedAsSent) {
    answer = [this](int slot, int) {
        return frameWithMemoryNumber(profile, "001", static_cast<std::uint8_t>(slot));
    };
    port.onWrite = [this](const QByteArray& bytes) {
        if (const int slot = requestedSlot(bytes)) {
            port.injectLater(answer(slot, 1));
            port.setRefuseWrites(true);  // from now on: the release is refused
        }
    };
    ASSERT_TRUE(runBatch({0}));
    EXPECT_EQ(*result, (BatchResult{{0}, {0}, {}, false, false}));
    EXPECT_EQ(port.written(), slotRequest(1));

    // A stuck line: the port's write timeout closes it while the request waits for its
    // answer, and the batch ends as on any loss, without a release.
    port.onWrite = nullptr;  // no answer: the line takes nothing
    port.setRefuseWrites(false);
    port.setStalled(true);
    port.setWriteTimeoutMs(300);
    link.setWaitIntervalMs(1000);
    events.clear();
    link.startBatch({1});
    clock.advance(299);
    EXPECT_EQ(events, QStringList({"busy 1", "slot 1 of 1", "request 2"}));
    clock.advance(1);
    EXPECT_EQ(events,
              QStringList({"busy 1", "slot 1 of 1", "request 2", "busy 0", "finished", "lost"}));
    EXPECT_EQ(*result, (BatchResult{{1}, {}, {}, false, false}));
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
}  // namespace trellicap
