#pragma once
// The whole program off-screen with an engine module of the test's choice: the scripted
// engine (tests/engines) or Tarnwick. The engine answers the user's moves here.

#include <QElapsedTimer>
#include <functional>
#include <string>
#include <vector>

#include "app/engine_link.h"
#include "app/status_panel.h"
#include "engine/level_settings.h"
#include "platform/ui/application.h"
#include "program.h"
#include "scripted_engine.h"

class EngineLinkTest : public ProgramTest {
protected:
    explicit EngineLinkTest(const char* engineFolder = SCRIPTED_ENGINE_FOLDER)
        : m_engineFolder(engineFolder) {}

    void SetUp() override {
        ASSERT_TRUE(scriptedEngine().isOpen());
        scriptedEngine().setScript("");
        scriptedEngine().setFaults(ScriptedEngine::none);
        scriptedEngine().clearCalls();
        setEngineFolder(m_engineFolder);
        setStatusPanelHook([this](const StatusPanelTexts& texts) {
            panelLines.push_back(std::string(texts.first.c_str()));
        });
        ProgramTest::SetUp();
        appState.autoAnswer = true;
        appState.level = LevelSettings();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        setStatusPanelHook({});
        // An engine left hanging is let out, and its thread collected, before the next test.
        scriptedEngine().release();
        EXPECT_TRUE(runUntil([] { return reapAbandonedEngines() == 0; }));
        scriptedEngine().setFaults(ScriptedEngine::none);
        setEngineFolder("");
    }

    // Lets the program run until condition holds; false when it never does. The limit only
    // keeps a broken program from hanging the suite.
    bool runUntil(const std::function<bool()>& condition, int limitMs = 20000) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!condition()) {
            if (elapsed.elapsed() > limitMs) return false;
            platform::processMessages(2);
        }
        return true;
    }
    // Until the engine neither searches nor holds a move back.
    bool runUntilEngineIdle() {
        return runUntil([] { return !engineBusy(); });
    }
    // Until the scripted engine is inside its count-th search.
    bool runUntilSearching(int count = 1) {
        return runUntil([count] { return scriptedEngine().count("StartAnalyse") >= count; });
    }
    // Until the status panel has been painted with first as its first line.
    bool runUntilPanelSays(const std::string& first) {
        return runUntil([this, first] {
            invalidateRect(window(), &appState.statusRect, false);
            return !panelLines.empty() && panelLines.back() == first;
        });
    }
    // Lets queued messages and timers run for a while, for what must not happen.
    void runFor(int ms) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < ms)
            platform::processMessages(2);
    }

    // The first line of every painting of the status panel, in order.
    std::vector<std::string> panelLines;

private:
    const char* m_engineFolder;
};
