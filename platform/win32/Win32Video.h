// SDL's video subsystem, which the display queries and the clipboard need.
#pragma once

// Starts the video subsystem unless it already runs (the window layer starts
// it at program start). False when there is no display to talk to.
bool PlatformEnsureVideo();
