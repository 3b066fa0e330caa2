// Module globals of the game, the difficulty texts and the credits lines.
#include "game/globals.h"

// Every global gets its start value from qv_Vortan_InitGlobals.
float qv_Vortan_rawscrw;
float qv_Vortan_rawscrh;
float qv_Vortan_jscrw;
float qv_Vortan_jscrh;
float qv_Vortan_overscan;

int qv_Vortan_UseHDImages;
int qv_Vortan_DebugMode;
int qv_Vortan_iCadeControls;
int qv_Vortan_OnScreenControls;
int qv_Vortan_AccelerometerControls;
int qv_Vortan_isOuya;
int qv_Vortan_HasMusicStream;
int qv_Vortan_J_On_Allow;
int qv_Vortan_J_On_Able;
int qv_Vortan_GameNum;

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
static_assert(sizeof(kMenuSet) / sizeof(kMenuSet[0]) == 6,
              "three difficulties, a name and a description each");

Array<String> Strings(const char* const* texts, int count) {
    Array<String> out(count);
    for (int i = 0; i < count; ++i) out[i] = String(texts[i]);
    return out;
}

}  // namespace

void qv_Vortan_InitGlobals() {
    qv_Vortan_rawscrw = 640.0f;
    qv_Vortan_rawscrh = 480.0f;
    qv_Vortan_jscrw = qv_Vortan_rawscrw;
    qv_Vortan_jscrh = qv_Vortan_rawscrh;
    qv_Vortan_overscan = 0.0f;
    qv_Vortan_UseHDImages = qv_Vortan_HasMusicStream = 1;
    qv_Vortan_DebugMode = qv_Vortan_iCadeControls = 0;
    qv_Vortan_OnScreenControls = qv_Vortan_AccelerometerControls = qv_Vortan_isOuya = 0;
    qv_Vortan_J_On_Allow = qv_Vortan_J_On_Able = 0;  // no check-in
    qv_Vortan_GameNum = 415;
    qv_random_Seed = 1234;
    gc_assign(qv_Vortan_MenuSet, Strings(kMenuSet, 6));
    gc_assign(qv_Vortan_CreditText, Strings(kCredits, 64));
    gc_root(qv_Vortan_MenuSet);
    gc_root(qv_Vortan_CreditText);
}
