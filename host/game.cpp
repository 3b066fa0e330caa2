#include "host/game.h"

#include <cstdlib>

#include "host/display_mode.h"
#include "host/state_file.h"

QvGame* QvGame::_game = nullptr;

QvGame::QvGame()
    : _delegate(nullptr),
      _keyboardEnabled(false),
      _updateRate(0),
      _started(false),
      _suspended(false),
      _statePath("./.pellixstate") {
    _game = this;
}

QvGame::~QvGame() {
    if (_game == this) _game = nullptr;
}

void QvGame::SetDelegate(QvGameDelegate* delegate) { _delegate = delegate; }
QvGameDelegate* QvGame::Delegate() { return _delegate; }
void QvGame::SetKeyboardEnabled(bool enabled) { _keyboardEnabled = enabled; }
bool QvGame::KeyboardEnabled() { return _keyboardEnabled; }
void QvGame::SetUpdateRate(int hertz) { _updateRate = hertz; }
int QvGame::UpdateRate() { return _updateRate; }
bool QvGame::Started() { return _started; }
bool QvGame::Suspended() { return _suspended; }
int QvGame::Millisecs() { return 0; }

int QvGame::SaveState(String state) { return QvWriteStateFile(_statePath, state); }
int QvGame::UpdateState(QvStateUpdate& update) { return QvUpdateStateFile(_statePath, update); }
String QvGame::LoadState() { return QvReadStateFile(_statePath); }

bool QvGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) {
    return false;
}
void QvGame::OpenUrl(String) {}
void QvGame::SetMouseVisible(bool) {}
int QvGame::GetDeviceWidth() { return 0; }
int QvGame::GetDeviceHeight() { return 0; }
void QvGame::SetDeviceWindow(int, int, int) {}
Array<QvDisplayMode*> QvGame::GetDisplayModes() { return Array<QvDisplayMode*>(); }
QvDisplayMode* QvGame::GetDesktopMode() { return nullptr; }
void QvGame::SetSwapInterval(int) {}
String QvGame::PathToFilePath(String path) { return path; }
unsigned char* QvGame::LoadImageData(String, int*, int*, int*) { return nullptr; }
unsigned char* QvGame::DecodeImageData(const unsigned char*, int, int*, int*, int*) {
    return nullptr;
}
unsigned char* QvGame::LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }

void QvGame::Die(ThrowableObject*) {
    qvPrint("Pellix Runtime Error : Uncaught Pellix Exception");
    std::exit(-1);
}

void QvGame::gc_collect() {
    gc_mark_now(_delegate);
    ::gc_collect();
}

// The common shape of every dispatcher: the delegate's call inside the handler for an
// escaping throwable, then one collector step. A call made from inside another one (a
// window reopened during an update releases the held keys) takes no step: the outer
// call's local references are not roots, and its own step follows when it returns.
template <class Call>
void QvGame::Dispatch(Call call) {
    ++_dispatchDepth;
    try {
        call(_delegate);
    } catch (ThrowableObject* ex) {
        Die(ex);
    }
    --_dispatchDepth;
    if (_dispatchDepth == 0) gc_collect();
}

void QvGame::StartGame() {
    if (_started) return;
    _started = true;
    Dispatch([](QvGameDelegate* d) { d->StartGame(); });
}

void QvGame::SuspendGame() {
    if (!_started || _suspended) return;
    _suspended = true;
    Dispatch([](QvGameDelegate* d) { d->SuspendGame(); });
}

void QvGame::ResumeGame() {
    if (!_started || !_suspended) return;
    _suspended = false;
    Dispatch([](QvGameDelegate* d) { d->ResumeGame(); });
}

void QvGame::UpdateGame() {
    if (!_started || _suspended) return;
    Dispatch([](QvGameDelegate* d) { d->UpdateGame(); });
}

void QvGame::RenderGame() {
    if (!_started) return;
    Dispatch([](QvGameDelegate* d) { d->RenderGame(); });
}

void QvGame::KeyEvent(int event, int data) {
    if (!_started) return;
    Dispatch([=](QvGameDelegate* d) { d->KeyEvent(event, data); });
}

void QvGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started) return;
    Dispatch([=](QvGameDelegate* d) { d->MouseEvent(event, data, x, y); });
}

void QvGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started) return;
    Dispatch([=](QvGameDelegate* d) { d->TouchEvent(event, data, x, y); });
}

void QvGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started) return;
    Dispatch([=](QvGameDelegate* d) { d->MotionEvent(event, data, x, y, z); });
}

void QvGame::DiscardGraphics() {
    if (!_started) return;
    Dispatch([](QvGameDelegate* d) { d->DiscardGraphics(); });
}
