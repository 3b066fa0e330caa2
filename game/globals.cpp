// Module globals of the game, the difficulty texts and the credits lines.
#include "game/globals.h"

float qv_Vortan_rawscrw = 640.0f;
float qv_Vortan_rawscrh = 480.0f;
float qv_Vortan_jscrw = 640.0f;
float qv_Vortan_jscrh = 480.0f;
float qv_Vortan_overscan = 0.0f;

int qv_Vortan_UseHDImages = 1;
int qv_Vortan_DebugMode = 0;
int qv_Vortan_iCadeControls = 0;
int qv_Vortan_OnScreenControls = 0;
int qv_Vortan_AccelerometerControls = 0;
int qv_Vortan_isOuya = 0;
int qv_Vortan_HasMusicStream = 1;
int qv_Vortan_J_On_Allow = 0;
int qv_Vortan_J_On_Able = 0;
int qv_Vortan_GameNum = 415;

Array<String> qv_Vortan_MenuSet;
Array<String> qv_Vortan_CreditText;

namespace {

// "\\n" is a backslash and an n: the text drawing breaks the line there.
const char* const kMenuSet[6] = {
    "Easy",   "Easiest mode\\nNice and Easy.",
    "Normal", "Just right!\\nTough, but not hard.",
    "Hard",   "Maybe TOO hard!\\nIf you like it like that",
};

const char* const kCredits[] = {
    "Vortan Rally Run",
    "",
    "A brawl for one to four",
    "players on one screen",
    "",
    "-= Made by =-",
    "",
    "The Vortan Rally Run team",
    "",
    "-= Game core =-",
    "Screens, drawing, controls",
    "particles and stars",
    "",
    "-= Round of play =-",
    "Fighters, waves, scores",
    "",
    "-= Front end =-",
    "Menu, options, pause",
    "game over and badges",
    "saved settings",
    "",
    "-= Runtime =-",
    "Strings, arrays, objects",
    "and the collector",
    "",
    "-= Host =-",
    "Window, frame loop, files",
    "",
    "-= Graphics =-",
    "Render device and images",
    "",
    "-= Audio =-",
    "Sound effects and music",
    "",
    "-= Networking =-",
    "Sockets and HTTP",
    "",
    "-= Pictures and sounds =-",
    "Made by the asset tools",
    "of this project",
    "",
    "-= Built with =-",
    "C++17 and CMake",
    "GLFW and OpenGL",
    "OpenAL Soft",
    "stb_image and stb_vorbis",
    "GoogleTest",
    "Debian GNU/Linux",
    "",
    "-= Tested with =-",
    "Xvfb and xdotool",
    "Mesa",
    "",
    "-= Thanks =-",
    "Everyone who plays",
    "",
    "Press an action key",
    "to close this panel",
    "",
    "Have fun!",
    "",
    "",
    "-=-=-",
    "End",
};
static_assert(sizeof(kCredits) / sizeof(kCredits[0]) == 64, "the credits list has 64 lines");

}  // namespace

void qv_Vortan_InitMenuSet() {
    Array<String> set(6);
    for (int i = 0; i < 6; ++i) set[i] = String(kMenuSet[i]);
    gc_assign(qv_Vortan_MenuSet, set);
}

void qv_Vortan_InitCreditText() {
    Array<String> lines(64);
    for (int i = 0; i < 64; ++i) lines[i] = String(kCredits[i]);
    gc_assign(qv_Vortan_CreditText, lines);
}
