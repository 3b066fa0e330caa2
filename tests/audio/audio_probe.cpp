// Drives the audio device through one scenario in a process of its own, so each run opens
// OpenAL with the configuration (and output file) its test chose. Prints what it observes
// as "key=value" lines; the test then checks those and the sound that reached the output.
//
//   audio_probe <scenario> [sound files...]
#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <thread>

#include "audio/audio_module.h"
#include "host/glfw_game.h"
#include "host/startup.h"

// The host library expects a program's start-up steps; this probe never runs them.
void qvInit() {}
void qvCreateApp() {}

namespace {

gxtkAudio* device() { return qv_audio_device; }

void Report(const char* key, long value) { printf("%s=%ld\n", key, value); }

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

ALint AlState(int channel) {
    ALuint source = device()->channels[channel].source;
    ALint state = -1;
    if (source != 0) alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

const char* AlStateName(ALint state) {
    switch (state) {
        case AL_PLAYING: return "playing";
        case AL_PAUSED: return "paused";
        case AL_STOPPED: return "stopped";
        case AL_INITIAL: return "initial";
        default: return "none";
    }
}

// The channel's state first: asking it may start a tune again that ran dry.
void ReportChannel(const char* label, int channel) {
    int state = device()->ChannelState(channel);
    printf("%s=%d/%s\n", label, state, AlStateName(AlState(channel)));
}

// Polls until the channel reports stopped; the milliseconds it took, or -1 on timeout.
long WaitUntilStopped(int channel, int timeoutMs) {
    auto start = std::chrono::steady_clock::now();
    auto elapsedMs = [&] {
        return long(std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count());
    };
    while (device()->ChannelState(channel) != 0) {
        if (elapsedMs() > timeoutMs) return -1;
        Sleep(5);
    }
    return elapsedMs();
}

bool IsDiscarded(unsigned int buffer) {
    const std::vector<unsigned int>& d = gxtkDiscardedBuffers();
    return std::find(d.begin(), d.end(), buffer) != d.end();
}

// Collections that also run the destructors of what they found dead. Two, because a
// reference stored since the last cycle keeps its object for one more.
void CollectAll() {
    for (int i = 0; i < 2; ++i) {
        gc_collect_all();
        gc_destroy_free();
    }
}

// One effect played once to its end on channel 0.
void PlayOnce(char** files) {
    c_Sound* sound = qv_audio_LoadSound(files[0]);
    Report("loaded", sound != nullptr);
    qv_audio_PlaySound(sound, 0, 0);
    Report("started", device()->ChannelState(0));
    Report("finished_ms", WaitUntilStopped(0, 5000));
    Report("after_end", device()->ChannelState(0));
    Sleep(150);
}

// The tune played once through the music channel.
void MusicOnce(char** files) {
    Report("play_music", qv_audio_PlayMusic(files[0], 0));
    Report("music_started", device()->MusicState());
    Report("finished_ms", WaitUntilStopped(gxtkAudio::kMusicChannel, 5000));
    Report("music_after_end", device()->MusicState());
    Sleep(150);
}

// Waits as the game does between its updates, feeding a streamed tune each time.
void UpdateFor(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        device()->Update();
        Sleep(10);
    }
}

// A looping tune longer than what is queued at once, played well past two loops.
void MusicLoops(char** files) {
    Report("play_music", qv_audio_PlayMusic(files[0], 1));
    UpdateFor(100);
    ALint queued = 0;  // a tune decoded whole would be one buffer
    alGetSourcei(device()->channels[gxtkAudio::kMusicChannel].source, AL_BUFFERS_QUEUED, &queued);
    Report("queued_buffers", queued);
    UpdateFor(3400);
    ReportChannel("playing", gxtkAudio::kMusicChannel);
    qv_audio_StopMusic();
    ReportChannel("stopped", gxtkAudio::kMusicChannel);
    UpdateFor(400);
}

// The game's pause and the focus suspend of a streamed tune, each undone, then a stop.
void MusicPauses(char** files) {
    qv_audio_PlayMusic(files[0], 1);
    UpdateFor(400);
    qv_audio_PauseMusic();
    ReportChannel("paused", gxtkAudio::kMusicChannel);
    UpdateFor(500);
    qv_audio_ResumeMusic();
    ReportChannel("resumed", gxtkAudio::kMusicChannel);
    UpdateFor(400);
    device()->Suspend();
    ReportChannel("suspended", gxtkAudio::kMusicChannel);
    UpdateFor(500);
    device()->Resume();
    ReportChannel("unsuspended", gxtkAudio::kMusicChannel);
    UpdateFor(400);
    qv_audio_StopMusic();
    UpdateFor(300);
}

// Nobody feeds the tune for two seconds: it falls silent, then goes on where it stopped.
void MusicStarved(char** files) {
    qv_audio_PlayMusic(files[0], 0);
    Sleep(2000);
    ReportChannel("starved", gxtkAudio::kMusicChannel);
    Report("finished_ms", WaitUntilStopped(gxtkAudio::kMusicChannel, 5000));
    Sleep(150);
}

// A looping effect stopped midway: what follows must be silence.
void StopMidway(char** files) {
    c_Sound* sound = qv_audio_LoadSound(files[0]);
    qv_audio_PlaySound(sound, 5, 1);
    Sleep(300);
    ReportChannel("before_stop", 5);
    qv_audio_StopChannel(5);
    ReportChannel("after_stop", 5);
    Sleep(500);
}

// Application pause, focus suspend and their resumes, on two looping channels.
void PauseAndSuspend(char** files) {
    c_Sound* sound = qv_audio_LoadSound(files[0]);
    qv_audio_PlaySound(sound, 1, 1);
    qv_audio_PlaySound(sound, 2, 1);
    device()->PauseChannel(2);
    ReportChannel("app_paused", 2);
    Sleep(250);
    device()->Suspend();
    ReportChannel("suspended_playing", 1);
    ReportChannel("suspended_app_paused", 2);
    Sleep(500);
    device()->Resume();
    ReportChannel("resumed_playing", 1);
    ReportChannel("resumed_app_paused", 2);
    device()->ResumeChannel(2);
    ReportChannel("app_resumed", 2);
    Sleep(250);
    qv_audio_StopChannel(1);
    qv_audio_StopChannel(2);
    Sleep(400);
}

// Pausing a channel whose sample ran out without anyone asking stops it.
void PauseAfterEnd(char** files) {
    c_Sound* sound = qv_audio_LoadSound(files[0]);
    qv_audio_PlaySound(sound, 4, 0);
    Sleep(600);
    Report("recorded_state", device()->channels[4].state);
    device()->PauseChannel(4);
    ReportChannel("after_pause", 4);
    device()->ResumeChannel(4);
    ReportChannel("after_resume", 4);
}

// A tune that plays, then a second one that cannot be loaded.
void MusicThenMissing(char** files) {
    Report("first", qv_audio_PlayMusic(files[0], 1));
    Report("first_state", device()->MusicState());
    Sleep(300);
    Report("second", qv_audio_PlayMusic(files[1], 1));
    Report("second_state", device()->MusicState());
    Sleep(500);
}

// Playing on a busy channel restarts it with the new sample; loads never share buffers.
void RestartChannel(char** files) {
    c_Sound* a = qv_audio_LoadSound(files[0]);
    c_Sound* b = qv_audio_LoadSound(files[0]);
    Report("separate_buffers", a->m_sample->buffer != b->m_sample->buffer);
    qv_audio_PlaySound(a, 3, 1);
    Sleep(50);
    qv_audio_PlaySound(b, 3, 0);
    ALint buffer = 0;
    alGetSourcei(device()->channels[3].source, AL_BUFFER, &buffer);
    Report("plays_second", ALuint(buffer) == b->m_sample->buffer);
    Report("state", device()->ChannelState(3));
    Report("looping", device()->channels[3].flags);
    Report("play_null", qv_audio_PlaySound(nullptr, 6, 0));
    Report("null_state", device()->ChannelState(6));
    Report("missing_sound", qv_audio_LoadSound(files[1]) == nullptr);
}

// Run with only four OpenAL sources: the music holds one, effects share the rest.
void StealSources(char** files) {
    c_Sound* sound = qv_audio_LoadSound(files[0]);
    for (int ch = 0; ch < 3; ++ch) qv_audio_PlaySound(sound, ch, 1);
    qv_audio_PlaySound(sound, 3, 1);
    Report("all_busy_state", device()->ChannelState(3));
    Report("all_busy_source", device()->channels[3].source);
    unsigned int freed = device()->channels[1].source;
    qv_audio_StopChannel(1);
    qv_audio_PlaySound(sound, 3, 1);
    Report("taken_state", device()->ChannelState(3));
    Report("took_stopped_source", device()->channels[3].source == freed);
    Report("loser_source", device()->channels[1].source);
    Report("music_kept_source", device()->channels[gxtkAudio::kMusicChannel].source != 0);
    Report("music_plays", qv_audio_PlayMusic(files[0], 0));
    Report("music_state", device()->MusicState());
}

// A discarded sample's buffer outlives the sound it is playing, then is deleted.
void DiscardWhilePlaying(char** files) {
    c_Sound* sound = qv_audio_LoadSound(files[0]);
    c_Sound* other = qv_audio_LoadSound(files[0]);
    unsigned int buffer = sound->m_sample->buffer;
    qv_audio_PlaySound(sound, 0, 1);
    sound->m_sample->Discard();
    Report("parked", IsDiscarded(buffer));
    // Plays flush what they can (a load would too, but might reuse the buffer's name).
    qv_audio_PlaySound(other, 1, 0);
    Report("kept_while_playing", IsDiscarded(buffer) && alIsBuffer(buffer));
    ReportChannel("still_playing", 0);
    qv_audio_StopChannel(0);
    qv_audio_PlaySound(other, 1, 0);
    Report("deleted_after_stop", !IsDiscarded(buffer) && !alIsBuffer(buffer));
}

// The device keeps a dropped but sounding sample alive; a silent one is collected.
void CollectDropped(char** files) {
    c_Sound* playing = qv_audio_LoadSound(files[0]);
    c_Sound* idle = qv_audio_LoadSound(files[0]);
    unsigned int playingBuffer = playing->m_sample->buffer;
    unsigned int idleBuffer = idle->m_sample->buffer;
    qv_audio_PlaySound(playing, 0, 1);
    playing = idle = nullptr;  // no reference left but the device's channel
    CollectAll();
    Report("idle_collected", IsDiscarded(idleBuffer));
    Report("playing_alive", !IsDiscarded(playingBuffer));
    ReportChannel("still_playing", 0);
    qv_audio_StopChannel(0);
    CollectAll();
    Report("stopped_collected", IsDiscarded(playingBuffer));
    device()->PlaySample(new gxtkSample(), 1, 0);  // flushes without making buffers
    Report("buffers_deleted", !alIsBuffer(idleBuffer) && !alIsBuffer(playingBuffer));
}

// Volume, pan and rate in two timed phases of one looping tone.
void ShapePhases(char** files) {
    c_Sound* sound = qv_audio_LoadSound(files[0]);
    qv_audio_SetChannelPan(0, float(M_PI / 2));
    qv_audio_PlaySound(sound, 0, 1);
    Sleep(500);
    qv_audio_SetChannelPan(0, float(-M_PI / 2));
    qv_audio_SetChannelRate(0, 2.0f);
    qv_audio_SetChannelVolume(0, 0.25f);
    Sleep(500);
    qv_audio_StopChannel(0);
    Sleep(200);
}

// Names as the game gives them: bare names are files of the data folder beside the program.
void DataPaths(char**) {
    Report("bare_name", qv_audio_LoadSound("sfx/099.wav") != nullptr);
    Report("data_url", qv_audio_LoadSound("pellix://data/sfx/099.wav") != nullptr);
    Report("missing", qv_audio_LoadSound("sfx/nothing.wav") == nullptr);
    Report("other_ending", qv_audio_LoadSound("tarn_font.png") == nullptr);
    Report("tune", qv_audio_PlayMusic("sfx/gale.ogg", 1));
    Report("tune_state", device()->MusicState());
}

// Every operation with whatever device could be had (possibly none at all).
void EverythingAnyway(char** files) {
    c_Sound* sound = qv_audio_LoadSound(files[0]);
    qv_audio_PlaySound(sound, 0, 1);
    qv_audio_SetChannelVolume(0, 0.5f);
    qv_audio_SetChannelPan(0, 0.3f);
    qv_audio_SetChannelRate(0, 1.5f);
    device()->PauseChannel(0);
    device()->ResumeChannel(0);
    device()->Suspend();
    device()->Resume();
    qv_audio_StopChannel(0);
    Report("music", qv_audio_PlayMusic(files[0], 1));
    qv_audio_PauseMusic();
    qv_audio_ResumeMusic();
    device()->SetMusicVolume(0.5f);
    qv_audio_StopMusic();
    if (sound && sound->m_sample) sound->m_sample->Discard();
    qv_audio_LoadSound(files[0]);
    Report("survived", 1);
}

const std::map<std::string, std::function<void(char**)>>& Scenarios() {
    static const std::map<std::string, std::function<void(char**)>> all = {
        {"play-once", PlayOnce},
        {"music-once", MusicOnce},
        {"stop", StopMidway},
        {"pause-suspend", PauseAndSuspend},
        {"pause-after-end", PauseAfterEnd},
        {"music-missing", MusicThenMissing},
        {"restart", RestartChannel},
        {"steal", StealSources},
        {"discard", DiscardWhilePlaying},
        {"collect", CollectDropped},
        {"shape", ShapePhases},
        {"anyway", EverythingAnyway},
        {"data-paths", DataPaths},
        {"music-loops", MusicLoops},
        {"music-pauses", MusicPauses},
        {"music-starved", MusicStarved},
    };
    return all;
}

// Closing the device finishes the output file; the game itself never closes it.
void CloseDevice() {
    if (!device()->alcDevice) return;
    alcMakeContextCurrent(nullptr);
    if (device()->alcContext) alcDestroyContext(device()->alcContext);
    alcCloseDevice(device()->alcDevice);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !Scenarios().count(argv[1])) {
        fprintf(stderr, "usage: audio_probe <scenario> [files...]\n");
        return 2;
    }
    setvbuf(stdout, nullptr, _IOLBF, 0);  // keep our lines in order with the device's
    gc_init_lists();
    gc_root(qv_audio_device);
    QvGlfwGame host;
    qv_audio_SetAudioDevice(new gxtkAudio());
    Scenarios().at(argv[1])(argv + 2);
    fflush(stdout);
    CloseDevice();
    return 0;
}
