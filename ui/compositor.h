#pragma once
#include <windows.h>

namespace framlet::ui {

// What WaitForCompositor did.
enum class CompositorWait {
  NoCompositor,    // the system has no desktop window manager library
  CompositionOff,  // composition is off: the screen already shows what was drawn
  Flushed,         // waited for the compositor's next frame
  FlushFailed,     // composition is on but the wait was refused
};

// Waits until the desktop compositor has shown what was drawn so far, so that
// a screen read right after hiding a window does not return the last
// composed frame with the window still in it. The library is loaded at run
// time: the program starts on systems without it.
CompositorWait WaitForCompositor();

// Turns off the show and hide animations of a top-level window, so that it
// is gone from the screen once hidden; false where the system has no
// compositor or refuses.
bool DisableTransitions(HWND window);

}  // namespace framlet::ui
