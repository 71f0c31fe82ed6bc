// Shared by the fuzz targets: a quiet engine in a private folder, and the
// fuzzer's bytes written where a reader takes a file name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Once per process: a private temporary folder as the working folder and as
// HOME and XDG_DATA_HOME (the error log lands there too), and message boxes
// answered without showing. Names the folder on stderr ("FuzzSetup:
// working in <folder>") and returns it.
const std::string &FuzzSetup();

// Writes the bytes to path (relative to the working folder; '\\' as the
// program writes it is a folder separator), making its folders and
// replacing the file.
void FuzzWriteFile(const std::string &path, const uint8_t *data, size_t size);

// Forgets the error reporter's kept messages and starts the log afresh, so
// a long run stays flat.
void FuzzEndInput();
