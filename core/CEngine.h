// CEngine: brings the engine up and down. Constructing it writes the banner and creates the ten
// managers in a fixed order, each reachable through its process-wide pointer; destroying it
// deletes them in the shutdown order, the graphics core (and with it SDL) first. In between the
// application calls SetVideoMode once and Update once per frame.
#pragma once

class CEngine {
public:
    // Throws a std::string when SDL's event-thread request fails.
    CEngine();
    ~CEngine();

    CEngine(const CEngine&) = delete;
    CEngine& operator=(const CEngine&) = delete;

    // Opens the window, logs the driver strings, loads the built-in shaders and the font
    // "Data/Font/font.tga" as font 1. Throws a std::string when video set-up fails.
    void SetVideoMode(int width, int height, int bpp, bool fullscreen, bool mode2D);
    void ShowFPS(bool show) { showFPS = show; }
    bool IsShowingFPS() const { return showFPS; }

    // The frame step: polls one event, switches to 2D, draws the GUI windows, the sprite cursor
    // and the frame rate, then leaves the current 2D camera's translation on the model-view
    // matrix for the application's own scene (in 3D mode after leaving 2D again).
    void Update();

private:
    void InitEventThread();

    bool showFPS;
};
