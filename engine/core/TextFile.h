// Encoded text files: TextFile reads a text file line by line as the
// program's 8-bit text (Windows-1252), whatever the file's encoding, and
// writes 8-bit text in a chosen encoding.
//
// A file being read tells its encoding by its byte-order mark: EF BB BF
// UTF-8, FF FE UTF-16 little-endian, FE FF UTF-16 big-endian; a file without
// a mark (a partial mark included) is read as plain bytes, unconverted.
// Characters that 1252 cannot show, and the five code points of the bytes
// 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D), become the default
// character ('?' unless one is given) and set the used-default flag.
//
// Lines end at LF; a CR directly before the LF, or as the last byte of the
// file, is dropped. A last line without LF is still a line.
//
// Results: 0 success, TEXT_FILE_END (-1) at the end of the file,
// TEXT_FILE_ERROR (-2) on failure. Failures are reported with the system's
// error number, the file name and the system's text for the number.
#pragma once

#include <cstdint>

enum {
    TEXT_FILE_END = -1,
    TEXT_FILE_ERROR = -2,
};

// Encodings.
enum {
    TEXT_FILE_ANSI = 1,
    TEXT_FILE_UTF16LE = 2,
    TEXT_FILE_UTF16BE = 3,
    TEXT_FILE_UTF8 = 4,
};

// Open modes; any value other than these two appends.
enum {
    TEXT_FILE_READ = 1,
    TEXT_FILE_WRITE = 2,
    TEXT_FILE_APPEND = 3,
};

enum {
    TEXT_FILE_DEFAULT_BUFFER_SIZE = 4096,
};

// Growable buffers: a heap block with a 12-byte header (the bytes "HWSG",
// the capacity and the requested size, both int) before the data that the
// caller holds. Capacities are multiples of 1024. Lines from ReadLine live
// in such buffers.
//
// Returns a data pointer with room for at least size bytes: data itself when
// it is big enough, else the block grown (contents kept) or a new one (data
// null). On failure, null; the old block is then still the caller's.
void *TextFileGrowBuffer(void *data, int size);
void TextFileFreeBuffer(void *data);

// Converts count UTF-16 units (negative: up to a zero unit) to 1252 into the
// growable buffer *out, terminated. Returns the number of bytes
// written, or -1 when the buffer cannot be had.
int TextFileWideToNarrow(const uint16_t *text, int count, char **out, const char *default_char,
                         int *used_default);
// Converts count 1252 bytes (negative: up to the terminator) to UTF-16 into
// the growable buffer *out, terminated. Returns the number of units written,
// or -1 when the buffer cannot be had.
int TextFileNarrowToWide(const char *text, int count, uint16_t **out);
// Writes the UTF-8 form of code (1 to 4 bytes) to out and returns its length;
// a code above U+10FFFF is written as U+FFFD.
int TextFileEncodeUtf8(unsigned code, unsigned char *out);
// The system's text for an error number, as a new EngMalloc text (free it
// with EngFree); "" when the system has none. Null only when out of memory.
char *TextFileGetErrorText(unsigned long code);
// One byte from the file: 0..255, TEXT_FILE_END or TEXT_FILE_ERROR.
int read_1_byte(const char *name, int file);

// Reads buffered bytes from an open file. This base kind reads nothing: it
// stands for an empty file.
class TextFileReader {
public:
    TextFileReader(const char *name, int file, int buffer_size);
    virtual ~TextFileReader();
    TextFileReader(const TextFileReader &) = delete;
    TextFileReader &operator=(const TextFileReader &) = delete;

    // The next character of the file, CRs skipped.
    virtual int ReadChar();
    // The next line into the growable buffer *line as 1252 text.
    virtual int ReadLine(char **line, const char *default_char, int *used_default);

    // False when the buffer cannot be had.
    bool AllocBuffer();
    // 0 data ready, TEXT_FILE_END, or TEXT_FILE_ERROR after a report.
    int FillBuffer();

protected:
    int NextByte();
    // The next byte other than CR.
    int NextByteSkippingCr();
    // The next 16-bit unit in host order; big_endian tells the file's order.
    int NextUnit(bool big_endian);
    // Bytes up to LF into *line, terminated, its length in *length.
    int ReadByteLine(char **line, int *length);
    // Units up to LF into *line, terminated, its length in *length.
    int ReadWordLine(uint16_t **line, int *length, bool big_endian);

    const char *m_name;
    int m_file;
    int m_buffer_size;
    unsigned char *m_buffer;
    int m_pos;
    int m_count;
    bool m_end_of_file;
};

class ANSI_TextFileReader : public TextFileReader {
public:
    using TextFileReader::TextFileReader;
    int ReadChar() override;
    int ReadLine(char **line, const char *default_char, int *used_default) override;
};

class UTF8_TextFileReader : public TextFileReader {
public:
    using TextFileReader::TextFileReader;
    ~UTF8_TextFileReader() override;
    int ReadChar() override;
    int ReadLine(char **line, const char *default_char, int *used_default) override;

private:
    char *m_bytes = nullptr;
    uint16_t *m_wide = nullptr;
};

class UTF16LE_TextFileReader : public TextFileReader {
public:
    using TextFileReader::TextFileReader;
    ~UTF16LE_TextFileReader() override;
    int ReadChar() override;
    int ReadLine(char **line, const char *default_char, int *used_default) override;

protected:
    int ReadLineInOrder(char **line, const char *default_char, int *used_default, bool big_endian);

    uint16_t *m_wide = nullptr;
};

class UTF16BE_TextFileReader : public UTF16LE_TextFileReader {
public:
    using UTF16LE_TextFileReader::UTF16LE_TextFileReader;
    int ReadChar() override;
    int ReadLine(char **line, const char *default_char, int *used_default) override;
};

// Buffered writes to an open file. This base kind writes nothing.
class TextFileWriter {
public:
    TextFileWriter(const char *name, int file, int buffer_size);
    virtual ~TextFileWriter();
    TextFileWriter(const TextFileWriter &) = delete;
    TextFileWriter &operator=(const TextFileWriter &) = delete;

    virtual int WriteChar(int character);
    // length bytes of 1252 text (negative: up to the terminator).
    virtual int WriteText(const char *text, int length);
    virtual int WriteByteOrderMark();

    bool AllocBuffer();
    int WriteBytes(const void *data, int length);
    int Flush();

protected:
    // Writes units in the file's byte order.
    int WriteUnits(const uint16_t *units, int count, bool big_endian);

    const char *m_name;
    int m_file;
    int m_buffer_size;
    unsigned char *m_buffer;
    int m_pending;
};

class ANSI_TextFileWriter : public TextFileWriter {
public:
    using TextFileWriter::TextFileWriter;
    // The low byte.
    int WriteChar(int character) override;
    int WriteText(const char *text, int length) override;
    int WriteByteOrderMark() override;
};

class UTF16LE_TextFileWriter : public TextFileWriter {
public:
    using TextFileWriter::TextFileWriter;
    ~UTF16LE_TextFileWriter() override;
    // The character as a one-byte 1252 text.
    int WriteChar(int character) override;
    int WriteText(const char *text, int length) override;
    int WriteByteOrderMark() override;

protected:
    int WriteTextInOrder(const char *text, int length, bool big_endian);

    uint16_t *m_wide = nullptr;
};

class UTF16BE_TextFileWriter : public UTF16LE_TextFileWriter {
public:
    using UTF16LE_TextFileWriter::UTF16LE_TextFileWriter;
    int WriteText(const char *text, int length) override;
    int WriteByteOrderMark() override;
};

class UTF8_TextFileWriter : public TextFileWriter {
public:
    using TextFileWriter::TextFileWriter;
    // The character as a Unicode code point.
    int WriteChar(int character) override;
    int WriteText(const char *text, int length) override;
    int WriteByteOrderMark() override;
};

class TextFile {
public:
    TextFile();
    ~TextFile();
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    // mode TEXT_FILE_READ: the file must exist, encoding TEXT_FILE_ANSI reads
    // it as bytes and any other value goes by its mark. TEXT_FILE_WRITE
    // creates or truncates; other modes create or append. Writing takes
    // encoding 0 as TEXT_FILE_ANSI. buffer_size 0 means 4096. An open file
    // is closed first.
    int Open(const char *name, int mode, int encoding, int buffer_size);
    // Pass a null *line the first time and the same pointer afterwards; the
    // reader may replace it. Free it with TextFileFreeBuffer. used_default
    // (may be null) tells whether a character became the default one.
    int ReadLine(int *used_default, char **line);
    // Writes length bytes of text (negative: up to the terminator), preceded
    // by the byte-order mark when the file was new or empty.
    int WriteText(const char *text, int length);
    int Flush();
    int Close();

    // The encoding in use: the one read from the mark, or the one written.
    int GetEncoding() const;
    bool IsOpen() const;

private:
    int CreateReader();

    char *m_name;
    int m_encoding;
    int m_requested_encoding;
    int m_buffer_size;
    int m_file;
    TextFileReader *m_reader;
    TextFileWriter *m_writer;
    bool m_byte_order_mark_due;
};
