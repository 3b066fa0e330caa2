// c_MyApp: the game. All game state lives in its fields; each screen is one of its
// methods, which updates and records its drawing in one pass, once per update.
// The methods are split into files by screen (menu.cpp, round.cpp, draw_list.cpp, ...).
#pragma once

#include "framework/app.h"
#include "net/http_request_complete.h"
#include "runtime/runtime.h"

class c_Image;
class c_Sound;

// Default of an optional drawing argument: "not given".
constexpr float kNotGiven = -3717.0f;
// Default of an optional p_DoBG argument: "keep the present target".
constexpr float kBgKeep = -123.0f;

class c_MyApp : public c_App, public c_IOnHttpRequestComplete {
public:
    // --- input and window -------------------------------------------------------------
    int m_InputKind = 0;  // see input_kind:: in codes.h; set every update
    int m_Fullscreen = 0;
    int m_FlipAsked = 0;  // 1: the window switches once F11 and the buttons are let go
    String m_HttpReply;   // the check-in's reply ("N/A" until then); nothing shows it
    c_HttpRequest* m_Http = nullptr;
    int m_Mode = 0;  // the screen: see mode:: in codes.h
    int m_LastDevW = 0;
    int m_LastDevH = 0;

    // --- clear colour, assets ------------------------------------------------------------
    float m_ClsR = 0, m_ClsG = 0, m_ClsB = 0, m_ClsA = 0;
    int m_ImgRes = 0;       // resolution set 1, 2 or 4
    float m_ImgScale = 0;   // 1 / m_ImgRes
    Array<c_Image*> m_Img;  // 100 image slots
    Array<int> m_ImgSize;   // 300: each slot's size (game/table_layouts.h)
    int m_Font = 0;
    int m_LoadStage = 0;  // next loader stage; 0 = not loading
    int m_LogoSfxDone = 0;
    Array<c_Sound*> m_Sfx;  // 100 sound slots
    int m_SfxChannel = 0;
    Array<int> m_ChannelMap;  // 33
    String m_Music;           // tune last started
    int m_MusicOn = 0;

    // --- game settings and saved tables -----------------------------------------------
    int m_Difficulty = 0;  // 1 Easy, 2 Normal, 3 Hard
    // The pause panel: paused, its motion (1 opening, -1 closing) and its position.
    int m_Paused = 0, m_PauseSel = 0, m_PauseSlide = 0;
    int m_Loop = 0;        // the placing p_MyNth found, 1..10 (0: none)
    Array<bool> m_Badge;   // 256
    Array<int> m_ICade;    // 20: the virtual pad (see virtual_pad:: in codes.h)
    Array<int> m_Setting;  // setting::kCount saved settings (see setting::)
    Array<int> m_HiScore;  // 150: the highscore lists (game/table_layouts.h)
    // The three last-ten lists (30) as the stored state last held them: a list that
    // differs has had a round recorded since.
    Array<int> m_StoredLastTen;
    String m_LaterControls;  // a later build's controls block, kept word for word

    // --- clocks ---------------------------------------------------------------------------
    int m_RenderLast = 0, m_RenderFps = 0, m_RenderFpsAvg = 0;
    int m_UpdLast = 0, m_UpdFps = 0, m_UpdFpsAvg = 0;

    // --- virtual screen and draw list -----------------------------------------------------
    float m_ScaleX = 0, m_ScaleY = 0;
    int m_FitAxis = 0;  // 1 or 2 by the window's shape; nothing reads it
    int m_Landscape = 0;
    int m_DrawLen = 0;
    Array<float> m_DrawList;  // 37500 = 2500 commands of 15 floats
    float m_BgTargetR = 0, m_BgTargetG = 0, m_BgTargetB = 0;
    float m_BgR = 0, m_BgG = 0, m_BgB = 0;
    // Recorded by every clear; nothing reads them.
    int m_OriginX = 0, m_OriginY = 0;
    float m_ClsW = 0, m_ClsH = 0;
    float m_SizeX = 0, m_SizeY = 0, m_Rot = 0;
    float m_ColR = 0, m_ColG = 0, m_ColB = 0, m_ColA = 0;
    int m_Blend = 0;
    int m_HideHud = 0;

    // --- controls and pointer ---------------------------------------------------------------
    int m_LastChar = 0;
    // The mouse, read every update; the screens never ask for it.
    int m_MX = 0, m_MY = 0, m_OldMX = 0, m_OldMY = 0;
    int m_MouseHit = 0, m_MouseWasDown = 0;
    // The screens' taps: while the player plays by touch, the touch points that went down
    // in this update; otherwise none.
    int m_PointerDown = 0;
    Array<int> m_TouchDown;  // 10
    Array<int> m_TouchX;     // 10
    Array<int> m_TouchY;     // 10
    int m_KeyUsed = 0;
    int m_AnyKeyHeld = 0;
    int m_ButtonHit = 0;  // the last p_Button's answer
    // Player 1's analogue direction and the keys' ramps toward it; only the debug
    // indicator shows it.
    float m_AnaX = 0, m_AnaY = 0, m_RampX = 0, m_RampY = 0;

    // --- options, menu panels ----------------------------------------------------------------
    int m_OptionsOpen = 0, m_OptSlide = 0;
    int m_OptRow = 0, m_OptKeyLock = 0, m_OptTapLock = 0;
    int m_PanelA = 0;  // a second side panel: back closes it, nothing opens it
    int m_PanelB = 0;  // the side panel is open
    float m_PanelSlide = 0;

    // --- main menu -------------------------------------------------------------------------
    int m_MenuCol = 1;   // 0 the options gear, 1 the difficulty wheel, 2 the side panel
    int m_WheelSel = 0;  // 0 Easy, 1 Normal, 2 Hard
    float m_WheelTarget = 0, m_WheelAngle = 0;
    int m_MenuSlide = 0;
    float m_GearAngle = 0;
    float m_TitlePhase = 0, m_TitleSpeed = 1.0f, m_TitleAlpha = 0;
    float m_PanelW = 0;
    float m_CreditScroll = 0;
    int m_CreditLine = 0;

    // --- pause panel ---------------------------------------------------------------------------
    int m_PauseRow = 0;
    float m_TrailA1 = 0, m_TrailA2 = 0, m_TrailHue = 0;
    float m_TrailSpeed = 25, m_TrailRadius = 25;
    Array<float> m_Trail;  // 512

    // --- game over and badges -------------------------------------------------------------------
    int m_OverTimer = 0;
    int m_QuitRound = 0;
    int m_PlaceTaken = -1;    // place the round's score took in the ten best, 1..10 (0: none);
                              // -1 until the score is recorded
    Array<int> m_BadgeQueue;  // 15
    Array<int> m_BadgeTimer;  // 15

    // --- round of play ---------------------------------------------------------------------------
    Array<float> m_Plr;  // 5120: fighter records of 20 floats
    int m_Score = 0;
    int m_ShownScore = 0, m_NextScore = 0;
    Array<float> m_Grid;  // 7300: floor grid (owner and timer layers)
    int m_RoundOver = 0;
    int m_Joined = 0;
    int m_JoinTimer = 0;  // after the first join: updates left with the prompts at the entry points
    int m_SpawnTimer = 0, m_SpawnGap = 0;
    float m_SpawnMax = 0;
    int m_ItemTimer = 0, m_ItemX = 0, m_ItemY = 0;
    int m_Backdrop = 0;
    float m_CamX = 0, m_CamY = 0, m_CamDX = 0, m_CamDY = 0;
    float m_CamTX = 0, m_CamTY = 0;  // the camera's target; nothing moves it from 0
    int m_Dead = 0, m_InPlay = 0;
    int m_Alive = 0;       // players up, counted every update; nothing reads it
    int m_ItemsTaken = 0;  // bonus items picked up this round (the icon row)

    // --- friends sharing the screen ----------------------------------------------------------------
    int m_QuitAsked = 0;     // 1 while "Quit?" stands over the title
    int m_StartJoiners = 0;  // pads (a bit per port) whose Start began the round: they join
    // Players 1..4's knock-outs and points this round, for the game-over panel.
    int m_KnockOuts[4] = {}, m_PlayerPoints[4] = {};
    int m_Protection[4] = {};  // players 1..4: updates left of a late joiner's protection
    int m_OverArmed = 0;  // 1 once nothing is held after the panel's least time: a press leaves

    // --- loading screen, particles, stars ---------------------------------------------------------
    int m_SpinAngle = 0;
    int m_Work = 0;  // the loading screen's smaller side
    int m_StarCount = 100;
    Array<float> m_Star;  // 5100: star records of 10 floats
    int m_ParticleMax = 250;
    Array<float> m_Particle;  // 5100: particle records of 10 floats

    // --- couch controls: split keyboard, bindings, sound levels, Controls screen ---------------
    int m_SplitKeyboard = 0;  // 1: players 1 and 2 share the keyboard, a half each
    Array<int> m_Binding;     // binding::kSize: a table per player (game/bindings.h)
    int m_MusicLevel = 10, m_EffectsLevel = 10;  // 0 silent .. 10 as loud as the sounds are
    int m_ControlsOpen = 0;                      // the Controls screen is up
    int m_CtlPlayer = 0, m_CtlRow = 0;           // the player shown, the cursor row
    int m_CtlCapture = 0;  // 1 while the row's action waits for a key or button
    int m_CtlKeyLock = 0;  // 1 after the screen has acted, until no control is held
    String m_CtlNote;      // under the rows: a key taken from another player, or refused

    c_MyApp();
    c_MyApp* m_new();
    void mark() override;

    // Framework calls (game/app_lifecycle.cpp, game/update.cpp, game/render.cpp).
    int p_OnCreate() override;
    int p_OnSuspend() override;
    int p_OnResume() override;
    int p_OnUpdate() override;
    int p_OnRender() override;
    int p_OnHttpRequestComplete(c_HttpRequest* request) override;
    // F4 and the window's close button: keeps an ended round's score, then ends the game.
    int p_OnClose() override;

    // Update steps and screen dispatch (game/update.cpp).
    int p_FunctionKeys();
    int p_TrackHeldKeys();
    int p_RunScreen();
    int p_DebugLine();
    int p_InGame();

    // Staged loader and loading screen (game/loader.cpp).
    int p_ChooseImageSet();
    int p_Loader();
    int p_WaitStart(int withSpinner);

    // Asset slots and sound (game/assets.cpp, game/sound.cpp).
    int p_Reload();
    int p_LoadImg(int slot, String name, int cellW, int cellH, int frames, int flags);
    int p_LoadFont(int slot, String name, int advance, int height);
    int p_ReserveImg(int slot, int w, int h);
    int p_LoadSFX(int n);
    int p_PlaySFX(int n, float rate, float volume, float pan);
    int p_PlaySFX(int n, float volume);
    int p_PlayTune(String name, int flags);
    int p_StopTune();
    // Applies a new m_MusicLevel to the tune at once (game/sound.cpp).
    int p_MusicLevelChanged();

    // Draw list and drawing state (game/draw_list.cpp, game/text.cpp, game/virtual_screen.cpp).
    int p_ResetDraw();
    int p_CLS2D(float r = kNotGiven, float g = kNotGiven, float b = kNotGiven, float a = kNotGiven);
    int p_DoBG(int r = -123, int g = -123, int b = -123, float a = kBgKeep);
    int p_SetCol(float r, float g, float b, float a = kNotGiven);
    int p_Ink(int n, float brightness = 1.0f);
    int p_SetSize(float x, float y = kNotGiven);
    int p_SetRot(float deg);
    int p_Alpha(float a);
    int p_DrawImg(int slot, float x, float y, float frame = 0);
    int p_Rect(float x, float y, float w, float h);
    int p_Oval(float x, float y, float rx, float ry);
    int p_Line(float x1, float y1, float x2, float y2);
    int p_Text(float x, float y, String text, float alignX = 0, float alignY = 0,
               int fontOffset = 0);
    // p_Text aligned by the glyphs themselves: p_Text aligns from the middle of a space it
    // draws in front, half an advance left of the first glyph.
    int p_TextByGlyphs(float x, float y, String text, float alignX, float alignY);
    // The width p_Text aligns a text by at the current size: from the middle of the
    // space it puts in front to the middle of the last glyph.
    int p_TextWidth(String text);
    int p_MapVirtualScreen(int devW, int devH);
    // Replays the draw list in the order of game/replay_order.h, one command at a time.
    int p_ReplayDrawList();
    int p_ReplayCommand(int start);

    // Controls (game/controls.cpp, game/icade.cpp, game/pointer.cpp).
    int p_PlayKey(int code, int allowStick, int player);
    int p_PlayKeyAll(int code, int allowStick);
    float p_StickX(int stick, int port);
    float p_StickY(int stick, int port);
    int p_AnalogueControl();
    int p_iCade(int on);
    int p_ReadICadeLetters();
    int p_ReadPointer();
    int p_Button(int slot, float x, float y, float frame);
    int p_Button(float x, float y, float frame);
    int p_Touch(float x, float y, float w, float h);
    int p_Touch(float y, float w);
    int p_MouseIn(float x, float y, float w, float h);
    int p_MouseIn_Centered(float x, float y, float w, float h);

    // Random numbers, particles, stars (game/random.cpp, game/particles.cpp, game/stars.cpp).
    int p_Rand(float a, float b);
    int p_SeedRnd(int x);
    int p_ThrowParticle(float x, float y, int type, int colour, float angle = kNotGiven,
                        float speed = kNotGiven);
    int p_FreeParticle();
    int p_Gimme(int points, float x, float y);
    int p_DoParticles(float size);
    int p_DrawParticles(float size);  // as they stand: nothing moves or ages
    int p_ResetStars(int n);
    int p_DoStars(float dx, float dy);
    int p_DrawStars();  // as they stand

    // Round of play and scores (game/round.cpp, game/scores.cpp).
    int p_LoadGame();
    int p_Game();
    // The round as it stands, drawn without moving, ageing or drawing a random number
    // (the pause panel shows it frozen).
    int p_DrawRound();
    // The field follows its floor onto a resized screen: fighters, bodies, the bonus
    // item and the particles keep their height above it, and bodies stay within the width.
    int p_RoundResized(float oldH);
    int p_AddPlayer(int r, float x, float y);
    int p_ScoreDisplay();
    int p_DrawScoreDisplay();  // without easing the shown score
    String p_Nth(int n);
    String p_MyNth();
    String p_rstr(int value, int width, String pad);

    // Front end (game/menu.cpp, options.cpp, pause.cpp, game_over.cpp).
    int p_Menu();
    int p_OptionBox();
    int p_FullscreenFlip();
    // Asks for p_FullscreenFlip, or takes the ask back (see m_FlipAsked).
    int p_AskFullscreenFlip();
    int p_OpenControls();
    int p_ControlsScreen();
    int p_PauseMenu();
    int p_GameOver();
    // Records an ended round's score and saves, once per round (p_LoadMenu records).
    int p_RecordRound();
    String p_BadgeID(int n);
    String p_BadgeName(int n);
    String p_BadgeDetail(int n);
    int p_ShowBadges();

    // Saved state (game/saved_state.cpp).
    int p_Save();
    int p_Load();
    int p_LoadMenu();

    // Server check-in (game/check_in.cpp).
    int p_GetURL(String url, String query);
};
