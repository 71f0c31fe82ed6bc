#include "engine/core/TextFile.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Files.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct GrowHeader {
    char magic[4];
    int capacity;
    int size;
};
static_assert(sizeof(GrowHeader) == 12, "the growable buffer's header is 12 bytes");

const char GROW_MAGIC[4] = {'H', 'W', 'S', 'G'};
const int GROW_STEP = 1024;
const int GROW_MAX = INT_MAX - static_cast<int>(sizeof(GrowHeader)) - GROW_STEP;
// Counts above this would overflow the sizes of the conversion buffers.
const int MAX_COUNT = GROW_MAX / 4 - 1;
const size_t NATIVE_NAME_SIZE = 4096;
const int ERROR_TEXT_SIZE = 512;

GrowHeader *HeaderOf(void *data)
{
    return reinterpret_cast<GrowHeader *>(static_cast<char *>(data) - sizeof(GrowHeader));
}

bool IsGrowBuffer(void *data, const char *where)
{
    if (std::memcmp(HeaderOf(data)->magic, GROW_MAGIC, sizeof(GROW_MAGIC)) == 0)
        return true;
    DebugError(where, "Not a text file buffer");
    return false;
}

// Grows the buffer *data to hold size bytes; false (with *data unchanged)
// when it cannot.
template <typename T> bool Grow(T **data, int size)
{
    void *grown = TextFileGrowBuffer(*data, size);
    if (!grown)
        return false;
    *data = static_cast<T *>(grown);
    return true;
}

void ReportFileError(const char *where, const char *what, unsigned long code, const char *name)
{
    char *text = TextFileGetErrorText(code);
    DebugError(where, "%s (%lu %s %s)", what, code, EngStrOrNone(name), text ? text : "");
    EngFree(text, 0, where);
}

// 1252 leaves five bytes undefined. Text files treat them, and the code
// points of the same numbers, as characters 1252 cannot show.
bool IsUndefinedIn1252(unsigned code)
{
    return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

int UnicodeTo1252(unsigned code)
{
    return IsUndefinedIn1252(code) ? -1 : PlatformUnicodeToCp1252(code);
}

unsigned Cp1252ToUnicode(unsigned char c)
{
    return IsUndefinedIn1252(c) ? '?' : PlatformCp1252ToUnicode(c);
}

bool IsHighSurrogate(unsigned unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(unsigned unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

int WideLength(const uint16_t *text)
{
    int length = 0;
    while (length <= MAX_COUNT && text[length])
        length++;
    return length;
}

long ReadSome(int file, void *buffer, size_t count)
{
    ssize_t got;
    do {
        got = read(file, buffer, count);
    } while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}

bool WriteAll(int file, const unsigned char *data, size_t count)
{
    while (count > 0) {
        ssize_t put = write(file, data, count);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        data += put;
        count -= static_cast<size_t>(put);
    }
    return true;
}

int TextLength(const char *text, int length)
{
    return length < 0 ? static_cast<int>(strnlen(text, MAX_COUNT + 1)) : length;
}

} // namespace

void *TextFileGrowBuffer(void *data, int size)
{
    const char *where = "TextFileGrowBuffer";
    if (size < 0 || size > GROW_MAX) {
        DebugErrorCode(where, 'BAPA');
        return nullptr;
    }
    int capacity = (size + GROW_STEP - 1) / GROW_STEP * GROW_STEP;
    if (capacity == 0)
        capacity = GROW_STEP;
    GrowHeader *header = nullptr;
    if (data) {
        if (!IsGrowBuffer(data, where))
            return nullptr;
        header = HeaderOf(data);
        if (header->capacity >= capacity) {
            header->size = size;
            return data;
        }
    }
    unsigned block_size = static_cast<unsigned>(capacity) + sizeof(GrowHeader);
    void *block = header ? EngRealloc(header, block_size, where) : EngMalloc(block_size, where, 0);
    if (!block)
        return nullptr;
    header = static_cast<GrowHeader *>(block);
    std::memcpy(header->magic, GROW_MAGIC, sizeof(GROW_MAGIC));
    header->capacity = capacity;
    header->size = size;
    return static_cast<char *>(block) + sizeof(GrowHeader);
}

void TextFileFreeBuffer(void *data)
{
    if (data && IsGrowBuffer(data, "TextFileFreeBuffer"))
        EngFree(HeaderOf(data), 0, "TextFileFreeBuffer");
}

int TextFileWideToNarrow(const uint16_t *text, int count, char **out, const char *default_char,
                         int *used_default)
{
    const char *where = "TextFileWideToNarrow";
    if (used_default)
        *used_default = 0;
    if (!out) {
        DebugErrorCode(where, 'BAPA');
        return -1;
    }
    if (!text)
        count = 0;
    else if (count < 0)
        count = WideLength(text);
    if (count > MAX_COUNT) {
        DebugErrorCode(where, 'BAPA');
        return -1;
    }
    if (!Grow(out, count + 1))
        return -1;
    char replacement = default_char && default_char[0] ? default_char[0] : '?';
    char *narrow = *out;
    int written = 0;
    for (int i = 0; i < count; i++) {
        unsigned unit = text[i];
        // A surrogate pair is one character, and never one of 1252's.
        if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(text[i + 1]))
            i++;
        int byte = IsHighSurrogate(unit) || IsLowSurrogate(unit) ? -1 : UnicodeTo1252(unit);
        if (byte < 0) {
            narrow[written++] = replacement;
            if (used_default)
                *used_default = 1;
        } else {
            narrow[written++] = static_cast<char>(byte);
        }
    }
    narrow[written] = 0;
    return written;
}

int TextFileNarrowToWide(const char *text, int count, uint16_t **out)
{
    const char *where = "TextFileNarrowToWide";
    if (!out) {
        DebugErrorCode(where, 'BAPA');
        return -1;
    }
    count = text ? TextLength(text, count) : 0;
    if (count > MAX_COUNT) {
        DebugErrorCode(where, 'BAPA');
        return -1;
    }
    if (!Grow(out, (count + 1) * 2))
        return -1;
    uint16_t *wide = *out;
    for (int i = 0; i < count; i++)
        wide[i] = static_cast<uint16_t>(Cp1252ToUnicode(static_cast<unsigned char>(text[i])));
    wide[count] = 0;
    return count;
}

int TextFileEncodeUtf8(unsigned code, unsigned char *out)
{
    if (code > 0x10FFFF)
        code = 0xFFFD;
    if (code < 0x80) {
        out[0] = static_cast<unsigned char>(code);
        return 1;
    }
    if (code < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (code >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | (code >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | (code >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    return 4;
}

char *TextFileGetErrorText(unsigned long code)
{
    char text[ERROR_TEXT_SIZE];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                                  sizeof(text), nullptr);
    text[length] = 0;
    // The system's texts may end in a line break; the reports add their own.
    if (length >= 2 && text[length - 2] == '\r' && text[length - 1] == '\n')
        text[length - 2] = 0;
    return EngMallocStringFromString(text, 0, "TextFileGetErrorText");
}

int read_1_byte(const char *name, int file)
{
    unsigned char byte;
    long got = ReadSome(file, &byte, 1);
    if (got == 1)
        return byte;
    if (got == 0)
        return TEXT_FILE_END;
    ReportFileError("read_1_byte", "FileReadError", static_cast<unsigned long>(errno), name);
    return TEXT_FILE_ERROR;
}

// --- Readers ---

TextFileReader::TextFileReader(const char *name, int file, int buffer_size)
    : m_name(name), m_file(file), m_buffer_size(buffer_size > 0 ? buffer_size : TEXT_FILE_DEFAULT_BUFFER_SIZE),
      m_buffer(nullptr), m_pos(0), m_count(0), m_end_of_file(false)
{
}

TextFileReader::~TextFileReader()
{
    EngFree(m_buffer, 0, "TextFileReader::~TextFileReader");
}

int TextFileReader::ReadChar()
{
    return TEXT_FILE_END;
}

int TextFileReader::ReadLine(char **, const char *, int *)
{
    return TEXT_FILE_END;
}

bool TextFileReader::AllocBuffer()
{
    m_buffer = static_cast<unsigned char *>(
        EngMalloc(static_cast<unsigned>(m_buffer_size), "TextFileReader::AllocBuffer", 0));
    return m_buffer != nullptr;
}

int TextFileReader::FillBuffer()
{
    if (m_pos < m_count)
        return 0;
    if (m_end_of_file || !m_buffer)
        return TEXT_FILE_END;
    long got = ReadSome(m_file, m_buffer, static_cast<size_t>(m_buffer_size));
    if (got < 0) {
        ReportFileError("TextFileReader::FillBuffer", "FileReadError", static_cast<unsigned long>(errno), m_name);
        return TEXT_FILE_ERROR;
    }
    if (got == 0) {
        m_end_of_file = true;
        return TEXT_FILE_END;
    }
    m_pos = 0;
    m_count = static_cast<int>(got);
    return 0;
}

int TextFileReader::NextByte()
{
    int result = FillBuffer();
    return result < 0 ? result : m_buffer[m_pos++];
}

int TextFileReader::NextByteSkippingCr()
{
    int c;
    do {
        c = NextByte();
    } while (c == '\r');
    return c;
}

int TextFileReader::NextUnit(bool big_endian)
{
    int first = NextByte();
    if (first < 0)
        return first;
    // A lone last byte is no unit.
    int second = NextByte();
    if (second < 0)
        return second;
    return big_endian ? (first << 8) | second : (second << 8) | first;
}

int TextFileReader::ReadByteLine(char **line, int *length)
{
    *length = 0;
    if (!Grow(line, 1))
        return TEXT_FILE_ERROR;
    int used = 0;
    bool any = false;
    bool ended_by_lf = false;
    while (!ended_by_lf && FillBuffer() == 0) {
        const unsigned char *start = m_buffer + m_pos;
        int available = m_count - m_pos;
        const void *lf = std::memchr(start, '\n', static_cast<size_t>(available));
        int take = lf ? static_cast<int>(static_cast<const unsigned char *>(lf) - start) : available;
        if (used + take > MAX_COUNT || !Grow(line, used + take + 1)) {
            (*line)[used] = 0;
            return TEXT_FILE_ERROR;
        }
        std::memcpy(*line + used, start, static_cast<size_t>(take));
        used += take;
        m_pos += take;
        any = true;
        if (lf) {
            m_pos++;
            ended_by_lf = true;
        }
    }
    if (used > 0 && (*line)[used - 1] == '\r')
        used--;
    (*line)[used] = 0;
    *length = used;
    return any ? 0 : TEXT_FILE_END;
}

int TextFileReader::ReadWordLine(uint16_t **line, int *length, bool big_endian)
{
    *length = 0;
    if (!Grow(line, 2))
        return TEXT_FILE_ERROR;
    int used = 0;
    bool any = false;
    int unit;
    while ((unit = NextUnit(big_endian)) >= 0) {
        any = true;
        if (unit == '\n')
            break;
        if (used + 1 > MAX_COUNT || !Grow(line, (used + 2) * 2)) {
            (*line)[used] = 0;
            return TEXT_FILE_ERROR;
        }
        (*line)[used++] = static_cast<uint16_t>(unit);
    }
    if (used > 0 && (*line)[used - 1] == '\r')
        used--;
    (*line)[used] = 0;
    *length = used;
    return any ? 0 : TEXT_FILE_END;
}

int ANSI_TextFileReader::ReadChar()
{
    return NextByteSkippingCr();
}

int ANSI_TextFileReader::ReadLine(char **line, const char *, int *used_default)
{
    if (used_default)
        *used_default = 0;
    int length;
    return ReadByteLine(line, &length);
}

UTF8_TextFileReader::~UTF8_TextFileReader()
{
    TextFileFreeBuffer(m_bytes);
    TextFileFreeBuffer(m_wide);
}

int UTF8_TextFileReader::ReadChar()
{
    return NextByteSkippingCr();
}

int UTF8_TextFileReader::ReadLine(char **line, const char *default_char, int *used_default)
{
    if (used_default)
        *used_default = 0;
    int length;
    int result = ReadByteLine(&m_bytes, &length);
    if (result < 0)
        return result;
    // Every byte gives at most one unit: a four-byte sequence gives two.
    if (!Grow(&m_wide, (length + 1) * 2))
        return TEXT_FILE_ERROR;
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(m_bytes);
    int units = 0;
    int i = 0;
    while (i < length) {
        unsigned lead = bytes[i];
        unsigned code;
        if (lead < 0x80) {
            code = lead;
            i++;
        } else if (lead >= 0xF8) {
            code = 0xFFFD;
            i++;
        } else {
            int extra = lead <= 0xDF ? 1 : lead <= 0xEF ? 2 : 3;
            if (i + extra >= length) {
                code = 0xFFFD;
                i = length;
            } else {
                code = lead & (extra == 1 ? 0x1Fu : extra == 2 ? 0x0Fu : 0x07u);
                for (int k = 1; k <= extra; k++)
                    code = (code << 6) | (bytes[i + k] & 0x3Fu);
                i += extra + 1;
            }
        }
        if (code > 0xFFFF) {
            if (code > 0x10FFFF)
                code = 0x10FFFF;
            code -= 0x10000;
            m_wide[units++] = static_cast<uint16_t>(0xD800 + (code >> 10));
            m_wide[units++] = static_cast<uint16_t>(0xDC00 + (code & 0x3FF));
        } else {
            m_wide[units++] = static_cast<uint16_t>(code);
        }
    }
    return TextFileWideToNarrow(m_wide, units, line, default_char, used_default) < 0 ? TEXT_FILE_ERROR : 0;
}

UTF16LE_TextFileReader::~UTF16LE_TextFileReader()
{
    TextFileFreeBuffer(m_wide);
}

int UTF16LE_TextFileReader::ReadChar()
{
    int unit;
    do {
        unit = NextUnit(false);
    } while (unit == '\r');
    return unit;
}

int UTF16LE_TextFileReader::ReadLine(char **line, const char *default_char, int *used_default)
{
    return ReadLineInOrder(line, default_char, used_default, false);
}

int UTF16LE_TextFileReader::ReadLineInOrder(char **line, const char *default_char, int *used_default,
                                            bool big_endian)
{
    if (used_default)
        *used_default = 0;
    int length;
    int result = ReadWordLine(&m_wide, &length, big_endian);
    if (result < 0)
        return result;
    return TextFileWideToNarrow(m_wide, length, line, default_char, used_default) < 0 ? TEXT_FILE_ERROR : 0;
}

int UTF16BE_TextFileReader::ReadChar()
{
    int unit;
    do {
        unit = NextUnit(true);
    } while (unit == '\r');
    return unit;
}

int UTF16BE_TextFileReader::ReadLine(char **line, const char *default_char, int *used_default)
{
    return ReadLineInOrder(line, default_char, used_default, true);
}

// --- Writers ---

TextFileWriter::TextFileWriter(const char *name, int file, int buffer_size)
    : m_name(name), m_file(file), m_buffer_size(buffer_size > 0 ? buffer_size : TEXT_FILE_DEFAULT_BUFFER_SIZE),
      m_buffer(nullptr), m_pending(0)
{
}

TextFileWriter::~TextFileWriter()
{
    EngFree(m_buffer, 0, "TextFileWriter::~TextFileWriter");
}

int TextFileWriter::WriteChar(int)
{
    return TEXT_FILE_ERROR;
}

int TextFileWriter::WriteText(const char *, int)
{
    return TEXT_FILE_ERROR;
}

int TextFileWriter::WriteByteOrderMark()
{
    return 0;
}

bool TextFileWriter::AllocBuffer()
{
    m_buffer = static_cast<unsigned char *>(
        EngMalloc(static_cast<unsigned>(m_buffer_size), "TextFileWriter::AllocBuffer", 0));
    return m_buffer != nullptr;
}

int TextFileWriter::WriteBytes(const void *data, int length)
{
    if (!data || length < 0 || !m_buffer) {
        DebugErrorCode("TextFileWriter::WriteBytes", 'BAPA');
        return TEXT_FILE_ERROR;
    }
    const unsigned char *bytes = static_cast<const unsigned char *>(data);
    while (length > 0) {
        if (m_pending == m_buffer_size && Flush() < 0)
            return TEXT_FILE_ERROR;
        int take = length < m_buffer_size - m_pending ? length : m_buffer_size - m_pending;
        std::memcpy(m_buffer + m_pending, bytes, static_cast<size_t>(take));
        m_pending += take;
        bytes += take;
        length -= take;
    }
    return 0;
}

int TextFileWriter::Flush()
{
    int pending = m_pending;
    m_pending = 0;
    if (pending == 0 || WriteAll(m_file, m_buffer, static_cast<size_t>(pending)))
        return 0;
    ReportFileError("TextFileWriter::Flush", "FileWriteError", static_cast<unsigned long>(errno), m_name);
    return TEXT_FILE_ERROR;
}

int TextFileWriter::WriteUnits(const uint16_t *units, int count, bool big_endian)
{
    for (int i = 0; i < count; i++) {
        unsigned char bytes[2];
        bytes[big_endian ? 0 : 1] = static_cast<unsigned char>(units[i] >> 8);
        bytes[big_endian ? 1 : 0] = static_cast<unsigned char>(units[i] & 0xFF);
        if (WriteBytes(bytes, 2) < 0)
            return TEXT_FILE_ERROR;
    }
    return 0;
}

int ANSI_TextFileWriter::WriteChar(int character)
{
    unsigned char byte = static_cast<unsigned char>(character & 0xFF);
    return WriteBytes(&byte, 1);
}

int ANSI_TextFileWriter::WriteText(const char *text, int length)
{
    if (!text) {
        DebugErrorCode("ANSI_TextFileWriter::WriteText", 'BAPA');
        return TEXT_FILE_ERROR;
    }
    return WriteBytes(text, TextLength(text, length));
}

int ANSI_TextFileWriter::WriteByteOrderMark()
{
    return 0;
}

UTF16LE_TextFileWriter::~UTF16LE_TextFileWriter()
{
    TextFileFreeBuffer(m_wide);
}

int UTF16LE_TextFileWriter::WriteChar(int character)
{
    char text = static_cast<char>(character);
    return WriteText(&text, 1);
}

int UTF16LE_TextFileWriter::WriteText(const char *text, int length)
{
    return WriteTextInOrder(text, length, false);
}

int UTF16LE_TextFileWriter::WriteTextInOrder(const char *text, int length, bool big_endian)
{
    if (!text) {
        DebugErrorCode("UTF16LE_TextFileWriter::WriteText", 'BAPA');
        return TEXT_FILE_ERROR;
    }
    int units = TextFileNarrowToWide(text, length, &m_wide);
    return units < 0 ? TEXT_FILE_ERROR : WriteUnits(m_wide, units, big_endian);
}

int UTF16LE_TextFileWriter::WriteByteOrderMark()
{
    const unsigned char mark[2] = {0xFF, 0xFE};
    return WriteBytes(mark, 2);
}

int UTF16BE_TextFileWriter::WriteText(const char *text, int length)
{
    return WriteTextInOrder(text, length, true);
}

int UTF16BE_TextFileWriter::WriteByteOrderMark()
{
    const unsigned char mark[2] = {0xFE, 0xFF};
    return WriteBytes(mark, 2);
}

int UTF8_TextFileWriter::WriteChar(int character)
{
    if (character < 0) {
        DebugErrorCode("UTF8_TextFileWriter::WriteChar", 'BAPA');
        return TEXT_FILE_ERROR;
    }
    unsigned char bytes[4];
    return WriteBytes(bytes, TextFileEncodeUtf8(static_cast<unsigned>(character), bytes));
}

// The text is 1252, as every reader's output is; each byte goes out as the
// UTF-8 form of its character.
int UTF8_TextFileWriter::WriteText(const char *text, int length)
{
    if (!text) {
        DebugErrorCode("UTF8_TextFileWriter::WriteText", 'BAPA');
        return TEXT_FILE_ERROR;
    }
    length = TextLength(text, length);
    for (int i = 0; i < length; i++) {
        unsigned char bytes[4];
        int count = TextFileEncodeUtf8(Cp1252ToUnicode(static_cast<unsigned char>(text[i])), bytes);
        if (WriteBytes(bytes, count) < 0)
            return TEXT_FILE_ERROR;
    }
    return 0;
}

int UTF8_TextFileWriter::WriteByteOrderMark()
{
    const unsigned char mark[3] = {0xEF, 0xBB, 0xBF};
    return WriteBytes(mark, 3);
}

// --- TextFile ---

TextFile::TextFile()
    : m_name(nullptr), m_encoding(0), m_requested_encoding(0), m_buffer_size(0), m_file(-1),
      m_reader(nullptr), m_writer(nullptr), m_byte_order_mark_due(false)
{
}

TextFile::~TextFile()
{
    Close();
}

int TextFile::Open(const char *name, int mode, int encoding, int buffer_size)
{
    const char *where = "TextFile::Open";
    Close();
    bool reading = mode == TEXT_FILE_READ;
    if (!name || !name[0] || buffer_size < 0) {
        DebugErrorCode(where, 'BAPA');
        return TEXT_FILE_ERROR;
    }
    int write_encoding = encoding == 0 ? TEXT_FILE_ANSI : encoding;
    if (!reading && (write_encoding < TEXT_FILE_ANSI || write_encoding > TEXT_FILE_UTF8)) {
        DebugError(where, "Unknown encoding %d", encoding);
        return TEXT_FILE_ERROR;
    }

    char native[NATIVE_NAME_SIZE];
    int file = -1;
    if (!PlatformPathFromAnsi(name, native, sizeof(native))) {
        errno = ENAMETOOLONG;
    } else {
        int flags = reading ? O_RDONLY : mode == TEXT_FILE_WRITE ? O_WRONLY | O_CREAT | O_TRUNC : O_WRONLY | O_CREAT;
        file = open(native, flags | O_CLOEXEC, 0666);
        // Folders open for reading here; on the desktop they do not.
        struct stat info;
        if (file >= 0 && fstat(file, &info) == 0 && S_ISDIR(info.st_mode)) {
            close(file);
            file = -1;
            errno = EISDIR;
        }
    }
    off_t end = 0;
    if (file >= 0 && !reading && mode != TEXT_FILE_WRITE && (end = lseek(file, 0, SEEK_END)) < 0) {
        int code = errno;
        close(file);
        file = -1;
        errno = code;
    }
    if (file < 0) {
        ReportFileError(where, reading ? "OpenFileError" : "OpenFileForWritingError",
                        static_cast<unsigned long>(errno), name);
        return TEXT_FILE_ERROR;
    }

    m_name = EngMallocStringFromString(name, 1, where);
    if (!m_name) {
        close(file);
        return TEXT_FILE_ERROR;
    }
    m_file = file;
    m_requested_encoding = encoding;
    m_buffer_size = buffer_size;

    int result;
    if (reading) {
        result = CreateReader();
    } else {
        // A file that already holds text has its mark, or never had one.
        m_byte_order_mark_due = end == 0;
        m_encoding = write_encoding;
        if (m_encoding == TEXT_FILE_UTF16LE)
            m_writer = new (std::nothrow) UTF16LE_TextFileWriter(m_name, m_file, m_buffer_size);
        else if (m_encoding == TEXT_FILE_UTF16BE)
            m_writer = new (std::nothrow) UTF16BE_TextFileWriter(m_name, m_file, m_buffer_size);
        else if (m_encoding == TEXT_FILE_UTF8)
            m_writer = new (std::nothrow) UTF8_TextFileWriter(m_name, m_file, m_buffer_size);
        else
            m_writer = new (std::nothrow) ANSI_TextFileWriter(m_name, m_file, m_buffer_size);
        if (!m_writer)
            DebugErrorCode(where, 'OMEM');
        result = m_writer && m_writer->AllocBuffer() ? 0 : TEXT_FILE_ERROR;
    }
    if (result < 0)
        Close();
    return result;
}

int TextFile::CreateReader()
{
    int encoding = TEXT_FILE_ANSI;
    bool empty = false;
    if (m_requested_encoding != TEXT_FILE_ANSI) {
        // The mark, byte by byte; anything else is read again from the start.
        int first = read_1_byte(m_name, m_file);
        int second = first == 0xEF || first == 0xFE || first == 0xFF ? read_1_byte(m_name, m_file) : 0;
        int third = first == 0xEF && second == 0xBB ? read_1_byte(m_name, m_file) : 0;
        if (first == TEXT_FILE_ERROR || second == TEXT_FILE_ERROR || third == TEXT_FILE_ERROR)
            return TEXT_FILE_ERROR;
        if (first == TEXT_FILE_END)
            empty = true;
        else if (first == 0xEF && second == 0xBB && third == 0xBF)
            encoding = TEXT_FILE_UTF8;
        else if (first == 0xFE && second == 0xFF)
            encoding = TEXT_FILE_UTF16BE;
        else if (first == 0xFF && second == 0xFE)
            encoding = TEXT_FILE_UTF16LE;
        else if (lseek(m_file, 0, SEEK_SET) < 0) {
            ReportFileError("TextFile::CreateReader", "FileReadError", static_cast<unsigned long>(errno), m_name);
            return TEXT_FILE_ERROR;
        }
    }
    m_encoding = encoding;
    if (empty)
        m_reader = new (std::nothrow) TextFileReader(m_name, m_file, m_buffer_size);
    else if (encoding == TEXT_FILE_UTF8)
        m_reader = new (std::nothrow) UTF8_TextFileReader(m_name, m_file, m_buffer_size);
    else if (encoding == TEXT_FILE_UTF16BE)
        m_reader = new (std::nothrow) UTF16BE_TextFileReader(m_name, m_file, m_buffer_size);
    else if (encoding == TEXT_FILE_UTF16LE)
        m_reader = new (std::nothrow) UTF16LE_TextFileReader(m_name, m_file, m_buffer_size);
    else
        m_reader = new (std::nothrow) ANSI_TextFileReader(m_name, m_file, m_buffer_size);
    if (!m_reader) {
        DebugErrorCode("TextFile::CreateReader", 'OMEM');
        return TEXT_FILE_ERROR;
    }
    // An empty file has nothing to buffer.
    return empty || m_reader->AllocBuffer() ? 0 : TEXT_FILE_ERROR;
}

int TextFile::ReadLine(int *used_default, char **line)
{
    const char *where = "TextFile::ReadLine";
    if (used_default)
        *used_default = 0;
    if (!line) {
        DebugErrorCode(where, 'BAPA');
        return TEXT_FILE_ERROR;
    }
    if (!m_reader) {
        DebugError(where, "File is not open for reading");
        return TEXT_FILE_ERROR;
    }
    return m_reader->ReadLine(line, nullptr, used_default);
}

int TextFile::WriteText(const char *text, int length)
{
    if (!m_writer) {
        DebugError("TextFile::WriteText", "File is not open for writing");
        return TEXT_FILE_ERROR;
    }
    if (m_byte_order_mark_due) {
        if (m_writer->WriteByteOrderMark() < 0)
            return TEXT_FILE_ERROR;
        m_byte_order_mark_due = false;
    }
    return m_writer->WriteText(text, length);
}

int TextFile::Flush()
{
    return m_writer ? m_writer->Flush() : 0;
}

int TextFile::Close()
{
    if (m_file < 0)
        return 0;
    int result = Flush();
    if (close(m_file) != 0 && m_writer && result == 0) {
        ReportFileError("TextFile::Close", "FileWriteError", static_cast<unsigned long>(errno), m_name);
        result = TEXT_FILE_ERROR;
    }
    delete m_reader;
    delete m_writer;
    m_reader = nullptr;
    m_writer = nullptr;
    EngFree(m_name, 0, "TextFile::Close");
    m_name = nullptr;
    m_file = -1;
    m_encoding = 0;
    m_byte_order_mark_due = false;
    return result;
}

int TextFile::GetEncoding() const
{
    return m_encoding;
}

bool TextFile::IsOpen() const
{
    return m_file >= 0;
}
