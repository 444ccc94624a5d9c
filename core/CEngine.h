/// @file
/// CEngine: brings the engine up and down and runs the frame step.
#pragma once

class CLiveReload;

/// Brings the engine up and down. Constructing it writes the banner and creates the ten
/// managers in a fixed order, each reachable through its process-wide pointer; destroying it
/// deletes them in the shutdown order, the graphics core (and with it SDL) first. In between the
/// application calls SetVideoMode once and Update once per frame.
///
/// CApp creates the one engine of the process and deletes it; applications reach it through
/// CApp::m_pEngine. The engine owns the ten managers: never delete a g_p pointer. After shutdown
/// every pointer is null again.
class CEngine {
public:
    /// Runs start-up: the banner, then graphics core, texture manager, window manager, event
    /// manager, utils, sound manager, shader manager, 3D camera, camera manager and font
    /// manager, each logged with "done". No window is opened. Throws a std::string when SDL's
    /// event-thread request fails.
    CEngine();
    /// Runs shutdown: deletes the graphics core first (which quits SDL, so the OpenGL context is
    /// gone), then the other managers, and clears every pointer. Objects the managers own are
    /// destroyed with them and make no OpenGL call then.
    ~CEngine();

    /// Not copyable: there is one engine per process.
    /// @{
    CEngine(const CEngine&) = delete;
    CEngine& operator=(const CEngine&) = delete;
    /// @}

    /// Opens the window, logs the driver strings, loads the built-in shaders and the font
    /// "Data/Font/font.tga" as font 1. Throws a std::string when video set-up fails.
    ///
    /// Call it once, first thing in CApp::Init: sprites, fonts, GUI windows and cursor images
    /// all need the OpenGL context and shader program 0 that it provides. mode2D selects the
    /// 2D set-up (one unit per pixel, origin top left); false sets up a perspective 3D scene.
    void SetVideoMode(int width, int height, int bpp, bool fullscreen, bool mode2D);
    /// Whether the frame step measures the frame rate and prints "Current FPS" with font 1 in
    /// the top-left corner (the rate also goes into the window caption about once a second).
    /// It may change at any time. The 3D camera's keyboard speed and CUtils::GetFrameTime only
    /// advance while it is on.
    void ShowFPS(bool show) { showFPS = show; }
    /// Whether the frame-rate display is on.
    bool IsShowingFPS() const { return showFPS; }

    /// The frame step: polls one event, reloads what changed on disk while watching is on,
    /// switches to 2D, draws the GUI windows, the sprite cursor
    /// and the frame rate, then leaves the current 2D camera's translation on the model-view
    /// matrix for the application's own scene (in 3D mode after leaving 2D again).
    ///
    /// Call it exactly once per frame, after clearing and loading the identity and before
    /// drawing the scene; swap the buffers after the scene. The event manager's state (keys,
    /// buttons, mouse, GetClickedId) describes this frame only once Update has returned. What
    /// the application draws afterwards covers the GUI, the cursor and the frame rate where it
    /// is opaque.
    void Update();

    /// Whether the frame step watches the files of the loaded pictures and shaders and reloads
    /// those that changed (see CLiveReload). Off unless the environment has ORVANE_WATCH=1;
    /// while off it costs nothing. The browser build has no files to watch.
    void SetWatching(bool watch);
    /// Whether watching is on.
    bool IsWatching() const { return liveReload != nullptr; }

private:
    void InitEventThread();

    bool showFPS;
    CLiveReload* liveReload;
};
