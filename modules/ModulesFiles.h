// Writing the player's files (the player records, the start-up settings,
// the saved games) whole or not at all: the bytes go to "<name>.tmp" in the same
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

// The text that tells the player a file was not written (the file's name
// in place of %s).
#define MODULES_NOT_WRITTEN_TEXT "Could not write to file  %s  . \n\n Ensure the disk is not full and has writing permission."

// Tells the player that a per-user file could not be written: the text is a
// format with the file's name in place of %s. Only the first failure of a
// run is shown (a full or read-only disk fails every file of a save, and
// every save after it); each is logged. Nothing else happens: the program
// goes on with the files it has.
void ModulesReportWriteFailure(const char *title, const char *format, const char *path);
void ModulesResetWriteFailureForTests();
