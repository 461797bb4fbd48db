// The session without a window, on a scripted port and a clock the test moves: a batch files,
// marks, archives and shows its records; a recall and a header store; save and load with the
// scratch-table rule; the print run's host; and a restart that restores an unsaved run.
#include "session/session.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "archive/archive_keeper.h"
#include "display/panel_texts.h"
#include "link/wire_frames.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "record/profile_text.h"
#include "report/report_composer.h"
#include "session/session_print_host.h"
#include "support/fake_serial_port.h"
#include "support/manual_clock.h"
#include "support/recording_page_sink.h"

namespace trellicap {
namespace {

using testing::FakeSerialPort;
using testing::frameWithMemoryNumber;
using testing::ManualClock;
using testing::requestedSlot;

std::vector<RecordValue> valuesOf(std::span<const RecordValue> values) {
    return {values.begin(), values.end()};
}

class SessionTest : public ::testing::TestWithParam<const ModelProfile*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        session = makeSession();
        session->begin();
        session->showStartupTrace();
    }

    std::unique_ptr<Session> makeSession() {
        auto fake = std::make_unique<FakeSerialPort>();
        port = fake.get();
        port->useClock(clock);
        // The instrument answers every request with a frame naming the slot asked for.
        port->onWrite = [this](const QByteArray& bytes) {
            if (const int slot = requestedSlot(bytes)) {
                port->injectLater(frameWithMemoryNumber(
                    profile(),
                    QStringLiteral("%1").arg(slot, 3, 10, QLatin1Char('0')).toStdString(),
                    static_cast<std::uint8_t>(slot)));
            }
        };
        return std::make_unique<Session>(profile(), std::move(fake),
                                         Session::Options{40, 80, archivePath(), &clock});
    }

    [[nodiscard]] const ModelProfile& profile() const { return *GetParam(); }
    [[nodiscard]] QString archivePath() const { return dir.filePath(QStringLiteral("a.sqlite")); }

    bool capture(const QList<int>& columns) {
        bool finished = false;
        QObject scope;
        QObject::connect(session.get(), &Session::batchFinished, &scope,
                         [&finished] { finished = true; });
        if (session->startBatch(columns).refused()) {
            return false;
        }
        return clock.advanceUntil([&finished] { return finished; }, 60'000);
    }

    QTemporaryDir dir;
    ManualClock clock;  // first: it outlives the link's timers
    FakeSerialPort* port = nullptr;
    std::unique_ptr<Session> session;
};

TEST_P(SessionTest, ABatchMarksArchivesAndShowsItsLastRecordAndARestartRestoresIt) {
    QStringList events;
    QObject::connect(session.get(), &Session::recordFiled,
                     [&events](int column) { events << QStringLiteral("filed %1").arg(column); });
    QObject::connect(session.get(), &Session::viewChanged, [&events] { events << "view"; });
    QObject::connect(session.get(), &Session::batchFinished, [&events] { events << "finished"; });

    ASSERT_TRUE(capture({4, 2}));
    EXPECT_EQ(events, QStringList({"filed 2", "filed 4", "view", "finished"}));
    EXPECT_TRUE(session->isMarked(2) && session->isMarked(4));
    EXPECT_FALSE(session->isMarked(3));
    EXPECT_TRUE(session->unsaved());
    EXPECT_EQ(session->changeCount(), 2);
    // The record shown is the batch's last; the slot shown stays where the operator left it.
    EXPECT_EQ(session->recordShown(), 4);
    EXPECT_EQ(session->shownslot(), 0);
    EXPECT_EQ(session->view().controlText("txtmemno").left(3), QStringLiteral("005"));
    const PanelTexts expected = buildPanelTexts(profile(), session->store().column(4));
    for (const auto& [control, text] : expected.entries()) {
        EXPECT_EQ(session->view().texts().text(control.toStdString()), text)
            << control.toStdString();
    }
    const auto filed = valuesOf(session->store().column(2));

    // The run ends without a save or a clean end (a crash): the next run is offered both.
    session.reset();
    auto next = makeSession();
    next->begin();
    ASSERT_EQ(next->archive().restoreOffer().items.size(), 2U);
    QSignalSpy unsaved(next.get(), &Session::unsavedChanged);
    const Session::RestoreSummary summary = next->restoreFromArchive();
    EXPECT_EQ(summary.restored, 2);
    EXPECT_TRUE(summary.kept.isEmpty());
    EXPECT_EQ(valuesOf(next->store().column(2)), filed);
    EXPECT_TRUE(next->isMarked(2) && next->isMarked(4) && next->unsaved());
    EXPECT_FALSE(unsaved.isEmpty());
}

TEST_P(SessionTest, DuringABatchEveryChangeToTheRecordsIsRefusedWithItsReason) {
    const QString file = dir.filePath(QStringLiteral("earlier.dat"));
    ASSERT_FALSE(session->save(file).has_value());
    // The instrument takes its time: the batch is under way while the commands come.
    port->onWrite = {};
    ASSERT_TRUE(session->startBatch({3, 4}).done());
    const Refusal busy = session->changeRefused();
    ASSERT_TRUE(busy.refused());
    EXPECT_TRUE(busy.reason().contains(QStringLiteral("capture"))) << busy.reason().toStdString();

    const auto before = valuesOf(session->store().column(7));
    const std::vector<RecordValue> other(before.size(), 9);
    const QString texts[] = {QStringLiteral("K. Ng"), {}, {}, {}};
    const std::span<const QString> header(texts, profile().headerFields.size());
    for (const Refusal& refusal :
         {session->recall(7), session->storeHeader(header), session->clearAll(),
          session->fileRecord(7, other), session->startBatch({9}), session->load(file).refusal}) {
        EXPECT_TRUE(refusal.refused());
        EXPECT_EQ(refusal.reason(), busy.reason());
    }
    EXPECT_EQ(valuesOf(session->store().column(7)), before);
    EXPECT_EQ(session->shownslot(), 0);
    EXPECT_FALSE(session->isMarked(7));

    // Out of the batch: a slot that does not exist and a record of another length are refused
    // for what they are; a whole record goes in.
    session->stopBatch();
    ASSERT_TRUE(clock.advanceUntil([this] { return session->changeRefused().done(); }, 60'000));
    EXPECT_TRUE(session->recall(200).reason().contains(QStringLiteral("no slot 201")));
    EXPECT_TRUE(session->fileRecord(-1, other).refused());
    EXPECT_TRUE(session->fileRecord(7, std::span(other).first(10)).refused());
    EXPECT_FALSE(session->isMarked(7));
    EXPECT_TRUE(session->fileRecord(7, other).done());
    EXPECT_TRUE(session->isMarked(7));
}

// Records sent from the instrument one after the other, each with its clock OFF and a valid
// time and date: every one of them shows its own time-and-date line (the TFT's CLOCK rule
// leaves "Tm: " alone, the DAC always shows the line).
TEST_P(SessionTest, EachArrivedRecordShowsItsOwnTimeAndDate) {
    const auto clockIndex = walkedIndex(profile(), "txtclock");
    const auto timeDate = timeDateIndex(profile());
    ASSERT_TRUE(clockIndex && timeDate);
    const bool clockRule = !profile().clockControl.empty();
    for (const std::string_view memno : {"001", "003", "015"}) {
        auto raw = testing::patternRaw(profile());
        testing::putRecordText(profile(), raw, kMemoryNumberFirst, memno);
        testing::putRecordText(profile(), raw, *clockIndex, "OFF    ");
        testing::putRecordText(profile(), raw, *timeDate, "2321260332");
        QSignalSpy filed(session.get(), &Session::recordFiled);
        port->injectLater(testing::wireFrame(profile(), raw));
        ASSERT_TRUE(clock.advanceUntil([&filed] { return !filed.isEmpty(); }, 60'000)) << memno;
        EXPECT_EQ(session->view().controlText("txttmdt"),
                  clockRule ? QStringLiteral("Tm: ") : QStringLiteral("Tm: 23:21 Dt:26/03/32"))
            << memno;
    }
}

// New leaves the memory table exactly as a fresh start does, every row of every column: the
// header texts and the rows a batch files past the start values go with the records.
TEST_P(SessionTest, NewLeavesTheTableAsAFreshStartLeavesIt) {
    ASSERT_TRUE(capture({2, 7}));
    ASSERT_TRUE(session->recall(7).done());
    std::vector<QString> texts(profile().headerFields.size(), QStringLiteral("Discarded"));
    ASSERT_TRUE(session->storeHeader(texts).done());
    ASSERT_TRUE(session->clearAll().done());

    Session fresh(profile());
    fresh.begin();
    for (int column = 0; column <= kSlotCount; ++column) {
        EXPECT_EQ(valuesOf(session->store().column(column)), valuesOf(fresh.store().column(column)))
            << "column " << column;
    }
    EXPECT_EQ(session->marks(), fresh.marks());
    EXPECT_FALSE(session->unsaved());
    EXPECT_TRUE(session->currentFile().isEmpty());
}

// Notes typed and not stored go aside as a draft of their slot when a frame arrives; brought
// back, they are the slot's again until stored; stored, nothing goes aside.
TEST_P(SessionTest, TypedNotesGoAsideWhenAFrameArrivesAndComeBackUnstored) {
    ASSERT_TRUE(capture({4}));
    ASSERT_TRUE(session->recall(4).done());
    const std::string_view control = profile().headerFields.front().control;
    session->noteTyped(control, QStringLiteral("K. Ng"));
    QSignalSpy aside(session.get(), &Session::notesSetAside);
    port->injectLater(frameWithMemoryNumber(profile(), "012", 12));
    ASSERT_TRUE(clock.advanceUntil([&aside] { return !aside.isEmpty(); }, 60'000));
    EXPECT_EQ(aside.front().front().toInt(), 4);
    ASSERT_TRUE(session->notesDraft().has_value());
    EXPECT_EQ(session->notesDraft()->texts.front(), QStringLiteral("K. Ng"));
    EXPECT_NE(session->view().controlText(control), QStringLiteral("K. Ng"));

    QSignalSpy back(session.get(), &Session::notesBroughtBack);
    ASSERT_TRUE(session->bringBackNotes().done());
    EXPECT_EQ(back.size(), 1);
    EXPECT_EQ(session->shownslot(), 4);
    EXPECT_EQ(session->view().controlText(control), QStringLiteral("K. Ng"));
    EXPECT_FALSE(session->notesDraft().has_value());
    EXPECT_TRUE(session->bringBackNotes().refused());

    std::vector<QString> texts(profile().headerFields.size());
    texts.front() = QStringLiteral("K. Ng");
    ASSERT_TRUE(session->storeHeader(texts).done());
    ASSERT_TRUE(session->recall(11).done());
    EXPECT_EQ(aside.size(), 1);
}

TEST_P(SessionTest, BeforeAnyRecordThePageHasThePanelsDesignTextsThenTheRecordsOwn) {
    int designed = 0;
    for (const PanelCell& cell : profile().panelCells) {
        if (!cell.control.empty()) {
            EXPECT_EQ(session->view().controlText(cell.control), qs(cell.designText))
                << cell.control;
            ++designed;
        }
    }
    EXPECT_GT(designed, 20);
    ASSERT_TRUE(capture({3}));
    EXPECT_EQ(session->view().controlText("txtmemno").left(3), QStringLiteral("004"));
    EXPECT_EQ(session->view().texts().text("txtzero"),
              buildPanelTexts(profile(), session->store().column(3)).text("txtzero"));
}

TEST_P(SessionTest, ARecallShowsTheSlotAndAHeaderStoreGoesIntoIt) {
    ASSERT_TRUE(capture({6}));
    QSignalSpy shown(session.get(), &Session::slotShown);
    ASSERT_TRUE(session->recall(6).done());
    EXPECT_EQ(session->shownslot(), 6);
    EXPECT_EQ(session->recordShown(), 6);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.at(0).at(0).toInt(), 6);
    EXPECT_EQ(valuesOf(session->store().capture()).front(), session->store().column(6)[0]);

    const std::string_view box = profile().headerFields[0].control;
    // What the operator types is what the page of the record shown prints, before a store.
    session->view().setText(box, QStringLiteral("typed"));
    EXPECT_EQ(session->view().controlText(box), QStringLiteral("typed"));

    std::vector<QString> texts(profile().headerFields.size());
    texts[0] = QStringLiteral("K. Ng");
    QSignalSpy stored(session.get(), &Session::headerStored);
    ASSERT_TRUE(session->recall(0).done());  // the start values; then back to slot 7
    ASSERT_TRUE(session->recall(6).done());
    ASSERT_TRUE(session->storeHeader(texts).done());
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.at(0).at(0).toInt(), 6);
    ASSERT_TRUE(session->recall(6).done());
    EXPECT_EQ(session->view().controlText(box).trimmed(), QStringLiteral("K. Ng"));
    EXPECT_EQ(session->changeCount(), 2);
}

TEST_P(SessionTest, SaveAndLoadReplaceTheSlotsOnlyByAWholeFileOrByChoice) {
    ASSERT_TRUE(capture({1, 3}));
    const QString path = dir.filePath(QStringLiteral("run.dat"));
    EXPECT_TRUE(session->save(dir.path()).has_value());
    EXPECT_TRUE(session->unsaved());
    ASSERT_EQ(session->save(path), std::nullopt);
    EXPECT_FALSE(session->unsaved());
    EXPECT_EQ(session->currentFile(), path);

    // A file broken off half-way: kept out unless its part is asked for.
    QFile whole(path);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const QString half = dir.filePath(QStringLiteral("half.dat"));
    QFile part(half);
    ASSERT_TRUE(part.open(QIODevice::WriteOnly));
    part.write(bytes.left(bytes.size() / 2));
    part.close();

    Session other(profile());
    other.begin();
    ASSERT_TRUE(other.load(path).complete);
    EXPECT_EQ(other.marks(), session->marks());
    EXPECT_EQ(valuesOf(other.store().column(3)), valuesOf(session->store().column(3)));
    EXPECT_EQ(other.currentFile(), path);

    ASSERT_TRUE(other.clearAll().done());
    const auto cleared = valuesOf(other.store().column(1));
    int asked = 0;
    const Session::LoadOutcome kept = other.load(half, [&asked](const LoadResult&) {
        ++asked;
        return false;
    });
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(kept.adopted);
    EXPECT_EQ(valuesOf(other.store().column(1)), cleared);
    EXPECT_FALSE(other.isMarked(1));
    EXPECT_TRUE(other.currentFile().isEmpty());

    const Session::LoadOutcome taken = other.load(half, [](const LoadResult&) { return true; });
    EXPECT_TRUE(taken.adopted && !taken.complete);
    EXPECT_TRUE(other.isMarked(1));  // slot 2 lies in the first half of the file
    EXPECT_TRUE(other.currentFile().isEmpty());
    EXPECT_FALSE(other.unsaved());
}

TEST_P(SessionTest, ThePrintHostPrintsEachMarkedSlotAsItsRecallShowsIt) {
    ASSERT_TRUE(capture({9, 5}));
    RecordingPageSink sink;
    int failures = 0;
    QStringList folderFailures;
    QString folder = dir.path();
    SessionPrintHost host(
        *session,
        {[](int entry) { return entry == 9; }, [] { return true; },
         [&sink]() -> PageSink& { return sink; }, [&folder] { return folder; },
         [&folderFailures](const QString& where, const QString&) { folderFailures << where; },
         [&failures] { ++failures; }});
    EXPECT_EQ(host.entryText(5), QStringLiteral("Mem 6 *"));
    EXPECT_EQ(host.entryText(6), QStringLiteral("Mem 7"));

    runPrint(PrintOption::All, host);
    ASSERT_EQ(sink.jobs().size(), 2U);
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(session->shownslot(), 9);  // the last slot printed is the one shown
    // Each page is the one a fresh recall of that slot composes.
    Session alone(profile());
    alone.begin();
    for (const int column : {5, 9}) {
        std::copy_n(session->store().column(column).begin(), profile().recordSize(),
                    alone.store().column(column).begin());
    }
    RecordingPageSink expected;
    for (const int column : {5, 9}) {
        ASSERT_TRUE(alone.recall(column).done());
        print_report(profile(), alone.view(), expected, dir.path(), {});
    }
    EXPECT_EQ(sink.pageImage(0), expected.pageImage(0));
    EXPECT_EQ(sink.pageImage(1), expected.pageImage(1));
    EXPECT_NE(sink.pageImage(0), sink.pageImage(1));

    runPrint(PrintOption::Selected, host);
    EXPECT_EQ(sink.jobs().size(), 3U);

    // A folder that cannot take the scratch bitmaps: said once, nothing recalled or printed.
    folder = dir.filePath(QStringLiteral("missing/deeper"));
    ASSERT_TRUE(session->recall(1).done());
    runPrint(PrintOption::All, host);
    EXPECT_EQ(folderFailures, QStringList{folder});
    EXPECT_EQ(sink.jobs().size(), 3U);
    EXPECT_EQ(session->shownslot(), 1);
}

TEST_P(SessionTest, ALostPortEndsTheBatchAndSaysWhy) {
    QSignalSpy lost(session.get(), &Session::linkLost);
    port->onWrite = [this](const QByteArray&) {
        clock.schedule(5, [this] { port->loseConnection(QStringLiteral("cable pulled")); });
    };
    ASSERT_TRUE(capture({0, 1}));
    ASSERT_EQ(lost.size(), 1);
    EXPECT_EQ(session->portFailure(), QStringLiteral("cable pulled"));
    EXPECT_TRUE(session->changeRefused().done());
    EXPECT_FALSE(session->unsaved());

    EXPECT_TRUE(session->openDevice(QStringLiteral("/dev/ttyFAKE")));
    EXPECT_TRUE(session->portFailure().isEmpty());
    port->setOpenSucceeds(false);
    EXPECT_FALSE(session->openDevice(QStringLiteral("/dev/ttyGONE")));
    EXPECT_FALSE(session->portFailure().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Models, SessionTest, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
}  // namespace trellicap
