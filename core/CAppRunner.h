/// @file
/// CAppRunner: the lifecycle of one application object, on the desktop and in the browser.
#pragma once

class CApp;

/// Drives one application through its lifecycle: construct, Init, its frames, Shutdown,
/// destroy. The frames are MainLoop on the desktop and RunFrame once per displayed frame in
/// the browser (CPlatform::RunFrames decides). A std::string or std::exception thrown by any
/// stage destroys the application (and with it the engine and SDL) and then becomes one line
/// on standard error. RunApplication is the usual way in.
class CAppRunner {
public:
    /// Runs the application that @p create makes with new. Returns 0 after a normal run and 1
    /// after a failure; in the browser it returns after Init, with the frames still to come,
    /// and only a failure up to there gives 1.
    static int Run(CApp* (*create)());
};
