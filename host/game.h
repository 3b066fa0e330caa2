// The platform-neutral half of the host: the delegate it drives, the started and
// suspended flags, the guarded dispatch of every lifecycle and input call, and one
// collector step after each dispatched call.
#pragma once

#include <cstdio>

#include "host/key_space.h"
#include "host/state_file.h"
#include "runtime/runtime.h"

class QvDisplayMode;

// Receiver of every call the host makes into the application (the framework's delegate).
class QvGameDelegate : public Object {
public:
    virtual void StartGame() {}
    virtual void SuspendGame() {}
    virtual void ResumeGame() {}
    virtual void UpdateGame() {}
    virtual void RenderGame() {}
    virtual void KeyEvent(int event, int data) {}
    virtual void MouseEvent(int event, int data, float x, float y) {}
    virtual void TouchEvent(int event, int data, float x, float y) {}
    virtual void MotionEvent(int event, int data, float x, float y, float z) {}
    virtual void DiscardGraphics() {}
};

// Event codes carried from the host to the delegate.
enum QvEvent {
    kEventKeyDown = 1,
    kEventKeyUp = 2,
    kEventKeyChar = 3,
    kEventMouseDown = 4,
    kEventMouseUp = 5,
    kEventMouseMove = 6,
    kEventTouchDown = 7,
    kEventTouchUp = 8,
    kEventTouchMove = 9,
    kEventMotionAccel = 10,
};

// The window's close button arrives as this key, down then up.
constexpr int kKeyClose = key_space::kClose;

class QvGame {
public:
    QvGame();
    virtual ~QvGame();

    virtual void SetDelegate(QvGameDelegate* delegate);
    virtual QvGameDelegate* Delegate();
    virtual void SetKeyboardEnabled(bool enabled);
    virtual bool KeyboardEnabled();
    virtual void SetUpdateRate(int hertz);
    virtual int UpdateRate();
    virtual bool Started();
    virtual bool Suspended();
    virtual int Millisecs();
    virtual void GetDate(Array<int> date);
    // 0 saved, -1 the file could not be opened or may not be replaced (left as it was),
    // -2 not every byte reached the disk (the previous content is kept), kStateRefused
    // (the host has said why). On failure errno says why.
    virtual int SaveState(String state);
    // Saves what `update` makes of the state stored at that moment; results as SaveState.
    // A host whose storage answers later saves then and answers 0 now.
    virtual int UpdateState(QvStateUpdate& update);
    // The saved string, empty when there is none.
    virtual String LoadState();
    virtual String LoadString(String path);
    virtual bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons);
    virtual void OpenUrl(String url);
    virtual void SetMouseVisible(bool visible);
    virtual int GetDeviceWidth();
    virtual int GetDeviceHeight();
    virtual void SetDeviceWindow(int width, int height, int flags);
    virtual Array<QvDisplayMode*> GetDisplayModes();
    virtual QvDisplayMode* GetDesktopMode();
    virtual void SetSwapInterval(int interval);
    virtual String PathToFilePath(String path);
    // An open stream for a path or location URL; null when there is no such file.
    virtual FILE* OpenFile(String path, String mode);
    // The whole file in a malloc'd block (release with free()); null when unreadable.
    virtual unsigned char* LoadData(String path, int* length);
    // Decoded pixels, rows top to bottom, `depth` bytes each (release with free()).
    virtual unsigned char* LoadImageData(String path, int* width, int* height, int* depth);
    // The same from the bytes of a picture file already in memory.
    virtual unsigned char* DecodeImageData(const unsigned char* bytes, int length, int* width,
                                           int* height, int* depth);
    // Decoded samples: `length` frames of `channels` x `format` bytes (release with free()).
    virtual unsigned char* LoadAudioData(String path, int* length, int* channels, int* format,
                                         int* hertz);
    [[noreturn]] virtual void Die(ThrowableObject* ex);
    virtual void gc_collect();

    // Dispatchers: guarded calls into the delegate, each followed by one collector step.
    virtual void StartGame();
    virtual void SuspendGame();
    virtual void ResumeGame();
    virtual void UpdateGame();
    virtual void RenderGame();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int data, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual void DiscardGraphics();

    // The state file's name; "./.pellixstate" unless a test points it elsewhere.
    void SetStatePath(String path) { _statePath = path; }
    String StatePath() const { return _statePath; }

    static QvGame* _game;

protected:
    QvGameDelegate* _delegate;
    bool _keyboardEnabled;
    int _updateRate;
    bool _started;
    bool _suspended;

private:
    template <class Call>
    void Dispatch(Call call);

    String _statePath;
    int _dispatchDepth = 0;
};
