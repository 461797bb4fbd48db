// A device path in "udc.cfg" that is missing at start-up (an adapter plugged in later) is
// kept: the port selection offers it, selected, with the reason beside it; Cancel and a
// failed Ok keep it in the file; once the device is there, Ok opens it. Then the status bar
// says the port is open until the instrument answers.
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "sim_window.h"

using namespace trellicap;
using namespace trellicap::testing;

namespace {

class PortPathTest : public SimWindowTest {
protected:
    void SetUp() override {
        SimWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_adapter = m_dir.filePath(QStringLiteral("ttyADAPTER"));
        writeConfig(m_adapter.toLocal8Bit());
    }
    QByteArray config() const {
        QFile file(m_dir.filePath(QStringLiteral("udc.cfg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The wrapped intro text has the height its lines need at the width it got.
    static void expectIntroWhole(QWidget& window) {
        auto* intro = window.findChild<QLabel*>(QStringLiteral("Label2"));
        ASSERT_NE(intro, nullptr);
        EXPECT_GE(intro->height(), intro->heightForWidth(intro->width()))
            << "intro text cut at " << intro->width() << " px";
        EXPECT_GE(window.height(), window.minimumHeight());
    }

    QString m_adapter;
};

TEST_P(PortPathTest, AMissingDevicePathSurvivesStartUpOkAndCancelAndOpensOnceItIsThere) {
    frmmain& w = start();
    // Start-up failure: the same message as for any failure.
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].title, QStringLiteral("File Error"));
    EXPECT_EQ(m_messages[0].text,
              QStringLiteral("Port configuratin file is lost so select apropriate serial port "
                             "which is necessary "));
    EXPECT_FALSE(w.isVisible());

    QWidget* option = shownWindow("frmoption");
    ASSERT_NE(option, nullptr);
    auto* device = option->findChild<QRadioButton*>(QStringLiteral("optdevice"));
    ASSERT_TRUE(device->isVisible());
    EXPECT_TRUE(device->isChecked());
    EXPECT_EQ(device->text(), m_adapter);
    const QString reason = option->findChild<QLabel*>(QStringLiteral("lbldevice5"))->text();
    EXPECT_TRUE(reason.startsWith(m_adapter + QStringLiteral(": "))) << reason.toStdString();
    EXPECT_GT(reason.size(), m_adapter.size() + 2);
    expectIntroWhole(*option);

    // Cancel cannot open it either: the window stays, the file keeps the path.
    option->findChild<QPushButton*>(QStringLiteral("cmdcancel"))->click();
    EXPECT_NE(shownWindow("frmoption"), nullptr);
    EXPECT_EQ(config(), m_adapter.toLocal8Bit() + "\r\n");

    // Ok retries the path: still missing, so the usual message, and the file keeps it.
    option->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_messages[1].title, QStringLiteral("Port Selection Error"));
    EXPECT_EQ(config(), m_adapter.toLocal8Bit() + "\r\n");
    EXPECT_TRUE(device->isChecked());

    // The adapter is plugged in: Ok opens it and the main window shows.
    ASSERT_TRUE(QFile::link(m_sim.pty(), m_adapter));
    option->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    EXPECT_EQ(m_messages.size(), 2u);
    EXPECT_TRUE(w.session().port().isOpen());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(config(), m_adapter.toLocal8Bit() + "\r\n");
    EXPECT_EQ(statusField("lblport"), QStringLiteral("%1 \u2014 port open").arg(m_adapter));

    sendFromInstrument(4);
    const QRegularExpression answered(QStringLiteral("^%1 \u2014 instrument answered "
                                                     "[0-2][0-9]:[0-5][0-9]$")
                                          .arg(QRegularExpression::escape(m_adapter)));
    EXPECT_TRUE(answered.match(statusField("lblport")).hasMatch())
        << statusField("lblport").toStdString();

    // From the menu, the open path is still the choice; a Comport replaces it only on Ok.
    w.openPortSelection();
    option = shownWindow("frmoption");
    ASSERT_NE(option, nullptr);
    EXPECT_TRUE(option->findChild<QRadioButton*>(QStringLiteral("optdevice"))->isChecked());
    EXPECT_TRUE(option->findChild<QLabel*>(QStringLiteral("lbldevice5"))->text().isEmpty());
    expectIntroWhole(*option);
    option->findChild<QRadioButton*>(QStringLiteral("Option2"))->click();
    option->findChild<QPushButton*>(QStringLiteral("cmdcancel"))->click();
    EXPECT_EQ(config(), m_adapter.toLocal8Bit() + "\r\n");
    EXPECT_TRUE(w.session().port().isOpen());
}

// A failed Ok at start-up comes back to the port selection as often as it fails: its message
// belongs to the port selection (never a window of its own whose OK would leave no window and
// end the program), and only Cancel or the close box end the program there.
TEST_P(PortPathTest, AFailedOkAtStartUpReturnsToThePortSelectionEveryTime) {
    frmmain& w = start();
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());
    QWidget* option = shownWindow("frmoption");
    ASSERT_NE(option, nullptr);
    for (int attempt = 0; attempt < 2; ++attempt) {
        option->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
        ASSERT_EQ(m_messages.size(), 2u + static_cast<std::size_t>(attempt));
        EXPECT_EQ(m_messages.back().title, QStringLiteral("Port Selection Error"));
        EXPECT_EQ(m_messageOwners.back(), QStringLiteral("frmoption")) << attempt;
        EXPECT_EQ(shownWindow("frmoption"), option) << attempt;
        EXPECT_FALSE(w.isVisible());
    }
    ASSERT_TRUE(QFile::link(m_sim.pty(), m_adapter));
    option->findChild<QPushButton*>(QStringLiteral("cmdok"))->click();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.session().port().isOpen());
}

TEST_P(PortPathTest, WithoutADevicePathTheIntroTextIsWholeToo) {
    writeConfig("9");  // a port number that cannot be opened here
    start();
    QWidget* option = shownWindow("frmoption");
    ASSERT_NE(option, nullptr);
    EXPECT_FALSE(option->findChild<QRadioButton*>(QStringLiteral("optdevice"))->isVisible());
    EXPECT_TRUE(option->findChild<QRadioButton*>(QStringLiteral("Option1"))->isChecked());
    expectIntroWhole(*option);
    // Narrowed as far as it goes, it still shows every line.
    option->resize(option->minimumWidth(), option->minimumHeight());
    QCoreApplication::processEvents();
    expectIntroWhole(*option);
}

INSTANTIATE_TEST_SUITE_P(Models, PortPathTest, ::testing::Values(&tft::kProfile, &dac::kProfile),
                         [](const auto& info) { return std::string(info.param->programName); });

}  // namespace
