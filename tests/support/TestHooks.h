// Test stand-ins for the desktop: message boxes and shell opens are recorded
// and answered here, never shown; native windows run without a system window
// and are closed as soon as they wait for the user, unless a test answers
// them itself (UiSetTestHook).
#pragma once

#include <string>
#include <vector>

struct RecordedMessageBox {
    std::string text;
    std::string caption;
    unsigned type;
};

struct RecordedShellOpen {
    std::string verb;
    std::string file;
    std::string directory;
};

struct TestHooks {
    static std::vector<RecordedMessageBox> message_boxes;
    static std::vector<RecordedShellOpen> shell_opens;
    // What the next message boxes answer (IDNO unless a test says otherwise).
    static int message_box_answer;

    // Installs the hooks and forgets everything recorded so far.
    static void Install();
};

// Puts the engine's process-wide state back as at start: empty log, no
// program object, main-thread record unmarked, hooks reset.
void ResetEngineForTest();
