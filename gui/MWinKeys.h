// The key codes the toolkit's controls answer: the codes the main window
// reports in its key states and hands to the key handlers.
#pragma once

const int kKeyBackspace = 8, kKeyTab = 9, kKeyEnter = 13, kKeyShift = 0x10, kKeyControl = 0x11, kKeyAlt = 0x12,
          kKeyEscape = 27, kKeyPageUp = 0x21, kKeyPageDown = 0x22, kKeyEnd = 0x23, kKeyHome = 0x24, kKeyLeft = 0x25,
          kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28, kKeyDelete = 0x2E, kKeyV = 'V';
