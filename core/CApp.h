/// @file
/// CApp: the base of every application built on the engine.
#pragma once

#include <string>

class CEngine;

/// The base of every application. Its constructor creates the engine (start-up: all ten
/// managers, no window yet) and its destructor deletes it (shutdown), so a derived destructor
/// frees the application's own sprites while the engine and OpenGL are still alive.
///
/// Lifecycle, driven by RunApplication: construct, Init (call SetVideoMode on m_pEngine, then
/// load resources), MainLoop (call m_pEngine->Update once per frame, draw, swap), Shutdown,
/// destroy. In the browser RunFrame takes MainLoop's place, called once per frame.
///
/// Ownership: the application owns the engine (through this base) and every sprite it creates
/// itself; what it hands to a manager (camera positions, GUI windows, loaded sounds and music,
/// shader programs, fonts) belongs to that manager from then on and must not be deleted.
///
/// A derived class gives a body to all five operations, the two reserved ones included (an
/// empty one will do); nothing calls Reserved1 or Reserved2.
class CApp {
public:
    /// Creates the engine, which runs the whole start-up: by the time a derived constructor
    /// body runs, every manager pointer (g_pGraphicsCore and the others) is set, but there is
    /// no window, no OpenGL context, no shader and no font yet, so load nothing here. Throws a
    /// std::string when start-up fails.
    CApp();
    /// Deletes the engine (shutdown: SDL first, then the managers). A derived destructor runs
    /// before this one and is the place to delete the application's own sprites.
    virtual ~CApp();

    /// Not copyable: there is one application, and with it one engine, per process.
    /// @{
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;
    /// @}

    /// Called once, first: call m_pEngine->SetVideoMode before anything else, then create
    /// sprites, GUI windows, cursor images and sounds, and hand camera positions to the
    /// camera manager.
    virtual void Init() = 0;
    /// Called once after Init: runs frames until the application decides to stop, then
    /// returns. Each frame clears, loads the identity, calls m_pEngine->Update exactly once,
    /// draws the scene and text, swaps the buffers, and then reads g_pEventManager's state.
    /// An application that has RunFrame writes it as `while (RunFrame()) {}`.
    virtual void MainLoop() = 0;
    /// One frame of MainLoop; false when the application ends. A page in the browser must hand
    /// control back after every frame, so the browser build calls this once per displayed
    /// frame instead of MainLoop. The default runs MainLoop in one go and ends, which keeps an
    /// application that only has its own MainLoop running on the desktop.
    virtual bool RunFrame();
    /// A hook called once after MainLoop returns, before the object is destroyed; the engine
    /// is still fully alive.
    virtual void Shutdown() = 0;
    /// Reserved hooks that nothing calls.
    /// @{
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    /// @}

protected:
    /// Defaults an application may use (1024 x 768, 16 bits, "Engine Demo"); the engine reads
    /// none of them, so pass the values to SetVideoMode and the caption to
    /// CGraphicsCore::SetCaption yourself.
    /// @{
    int m_width;
    int m_height;
    int m_bpp;
    std::string m_caption;
    /// @}
    /// The engine, created by the constructor and deleted by the destructor; never delete it
    /// yourself.
    CEngine* m_pEngine;
};
