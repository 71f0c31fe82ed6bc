// The platforms a score can come from, each named by one letter, and this
// build's own letter.
#pragma once

// 'W': this build runs on the PC.
char PlatformGetCurrentPlatform();
// True for a known letter; otherwise false, reported when report is set.
bool PlatformIsPlatformValid(char platform, char report);
