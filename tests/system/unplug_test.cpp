// An instrument whose cable is pulled and plugged back in, with the simulator's `unplug` and
// `replug` on a pty reached through a by-id-style link written in "udc.cfg": the window says
// it waits, reopens the same adapter by itself (also when it comes back under another name),
// leaves another adapter alone, files nothing of a frame the unplug cut, and offers the rest
// of a cut batch, which then captures exactly those slots.
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>

#include "link/adapter_watch.h"
#include "session/port_recovery.h"
#include "sim_window.h"

using namespace trellicap;
using namespace trellicap::testing;

namespace {

constexpr int kReconnectMs = 6000;  // a look a second, then the open

const QString kWaiting = QStringLiteral("Instrument unplugged \u2014 waiting for it to come back");

class UnplugTest : public SimWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("by-id")));
        m_link = m_dir.filePath(QStringLiteral("by-id/usb-Corvane_UT_SIM0001-if00-port0"));
        SimWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        writeConfig(m_link.toLocal8Bit());
    }
    QStringList simOptions() const override {
        return {QStringLiteral("--fast"), QStringLiteral("--link"), m_link};
    }

    // The cable is pulled: the window closes the port and says it waits.
    void unplug() {
        ASSERT_TRUE(m_sim.commandAcknowledged("unplug"));
        ASSERT_TRUE(waitUntil([&] { return !m_window->session().port().isOpen(); }, 5000));
        ASSERT_TRUE(waitUntil([&] { return statusField("lblreconnect") == kWaiting; }, 5000));
    }
    // Plugged back in: the new pty's path, once the window has reopened the link.
    QString replug(const QByteArray& command = "replug") {
        EXPECT_TRUE(m_sim.commandAcknowledged(command));
        const QByteArray line = m_sim.waitForLineStartingWith("replugged ");
        EXPECT_FALSE(line.isEmpty());
        EXPECT_TRUE(waitUntil([&] { return m_window->session().port().isOpen(); }, kReconnectMs));
        return QString::fromLocal8Bit(line.mid(10));
    }
    void expectReconnected() {
        static const QRegularExpression reconnected(QStringLiteral("^Reconnected \\d\\d:\\d\\d$"));
        EXPECT_TRUE(reconnected.match(statusField("lblreconnect")).hasMatch())
            << statusField("lblreconnect").toStdString();
        EXPECT_EQ(statusField("lblport"), m_link + QStringLiteral(" \u2014 port open"));
        EXPECT_EQ(m_window->session().device(), m_link);  // the link as written
    }
    void expectOneLinkLostMessage() {
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].title, QStringLiteral("Link lost"));
        EXPECT_EQ(
            m_messages[0].text,
            QStringLiteral("The link to the instrument was lost. Nothing partial was filed."));
    }

    QString m_link;
};

TEST_P(UnplugTest, AnAdapterUnpluggedWhileIdleComesBackByItselfAndFilesFramesAgain) {
    frmmain& w = start();
    ASSERT_TRUE(w.session().port().isOpen());
    EXPECT_TRUE(statusField("lblreconnect").isEmpty());
    unplug();
    EXPECT_EQ(statusField("lblport"), m_link + QStringLiteral(" \u2014 link lost"));
    expectOneLinkLostMessage();

    replug();
    expectReconnected();
    expectOneLinkLostMessage();  // no question, no further message
    EXPECT_TRUE(m_questions.empty());
    EXPECT_EQ(shownWindow("frmoption"), nullptr);
    sendFromInstrument(12);
    EXPECT_TRUE(statusField("lblport").startsWith(m_link + QStringLiteral(" \u2014 instrument "
                                                                          "answered ")));
}

TEST_P(UnplugTest, AnAdapterBackUnderAnotherNameIsReopenedBehindTheSameLink) {
    frmmain& w = start();
    const QString before = m_sim.pty();
    unplug();
    const QString now = replug("replug new-name");
    EXPECT_NE(now, before);
    EXPECT_EQ(QFileInfo(m_link).symLinkTarget(), now);
    expectReconnected();
    EXPECT_TRUE(w.session().port().isOpen());
    sendFromInstrument(7);
}

TEST_P(UnplugTest, AnotherAdapterAppearingWhileWaitingIsNotTaken) {
    frmmain& w = start();
    unplug();
    // Another instrument appears, on a pty of its own behind a link of its own (possibly under
    // the unplugged one's old device name).
    SimProcess other;
    ASSERT_TRUE(other.start(
        simArguments() +
        QStringList{QStringLiteral("--fast"), QStringLiteral("--link"),
                    m_dir.filePath(QStringLiteral("by-id/usb-Corvane_UT_SIM0002-if00-port0"))}))
        << other.error().toStdString();
    QSignalSpy looks(&w.session().recovery().watch(), &AdapterWatch::adapterAbsent);
    ASSERT_TRUE(waitUntil([&] { return looks.size() >= 2; }, kReconnectMs));
    EXPECT_FALSE(w.session().port().isOpen());
    EXPECT_EQ(statusField("lblreconnect"), kWaiting);
    EXPECT_EQ(w.session().device(), m_link);

    replug();
    expectReconnected();
    sendFromInstrument(5);
}

// Paced as at 9600 baud (a frame takes about a second), so that the cable can be pulled while
// a frame is on the line.
class UnplugMidBatchTest : public UnplugTest {
protected:
    QStringList simOptions() const override { return {QStringLiteral("--link"), m_link}; }

    // Waits, with the window running, until the simulator says `line`; what it said up to
    // then is in m_heard.
    bool simSays(const QByteArray& line, int timeoutMs) {
        m_heard.clear();
        return waitUntil(
            [&] {
                for (const QByteArray& heard : m_sim.takeLines()) {
                    m_heard.append(QString::fromLatin1(heard));
                    if (heard == line) {
                        return true;
                    }
                }
                return false;
            },
            timeoutMs);
    }

    QStringList m_heard;

    void expectFiledAsSimulated(int slot) {
        const auto record = SimProcess::record(simArguments(), slot);
        ASSERT_FALSE(record.empty());
        const std::vector<RecordValue> column = columnOf(slot);
        for (const auto& [index, value] : record) {
            if (index <= GetParam()->batchFileRows.last) {
                ASSERT_EQ(column[static_cast<std::size_t>(index)], value)
                    << "slot " << slot << " index " << index;
            }
        }
    }
};

TEST_P(UnplugMidBatchTest, ABatchCutByAnUnplugFilesNothingPartialAndItsRestIsOffered) {
    frmmain& w = start();
    auto* offer = w.findChild<QPushButton*>(QStringLiteral("cmdremaining"));
    ASSERT_NE(offer, nullptr);
    const std::vector<RecordValue> slot57 = columnOf(57);
    for (int slot = 55; slot <= 58; ++slot) {
        w.slotList()->item(slot - 1)->setSelected(true);
    }
    w.findChild<QPushButton*>(QStringLiteral("cmdcapture"))->click();
    ASSERT_TRUE(simSays("served 57", 15000));
    unplug();  // slot 57's frame is on the line
    ASSERT_TRUE(waitUntil([&] { return !w.session().batchOn(); }, 5000));
    EXPECT_EQ(entry(55), QStringLiteral("Mem 55 *"));
    EXPECT_EQ(entry(56), QStringLiteral("Mem 56 *"));
    EXPECT_EQ(entry(57), QStringLiteral("Mem 57"));
    EXPECT_EQ(columnOf(57), slot57);
    expectOneLinkLostMessage();
    EXPECT_FALSE(offer->isVisible());  // nothing to offer while the instrument is away

    replug();
    expectReconnected();
    ASSERT_TRUE(waitUntil([&] { return offer->isVisible(); }, 2000));
    EXPECT_EQ(offer->text(), QStringLiteral("Capture the remaining slots 57\u201358"));

    QSignalSpy finished(&w.session(), &Session::batchFinished);
    offer->click();
    EXPECT_FALSE(offer->isVisible());
    // The simulator hears exactly the rest asked for, then the release.
    ASSERT_TRUE(simSays("release", 15000)) << m_heard.join(' ').toStdString();
    EXPECT_EQ(m_heard.filter(QStringLiteral("request ")),
              (QStringList{QStringLiteral("request 57"), QStringLiteral("request 58")}));
    ASSERT_TRUE(finished.size() == 1 || finished.wait(5000));
    for (const int slot : {57, 58}) {
        EXPECT_EQ(entry(slot), QStringLiteral("Mem %1 *").arg(slot));
        expectFiledAsSimulated(slot);
    }
    EXPECT_FALSE(offer->isVisible());
    EXPECT_EQ(m_messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Models, UnplugTest, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });
INSTANTIATE_TEST_SUITE_P(Models, UnplugMidBatchTest,
                         ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
