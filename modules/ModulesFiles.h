// Writing the shared modules' own files (the player records, the start-up
// settings) whole or not at all: the bytes go to "<name>.tmp" in the same
// folder, are checked on disk, and only then take the file's place in one
// rename. A failure at any step removes the temporary file and leaves the
// previous file as it was; the engine's file layer reports the cause.
#pragma once

enum _ModulesWriteResult {
    MWR_OK = 0,
    MWR_CREATE_FAILED = 1, // the temporary file could not be made
    MWR_WRITE_FAILED = 2,  // it was made but could not be filled or put in place
};

// With encipher the file is the engine's enciphered block of the data
// (16 + size bytes), else the size bytes themselves.
_ModulesWriteResult ModulesWriteFileWhole(const char *path, const void *data, unsigned size, char encipher);
