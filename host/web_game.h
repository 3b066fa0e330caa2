// The host in a browser page. The game runs one frame pass per animation frame; the
// canvas follows the page's size; a hidden or unfocused page suspends the game at once
// (the browser stops animation frames for a hidden page, so it cannot wait for the next
// pass); data files come from the preloaded package under /app; every save is made in
// the browser's persistent storage, merged there with what another tab may have stored;
// full screen is asked of the browser.
#pragma once

#include "host/pellix_game.h"
#include "host/web_frame_driver.h"

class QvWebGame : public QvPellixGame {
public:
    QvWebGame();

    void Run() override;
    // Both answer 0 at once: the save is made in storage's own transaction, which reads the
    // stored state, has the update make the state to store from it and stores that. A
    // save asked for while one runs is made again, with the latest update, when it ends.
    int SaveState(String state) override;
    int UpdateState(QvStateUpdate& update) override;
    // The canvas stays whatever the size asked for: full screen is asked of the browser,
    // which may refuse it, and leaving it returns to the page's size.
    void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha, int depth,
                       int stencil, bool fullscreen) override;
    // The screen's size, what full screen shows the page at.
    QvGlfwVideoMode* GetGlfwDesktopMode() override;
    // The browser's state, or what was last asked while the browser has not answered; the
    // player may also enter it with the page's button and leave it with the browser's keys.
    bool FullScreen() override;
    // The page's answer: from a touch until a key or a pad button (web_touch.cpp).
    bool TouchPlay() override;

    // Page events, from the browser's callbacks.
    void OnPageFocus(bool focused);
    void OnPageVisible(bool visible);
    void OnPageResize();
    // One pass of the browser's frame loop.
    void PagePass();
    // From storage's transaction: the state to store, made from the stored bytes the page
    // holds, goes to the in-memory file, which the page then stores; 0 when it is there.
    int MergeStoredState();
    // The transaction has stored it.
    void StateStored();

private:
    QvWebFrameDriver _pageDriver;
    bool _sized = false;
    QvStateUpdate* _stateUpdate = nullptr;  // the latest save's
    String _merged;                         // what the running transaction stores
};
