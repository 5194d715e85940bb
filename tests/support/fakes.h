#pragma once

// Fake platform services for window tests: each records what the windows asked of it, in one
// shared log so that tests can check the order of music and cue calls.

#include "platform/batchrunner.h"
#include "platform/sound.h"
#include "ui/toolkit.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace spindeck::fakes {

using CallLog = std::vector<std::string>;

class FakeCuePlayer final : public platform::CuePlayer {
public:
    explicit FakeCuePlayer(CallLog& log, int devices = 1) : m_log(log), m_devices(devices) {}
    void sndPlaySoundA(const std::string& dosPath, unsigned flags) override {
        m_log.push_back((flags == kAsync ? "cue async " : "cue wait ") + dosPath);
    }
    int waveOutGetNumDevs() override { return m_devices; }

private:
    CallLog& m_log;
    int m_devices;
};

class FakeMusicControl final : public platform::MusicControl {
public:
    explicit FakeMusicControl(CallLog& log) : m_log(log) {}
    void setDeviceType(const std::string& type) override { m_log.push_back("music DeviceType " + type); }
    void setFileName(const std::string& dosPath) override {
        m_fileName = dosPath;
        m_log.push_back("music FileName " + dosPath);
    }
    [[nodiscard]] std::string fileName() const override { return m_fileName; }
    void setUpdateInterval(int milliseconds) override {
        m_log.push_back("music UpdateInterval " + std::to_string(milliseconds));
    }
    void command(std::string_view word) override { m_log.push_back("music " + std::string(word)); }
    [[nodiscard]] int mode() const override { return m_mode; }
    void onStatusUpdate(std::function<void()> handler) override { m_statusUpdate = std::move(handler); }

    int m_mode = kNotOpen;
    std::function<void()> m_statusUpdate;

private:
    CallLog& m_log;
    std::string m_fileName;
};

// Records "shell c:\qrv.bat 1" and returns `m_result`; `m_duringRun` acts while the call lasts, as
// a batch file would (writing files, changing directories).
class FakeBatchRunner final : public platform::BatchRunner {
public:
    explicit FakeBatchRunner(CallLog& log) : m_log(log) {}
    int SyncShell(const std::string& commandLine, int showState) override {
        m_log.push_back("shell " + commandLine + " " + std::to_string(showState));
        if (m_duringRun) {
            m_duringRun(commandLine);
        }
        return m_result;
    }

    std::function<void(const std::string& commandLine)> m_duringRun;
    int m_result = 0;

private:
    CallLog& m_log;
};

class FakeToolkit final : public ui::Toolkit {
public:
    explicit FakeToolkit(CallLog& log) : m_log(log) {}
    int messageBox(const QString& text, int /*buttons*/, const QString& caption) override {
        m_log.push_back("message " + caption.toStdString() + ": " + text.toStdString());
        if (m_answers.empty()) {
            return kAnswerOk;
        }
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    void setScreenPointer(int pointer) override { m_log.push_back("pointer " + std::to_string(pointer)); }
    void endProgram() override {
        m_ended = true;
        m_log.push_back("end");
    }
    void reportProblem(const QString& line) override { problems << line; }

    std::deque<int> m_answers;
    bool m_ended = false;
    QStringList problems;

private:
    CallLog& m_log;
};

} // namespace spindeck::fakes
