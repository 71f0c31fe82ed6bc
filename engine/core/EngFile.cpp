#include "engine/core/EngFile.h"
#include "engine/core/EngMemory.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Files.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace {

const size_t NATIVE_NAME_SIZE = 4096;
const unsigned OUTPUT_LAST_ERROR_SIZE = 512;

// Per thread, so the reporter's log append on a worker thread never meets
// the main thread's use of them.
thread_local EngFile exists_file;
thread_local char printf_buffer[ENG_FILE_PRINTF_MAX + 1];

bool IsEmptyName(const char *name)
{
    return !name || !name[0];
}

// Opens the system's form of name. Streams are always opened in binary:
// this system has no text mode of its own, EngFile supplies it.
FILE *OpenStream(const char *name, const char *mode)
{
    char native[NATIVE_NAME_SIZE];
    if (!PlatformPathFromAnsi(name, native, sizeof(native))) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    return std::fopen(native, mode);
}

} // namespace

EngFile::EngFile() : m_open(false), m_reading(false), m_text(false), m_stream(nullptr)
{
}

EngFile::~EngFile()
{
    Close();
}

char EngFile::OpenForReading(const char *name, char text, char report)
{
    const char *where = "EngFile::OpenForReading";
    if (m_open) {
        DebugError(where, "File was already opened [%s]", EngStrOrNone(name));
        Close();
    }
    if (IsEmptyName(name)) {
        if (report)
            DebugError(where, "No filename specified");
        return 0;
    }
    FILE *stream = OpenStream(name, "rb");
    // The system opens folders for reading too; the desktop does not.
    struct stat info;
    if (stream && fstat(fileno(stream), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(stream);
        stream = nullptr;
        errno = EISDIR;
    }
    if (!stream) {
        if (report)
            DebugError(where, "Could not open file <%s>", name);
        return 0;
    }
    m_stream = stream;
    m_open = true;
    m_reading = true;
    m_text = text != 0;
    return 1;
}

char EngFile::OpenForReadingQuietly(const char *name, char text)
{
    return OpenForReading(name, text, 0);
}

char EngFile::DoOpenForWriting(const char *where, const char *name, char text, const char *mode)
{
    if (IsEmptyName(name)) {
        DebugError(where, "No filename specified");
        return 0;
    }
    if (m_open) {
        DebugError(where, "File was already opened [%s]", name);
        Close();
    }
    m_stream = OpenStream(name, mode);
    if (!m_stream)
        return 0;
    m_open = true;
    m_reading = false;
    m_text = text != 0;
    return 1;
}

char EngFile::CreateForWriting(const char *name, char text)
{
    const char *where = "EngFile::CreateForWriting";
    char ok = DoOpenForWriting(where, name, text, "wb");
    if (!ok && !IsEmptyName(name))
        DebugError(where, "Could not create file <%s>", name);
    return ok;
}

char EngFile::OpenForWriting(const char *name, char text)
{
    const char *where = "EngFile::OpenForWriting";
    char ok = DoOpenForWriting(where, name, text, "wb");
    if (!ok && !IsEmptyName(name))
        DebugErrorNoLog(where, "Could not open or create file <%s>", name);
    return ok;
}

char EngFile::OpenForAppending(const char *name, char text)
{
    const char *where = "EngFile::OpenForAppending";
    char ok = DoOpenForWriting(where, name, text, "ab");
    if (!ok && !IsEmptyName(name))
        DebugError(where, "Could not open or create file <%s>", name);
    return ok;
}

char EngFile::CheckStream(const char *where)
{
    if (!m_stream) {
        DebugError(where, "File is not open");
        return 0;
    }
    return 1;
}

// Reads up to count bytes, each CR LF pair delivered as a single LF.
unsigned EngFile::ReadText(unsigned char *buffer, unsigned count)
{
    unsigned got = 0;
    while (got < count) {
        int c = std::fgetc(m_stream);
        if (c == EOF)
            break;
        if (c == '\r') {
            int next = std::fgetc(m_stream);
            if (next == '\n')
                c = '\n';
            else if (next != EOF)
                std::ungetc(next, m_stream);
        }
        buffer[got++] = static_cast<unsigned char>(c);
    }
    return got;
}

char EngFile::Read(void *buffer, unsigned count, char report)
{
    const char *where = "EngFile::Read";
    if (!CheckStream(where))
        return 0;
    if (!m_reading) {
        DebugError(where, "File is not open for reading");
        return 0;
    }
    if (!buffer) {
        DebugError(where, "Nowhere to read to");
        return 0;
    }
    unsigned got = m_text ? ReadText(static_cast<unsigned char *>(buffer), count)
                          : static_cast<unsigned>(std::fread(buffer, 1, count, m_stream));
    if (got == 0) {
        if (report)
            DebugError(where, "Could not read from file");
        return 0;
    }
    if (got != count) {
        DebugError(where, "Problem reading from file [ read %u not %u ]", got, count);
        return 0;
    }
    return 1;
}

char EngFile::ReadLine(char *buffer, unsigned size)
{
    const char *where = "EngFile::ReadLine";
    if (!CheckStream(where))
        return 0;
    if (!m_reading) {
        DebugError(where, "File is not open for reading");
        return 0;
    }
    if (!buffer || size == 0) {
        DebugError(where, "Nowhere to read to");
        return 0;
    }
    int room = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    if (!std::fgets(buffer, room, m_stream))
        return 0;
    size_t length = std::strlen(buffer);
    if (m_text && length > 0 && buffer[length - 1] == '\r') {
        // The line feed may follow just beyond the buffer.
        int next = std::fgetc(m_stream);
        if (next == '\n')
            buffer[length - 1] = '\n';
        else if (next != EOF)
            std::ungetc(next, m_stream);
    } else if (m_text && length > 1 && buffer[length - 2] == '\r' && buffer[length - 1] == '\n') {
        buffer[length - 2] = '\n';
        buffer[length - 1] = 0;
    }
    return 1;
}

char EngFile::Write(const void *data, unsigned count)
{
    const char *where = "EngFile::Write";
    if (!CheckStream(where))
        return 0;
    if (m_reading) {
        DebugError(where, "File is not open for writing");
        return 0;
    }
    if (!data) {
        DebugError(where, "Nowhere to write from");
        return 0;
    }
    unsigned written = static_cast<unsigned>(std::fwrite(data, 1, count, m_stream));
    if (written == 0) {
        DebugError(where, "Could not write to file");
        return 0;
    }
    if (written < count && !m_text) {
        DebugError(where, "Only wrote %u of %u bytes to file", written, count);
        return 0;
    }
    return 1;
}

char EngFile::Printf(const char *format, ...)
{
    const char *where = "EngFile::Printf";
    if (!CheckStream(where))
        return 0;
    if (m_reading) {
        DebugError(where, "File is not open for writing");
        return 0;
    }
    va_list args;
    va_start(args, format);
    int length = format ? vsnprintf(printf_buffer, sizeof(printf_buffer), format, args) : 0;
    va_end(args);
    if (length <= 0)
        return 1;
    if (length > ENG_FILE_PRINTF_MAX)
        length = ENG_FILE_PRINTF_MAX;
    if (!Write(printf_buffer, static_cast<unsigned>(length))) {
        DebugError(where, "Could not write to file");
        return 0;
    }
    return 1;
}

char EngFile::Flush()
{
    const char *where = "EngFile::Flush";
    if (!CheckStream(where))
        return 0;
    if (std::fflush(m_stream) != 0) {
        DebugError(where, "Error writing file");
        return 0;
    }
    return 1;
}

char EngFile::Rewind()
{
    const char *where = "EngFile::Rewind";
    if (!m_open) {
        DebugError(where, "File is not opened");
        return 0;
    }
    if (std::fseek(m_stream, 0, SEEK_SET) != 0) {
        DebugError(where, "Error rewinding file");
        return 0;
    }
    return 1;
}

char EngFile::MoveToEnd()
{
    const char *where = "EngFile::MoveToEnd";
    if (!m_open) {
        DebugError(where, "File is not opened");
        return 0;
    }
    if (std::fseek(m_stream, 0, SEEK_END) != 0) {
        DebugError(where, "Error moving to end of file");
        return 0;
    }
    return 1;
}

unsigned EngFile::GetSize()
{
    const char *where = "EngFile::GetSize";
    if (!m_open) {
        DebugError(where, "File is not opened");
        return 0;
    }
    long position = std::ftell(m_stream);
    long size = std::fseek(m_stream, 0, SEEK_END) == 0 ? std::ftell(m_stream) : -1;
    if (position >= 0)
        std::fseek(m_stream, position, SEEK_SET);
    // A size this interface cannot express counts as a failure too.
    if (size < 0 || static_cast<unsigned long>(size) > UINT_MAX) {
        DebugError(where, "Problem getting size");
        return 0;
    }
    return static_cast<unsigned>(size);
}

void EngFile::Close()
{
    if (!m_open)
        return;
    if (m_stream)
        std::fclose(m_stream);
    m_open = false;
    m_reading = false;
    m_text = false;
    m_stream = nullptr;
}

char EngFileExists(const char *name, char report)
{
    if (IsEmptyName(name)) {
        DebugError("EngFileExists", "No filename specified");
        return 0;
    }
    if (exists_file.OpenForReading(name, 0, 0)) {
        exists_file.Close();
        return 1;
    }
    if (report)
        DebugError("EngFileExists", "File not found: %s", name);
    return 0;
}

char EngFileDirectoryExists(const char *name)
{
    if (IsEmptyName(name)) {
        DebugError("EngFileDirectoryExists", "No filename specified");
        return 0;
    }
    DWORD attributes = GetFileAttributesA(name);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

char EngFileCreateDirectory(const char *name, char report)
{
    const char *where = "EngFileCreateDirectory";
    if (IsEmptyName(name)) {
        DebugError(where, "No filename specified");
        return 0;
    }
    if (!CreateDirectoryA(name, nullptr)) {
        if (report)
            DebugError(where, "Failed to create directory <%s>", name);
        return 0;
    }
    if (!EngFileDirectoryExists(name)) {
        if (report)
            DebugError(where, "Directory was not created <%s>", name);
        return 0;
    }
    return 1;
}

char EngFileDelete(const char *name, char report)
{
    if (IsEmptyName(name)) {
        DebugError("EngFileDelete", "No filename specified");
        return 0;
    }
    if (!DeleteFileA(name)) {
        if (report)
            DebugError("EngFileDelete", "Deletion failed.");
        return 0;
    }
    return 1;
}

char EngFileMoveFile(const char *source, const char *target)
{
    const char *where = "EngFileMoveFile";
    if (IsEmptyName(source) || IsEmptyName(target)) {
        DebugError(where, "Invalid parameters");
        return 0;
    }
    if (EngFileExists(target, 0)) {
        DebugError(where, "File <%s> exists", target);
        return 0;
    }
    if (!EngFileExists(source, 0)) {
        DebugError(where, "File <%s> does not exist", source);
        return 0;
    }
    // The outcome is checked below rather than trusting the call's answer.
    MoveFileA(source, target);
    if (!EngFileExists(target, 0)) {
        DebugError(where, "File was not moved: <%s> to <%s>", source, target);
        return 0;
    }
    if (EngFileExists(source, 0)) {
        DebugError(where, "Existing file still exists: <%s> to <%s>", source, target);
        return 0;
    }
    return 1;
}

unsigned EngFileGetFileSize(const char *name, char text)
{
    const char *where = "EngFileGetFileSize";
    if (IsEmptyName(name)) {
        DebugError(where, "No filename specified");
        return 0;
    }
    EngFile file;
    if (!file.OpenForReading(name, text, 1)) {
        DebugError(where, "Could not open file <%s>", name);
        return 0;
    }
    unsigned size = file.GetSize();
    file.Close();
    return size;
}

void EngFileGetShownName(const char *name, char *out, int size)
{
    if (!out || size <= 0)
        return;
    EngSafeStrcpy(out, name ? name : "", static_cast<unsigned>(size));
    for (char *c = out; *c; c++)
        if (*c == '\\')
            *c = '/';
}

char EngFileOpenReadAndClose(const char *name, char text, void *buffer, unsigned count)
{
    const char *where = "EngFileOpenReadAndClose";
    if (IsEmptyName(name)) {
        DebugError(where, "No filename specified");
        return 0;
    }
    EngFile file;
    if (!file.OpenForReading(name, text, 1))
        return 0;
    if (file.GetSize() != count) {
        DebugError(where, "Invalid file size in <%s>", name);
        return 0;
    }
    if (!file.Read(buffer, count, 1)) {
        DebugError(where, "Could not read from file <%s>", name);
        return 0;
    }
    return 1;
}

void EngFileOutputLastError(const char *where, const char *text, char have_code, unsigned code, char quiet)
{
    unsigned error = have_code ? code : GetLastError();
    if (!text)
        text = "";
    char *message = static_cast<char *>(EngMalloc(OUTPUT_LAST_ERROR_SIZE, "EngFileOutputLastError", 1));
    if (!message)
        return;
    // Every caller names itself; a missing name is reported under ours.
    if (!where)
        where = "EngFileOutputLastError";
    const char *name = DebugUndecorateName(where);
    DWORD found = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), message, OUTPUT_LAST_ERROR_SIZE, nullptr);
    if (found && quiet)
        DebugErrorNoLog(name, "%s: Error 0x%x: %s", text, error, message);
    else if (found)
        DebugError(name, "%s: Error 0x%x: %s", text, error, message);
    else if (quiet)
        DebugErrorNoLog(name, "%s: Unknown error 0x%x", text, error);
    else
        DebugError(name, "%s: Unknown error 0x%x", text, error);
    EngFree(message, 0, "EngFileOutputLastError");
    if (name != where)
        std::free(const_cast<char *>(name));
}
