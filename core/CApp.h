// CApp: the base of every application. Its constructor creates the engine (start-up: all ten
// managers, no window yet) and its destructor deletes it (shutdown), so a derived destructor
// frees the application's own sprites while the engine and OpenGL are still alive.
//
// Lifecycle, driven by RunApplication: construct, Init (call SetVideoMode on m_pEngine, then
// load resources), MainLoop (call m_pEngine->Update once per frame, draw, swap), Shutdown,
// destroy.
#pragma once

#include <string>

class CEngine;

class CApp {
public:
    CApp();
    virtual ~CApp();

    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    virtual void Init() = 0;
    virtual void MainLoop() = 0;
    virtual void Shutdown() = 0;
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;

protected:
    int m_width;
    int m_height;
    int m_bpp;
    std::string m_caption;
    CEngine* m_pEngine;
};
