#pragma once

namespace trelik {

// OLE on the program's one thread, started at its first use: the shell's copy and opening and
// the screen readers' descriptions need it, and most starts show the window long before any of
// them, or never get there. Later calls do nothing.
void UseOle();

// Ends what UseOle started, at the program's end.
void EndOle();

}  // namespace trelik
