// The GLFW half of the host: window and context, clock and frame loop, input
// callbacks, joysticks, files and the state file.
#pragma once

#include <memory>

#include "host/display_mode.h"
#include "host/frame_driver.h"
#include "host/game.h"
#include "host/key_space.h"
#include "host/pad_reports.h"

struct GLFWwindow;
class QvGlfwJoysticks;
class QvJoystickSource;

// Incremented at every window opening: each one makes a new OpenGL context, so a
// texture made under an older value is gone.
extern int glfwGraphicsSeq;

class QvGlfwGame : public QvGame {
public:
    QvGlfwGame();
    ~QvGlfwGame() override;

    void SetUpdateRate(int hertz) override;
    int Millisecs() override;
    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                      Array<bool> buttons) override;
    void OpenUrl(String url) override;
    void SetMouseVisible(bool visible) override;
    int GetDeviceWidth() override;
    int GetDeviceHeight() override;
    // The buffer the frames are drawn into, which the device's size maps onto: the
    // window's own size on the desktop; a browser page may draw into fewer pixels and let
    // the browser stretch them over the window.
    virtual int GetDrawingWidth() { return GetDeviceWidth(); }
    virtual int GetDrawingHeight() { return GetDeviceHeight(); }
    void SetDeviceWindow(int width, int height, int flags) override;
    Array<QvDisplayMode*> GetDisplayModes() override;
    QvDisplayMode* GetDesktopMode() override;
    void SetSwapInterval(int interval) override;
    String PathToFilePath(String path) override;
    unsigned char* LoadImageData(String path, int* width, int* height, int* depth) override;
    unsigned char* DecodeImageData(const unsigned char* bytes, int length, int* width, int* height,
                                   int* depth) override;
    unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                                 int* hertz) override;

    virtual void SetGlfwWindow(int width, int height, int red, int green, int blue, int alpha,
                               int depth, int stencil, bool fullscreen);
    virtual QvGlfwVideoMode* GetGlfwDesktopMode();
    // Whether the window is full screen, or is about to be at the application's request.
    virtual bool FullScreen();
    // Whether the player plays by touch, so the screens take taps and a round shows its
    // touch controls. Never in a desktop window, whose pointer is a mouse.
    virtual bool TouchPlay() { return false; }
    virtual Array<QvGlfwVideoMode*> GetGlfwVideoModes();
    // Opens the first window, starts the game and runs frames until the window is gone.
    virtual void Run();

    // The frame loop proper (Run without opening the window or starting the game).
    void RunFrames();
    // One pass of it: render, wait for the next update, events, the updates that are due.
    void RunFrame();
    // One pass of event processing, then suspend or resume by the window's focus.
    void UpdateEvents();
    // Replaces the window-system side of the loop (tests drive it with a simulated clock).
    void SetFrameDriver(QvFrameDriver* driver);
    // Replaces GLFW as the source of game pads (tests give scripted raw readings); null
    // goes back to GLFW. Every port starts empty again.
    void SetJoystickSource(QvJoystickSource* source);
    // Extra gamepad mappings: the data folder's "gamecontrollerdb.txt", then the
    // SDL_GAMECONTROLLERCONFIG environment variable, each when present.
    void LoadGamepadMappings();

    // GLFW callbacks, through the host instance.
    void OnKey(int glfwKey, int action);
    void OnChar(unsigned int codepoint);
    void OnMouseButton(int button, int action);
    void OnMousePos(double x, double y);
    int OnWindowClose();
    void OnWindowSize(int width, int height);
    void OnWindowFocus();
    void OnWindowIconify(bool iconified);

    GLFWwindow* Window() const { return _window; }
    // The window has the input focus and is not iconified, as GLFW last reported.
    bool WindowActive() const { return _window && _focused && !_iconified; }

    static QvGlfwGame* _glfwGame;

protected:
    double _updatePeriod;
    double _nextUpdate;
    String _appDir;
    int _swapInterval;

private:
    void RunScheduledUpdates();
    void ReleaseHeldKeys();
    void InstallCallbacks();
    // Reads the new window's size and focus once; GLFW's callbacks keep them from then on,
    // so no query of the window system is needed per frame.
    void TrackWindowState();

    GLFWwindow* _window = nullptr;
    std::unique_ptr<QvFrameDriver> _glfwDriver;
    QvFrameDriver* _driver;
    std::unique_ptr<QvGlfwJoysticks> _glfwJoysticks;
    QvJoystickSource* _joysticks;
    bool _mouseVisible = true;
    int _windowWidth = 0;
    int _windowHeight = 0;
    bool _focused = false;
    bool _iconified = false;
    int _pjoys[key_space::kPorts] = {-1, -1, -1, -1};
    QvPadReports _padReports;
};
