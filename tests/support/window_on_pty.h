// The main window of the profile under test, started in a temporary working folder whose
// "udc.cfg" names a pty (no instrument answers on it); messages are collected, not shown.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "link/qt_serial_port.h"
#include "profiles/model_profile.h"
#include "shell/frmmain.h"
#include "support/pty.h"

namespace trellicap::testing {

class WindowOnPty : public ::testing::TestWithParam<const ModelProfile*> {
protected:
    void SetUp() override {
        QFile cfg(m_dir.filePath(QStringLiteral("udc.cfg")));
        ASSERT_TRUE(cfg.open(QIODevice::WriteOnly));
        cfg.write(m_pty.slave().toLocal8Bit() + "\r\n");
    }

    std::unique_ptr<frmmain> start() {
        frmmain::Options options;
        options.workingDir = m_dir.path();
        options.messenger = [this](QWidget*, const UserMessage& m) { m_messages.push_back(m); };
        auto w = std::make_unique<frmmain>(*GetParam(), std::make_unique<QtSerialPort>(), options);
        w->startUp();
        return w;
    }

    QTemporaryDir m_dir;
    Pty m_pty;
    std::vector<UserMessage> m_messages;
};

}  // namespace trellicap::testing
