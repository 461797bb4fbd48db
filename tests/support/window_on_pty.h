// The main window started in a temporary working folder whose "udc.cfg" names a pty (no
// instrument answers on it): messages are collected and questions answered with m_answer,
// never shown. WindowOnPty runs it for the profile under test.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "link/qt_serial_port.h"
#include "profiles/model_profile.h"
#include "shell/main/frmmain.h"
#include "support/pty.h"

namespace trellicap::testing {

class WindowFolder {
protected:
    WindowFolder() {
        QFile cfg(m_dir.filePath(QStringLiteral("udc.cfg")));
        if (!cfg.open(QIODevice::WriteOnly)) {
            ADD_FAILURE() << "udc.cfg cannot be written in " << m_dir.path().toStdString();
        }
        cfg.write(m_pty.slave().toLocal8Bit() + "\r\n");
    }

    std::unique_ptr<frmmain> startWindow(const ModelProfile& profile) {
        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.messenger = [this](QWidget*, const UserMessage& m) { m_messages.push_back(m); };
        options.asker = [this](QWidget*, const UserQuestion& q) {
            m_questions.push_back(q);
            return m_answer;
        };
        auto w = std::make_unique<frmmain>(profile, std::make_unique<QtSerialPort>(), options);
        w->startUp();
        return w;
    }

    QTemporaryDir m_dir;
    Pty m_pty;
    std::vector<UserMessage> m_messages;
    std::vector<UserQuestion> m_questions;
    Answer m_answer = Answer::Cancel;
};

class WindowOnPty : public ::testing::TestWithParam<const ModelProfile*>, protected WindowFolder {
protected:
    std::unique_ptr<frmmain> start() { return startWindow(*GetParam()); }
};

}  // namespace trellicap::testing
