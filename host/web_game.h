// The host in a browser page. The game runs one frame pass per animation frame; the
// canvas follows the page's size; a hidden or unfocused page suspends the game at once
// (the browser stops animation frames for a hidden page, so it cannot wait for the next
// pass); data files come from the preloaded package under /app; every save is flushed
// to the browser's persistent storage; full screen is asked of the browser.
#pragma once

#include "host/pellix_game.h"
#include "host/web_frame_driver.h"

class QvWebGame : public QvPellixGame {
public:
    QvWebGame();

    void Run() override;
    int SaveState(String state) override;
    // The window stays; full screen is asked of the browser, which may refuse it.
    void SetDeviceWindow(int width, int height, int flags) override;

    // Page events, from the browser's callbacks.
    void OnPageFocus(bool focused);
    void OnPageVisible(bool visible);
    void OnPageResize();
    // One pass of the browser's frame loop.
    void PagePass();

private:
    QvWebFrameDriver _pageDriver;
    bool _sized = false;
};
