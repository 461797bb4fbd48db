// A main window started against the instrument simulator on a pty, with the test seams set:
// messages and questions are recorded (questions answered from a script), the program's end
// is counted instead of quitting the test, and the process's folder is the test's own (the
// save and open windows start there).
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <deque>

#include "link/qt_serial_port.h"
#include "profiles/dac.h"
#include "profiles/tft.h"
#include "shell/main/frmmain.h"
#include "support/sim_process.h"
#include "support/wait.h"

namespace trellicap::testing {

// How long a slot sent from the simulator (at full speed) may take to be filed.
inline constexpr int kArrivalMs = 8000;

class SimWindowTest : public ::testing::TestWithParam<const ModelProfile*> {
protected:
    void SetUp() override {
        if (SimProcess::executable().isEmpty()) {
            GTEST_SKIP() << "the instrument simulator is not built";
        }
        ASSERT_TRUE(m_dir.isValid());
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        ASSERT_TRUE(m_sim.start(simArguments() + simOptions())) << m_sim.error().toStdString();
        m_workingDir = m_dir.path();
        writeConfig(m_sim.pty().toLocal8Bit());
    }

    void TearDown() override {
        m_window.reset();
        QDir::setCurrent(m_previousFolder);
    }

    // The simulator's options besides the model: at full speed unless a test says otherwise.
    virtual QStringList simOptions() const { return {QStringLiteral("--fast")}; }

    QStringList simArguments() const {
        return {QStringLiteral("--model"),
                GetParam() == &dac::kProfile ? QStringLiteral("dac") : QStringLiteral("tft")};
    }

    void writeConfig(const QByteArray& firstItem) {
        QFile cfg(QDir(m_workingDir).filePath(QStringLiteral("udc.cfg")));
        ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
        cfg.write(firstItem + "\r\n");
    }

    frmmain& start() {
        frmmain::Options options;
        options.workingDir = m_workingDir;
        options.messenger = [this](QWidget* owner, const UserMessage& m) {
            m_messages.push_back(m);
            m_messageOwners.push_back(owner ? owner->objectName() : QString());
        };
        options.asker = [this](QWidget*, const UserQuestion& q) {
            m_questions.push_back(q);
            if (m_answers.empty()) {
                ADD_FAILURE() << "unexpected question: " << q.message.text.toStdString();
                return q.escapeAnswer;
            }
            const Answer answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        };
        options.endProgram = [this] { ++m_ends; };
        m_window =
            std::make_unique<frmmain>(*GetParam(), std::make_unique<QtSerialPort>(), options);
        m_window->startUp();
        return *m_window;
    }

    // The operator sends a slot from the instrument; it arrives marked.
    void sendFromInstrument(int slot) {
        ASSERT_TRUE(m_sim.commandAcknowledged("send " + QByteArray::number(slot)));
        ASSERT_TRUE(waitUntil([&] { return entry(slot) == QStringLiteral("Mem %1 *").arg(slot); },
                              kArrivalMs));
    }

    QString entry(int slot) const { return m_window->slotList()->item(slot - 1)->text(); }
    QString statusField(const char* name) const {
        return m_window->findChild<QLabel*>(QLatin1String(name))->text();
    }
    void choose(const char* entryName) {
        auto* action = m_window->findChild<QAction*>(QLatin1String(entryName));
        ASSERT_NE(action, nullptr) << entryName;
        action->trigger();
    }
    // A secondary window that is open (shown), or nullptr.
    QWidget* shownWindow(const char* name) const {
        auto* window = m_window->findChild<QWidget*>(QLatin1String(name));
        return window != nullptr && window->isVisible() ? window : nullptr;
    }
    std::vector<RecordValue> columnOf(int slot) const {
        const auto c = m_window->session().store().column(slot - 1);
        return {c.begin(), c.end()};
    }
    int fileBytes() const { return 4 * kSlotCount * GetParam()->fileRows.count(); }

    SimProcess m_sim;
    QTemporaryDir m_dir;
    QString m_previousFolder;
    QString m_workingDir;  // the program's: "udc.cfg" and the scratch bitmaps
    std::unique_ptr<frmmain> m_window;
    std::vector<UserMessage> m_messages;
    QStringList m_messageOwners;  // the window each message stood over ("" for none)
    std::vector<UserQuestion> m_questions;
    std::deque<Answer> m_answers;
    int m_ends = 0;
};

}  // namespace trellicap::testing
