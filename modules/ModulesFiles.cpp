// Whole-or-nothing writes of the shared modules' files (see the header).
#include "modules/ModulesFiles.h"

#include "engine/core/EngEncryption.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "modules/ModulesHooks.h"
#include "platform/win32/Win32Files.h"

#include <cstdio>

namespace {

bool write_failure_shown = false;

void DeleteIfThere(const char *path)
{
    if (EngFileExists(path, 0))
        EngFileDelete(path, 1);
}

} // namespace

_ModulesWriteResult ModulesWriteFileWhole(const char *path, const void *data, unsigned size, char encipher)
{
    const char *where = "ModulesWriteFileWhole";
    char temp[1040];
    if (!path || !*path || !data ||
        std::snprintf(temp, sizeof(temp), "%s.tmp", path) >= static_cast<int>(sizeof(temp))) {
        DebugError(where, "Invalid parameters");
        return MWR_CREATE_FAILED;
    }
    unsigned char *block = nullptr;
    const void *bytes = data;
    unsigned count = size;
    if (encipher) {
        block = EngEncryptionEncrypt(data, size);
        if (!block)
            return MWR_CREATE_FAILED;
        bytes = block;
        count = size + ENG_ENCRYPTION_IV_SIZE;
    }

    DeleteIfThere(temp);
    EngFile file;
    _ModulesWriteResult result = MWR_OK;
    if (!file.CreateForWriting(temp, 0)) {
        result = MWR_CREATE_FAILED;
    } else {
        char written = file.Write(bytes, count);
        file.Close();
        // The size on disk tells whether the close flushed every byte.
        if (!written || EngFileGetFileSize(temp, 0) != count) {
            DebugError(where, "Could not write <%s>", temp);
            result = MWR_WRITE_FAILED;
        } else if (!MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) {
            DebugError(where, "Could not replace <%s>", path);
            result = MWR_WRITE_FAILED;
        }
    }
    if (result != MWR_OK)
        DeleteIfThere(temp);
    if (block)
        EngFree(block, 1, where);
    return result;
}

void ModulesReportWriteFailure(const char *title, const char *format, const char *path)
{
    // Paths shown to a person use "/" between folders.
    char shown[1024];
    EngFileGetShownName(path ? path : "", shown, sizeof(shown));
    char text[1200];
    std::snprintf(text, sizeof(text), format, shown);
    DebugError("ModulesReportWriteFailure", "%s: %s", title, text);
    if (write_failure_shown)
        return;
    write_failure_shown = true;
    // Never the engine's popup that closes the program first: a save is
    // under way, and the program goes on.
    if (modules_hooks.show_write_failure)
        modules_hooks.show_write_failure(title, text);
    else
        EngMiscShowPopupMessage_PC(EMPT_ERROR, title, text);
}

void ModulesResetWriteFailureForTests()
{
    write_failure_shown = false;
}
