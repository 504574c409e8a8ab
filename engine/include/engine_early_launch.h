// This engine's own addition to its API, not part of CEF's public API.
//
// Starting the browser program takes most of the time before a first page
// can show.  A program that knows its engine settings and application
// object early may have the engine begin launching the browser program in
// the background while it does other start-up work; CefInitialize, given
// the same settings and application object, then adopts it.
#pragma once

#include "include/cef_app.h"

// Begins launching the browser program with exactly the command line that
// CefInitialize, given the same settings and application object, would
// give it, and returns at once.  The application object's
// OnBeforeCommandLineProcessing is called here, on the calling thread, and
// its OnBeforeChildProcessLaunch on the engine thread that launches the
// program; CefInitialize calls neither again when it adopts the launch.
// Given other settings or another application object, CefInitialize ends
// the launch and makes its own, asking the handlers anew.  False when the engine
// already runs, a launch was already begun or no browser program exists;
// call it once, before CefInitialize, on the thread that will call
// CefInitialize.
bool EngineBeginEarlyLaunch(const CefSettings& settings, CefRefPtr<CefApp> application);

// Ends a browser program begun early that CefInitialize has not adopted,
// and returns once it is gone.  A program that ends without calling
// CefInitialize calls it before it ends; should it not, the launch is
// ended as the process exits.  Does nothing when there is none.
void EngineEndEarlyLaunch();
