// A delegate that records every call the host makes into it, in order.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/game.h"

class RecordingDelegate : public QvGameDelegate {
public:
    std::vector<std::string> calls;
    int updates = 0;
    int renders = 0;
    // Runs inside each update, after it is counted.
    std::function<void()> onUpdate;

    void StartGame() override { calls.push_back("start"); }
    void SuspendGame() override { calls.push_back("suspend"); }
    void ResumeGame() override { calls.push_back("resume"); }
    void UpdateGame() override {
        ++updates;
        calls.push_back("update");
        if (onUpdate) onUpdate();
    }
    void RenderGame() override {
        ++renders;
        calls.push_back("render");
    }
    void KeyEvent(int event, int data) override {
        calls.push_back("key " + std::to_string(event) + " " + std::to_string(data));
    }
    void MouseEvent(int event, int data, float x, float y) override {
        calls.push_back("mouse " + std::to_string(event) + " " + std::to_string(data));
    }
    void TouchEvent(int event, int data, float, float) override {
        calls.push_back("touch " + std::to_string(event) + " " + std::to_string(data));
    }
    void MotionEvent(int event, int, float, float, float) override {
        calls.push_back("motion " + std::to_string(event));
    }
    void DiscardGraphics() override { calls.push_back("discard"); }

    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls) n += c == call;
        return n;
    }
};
