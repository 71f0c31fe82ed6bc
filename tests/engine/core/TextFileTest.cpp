#include "engine/core/TextFile.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The UTF-16 form of text given as code units, in the byte order asked.
std::string Utf16(const std::vector<unsigned> &units, bool big_endian)
{
    std::string bytes;
    for (unsigned unit : units) {
        char high = static_cast<char>(unit >> 8);
        char low = static_cast<char>(unit & 0xFF);
        bytes += big_endian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::vector<unsigned> Units(const std::string &ascii)
{
    return std::vector<unsigned>(ascii.begin(), ascii.end());
}

struct ReadResult {
    int open_result = 0;
    int encoding = 0;
    std::vector<std::string> lines;
    bool used_default = false;
};

ReadResult ReadAll(const std::string &name, int encoding = 0, int buffer_size = 0)
{
    ReadResult result;
    TextFile file;
    result.open_result = file.Open(name.c_str(), TEXT_FILE_READ, encoding, buffer_size);
    if (result.open_result < 0)
        return result;
    result.encoding = file.GetEncoding();
    char *line = nullptr;
    int used_default = 0;
    while (file.ReadLine(&used_default, &line) == 0) {
        result.lines.push_back(line);
        result.used_default = result.used_default || used_default;
    }
    EXPECT_EQ(file.ReadLine(nullptr, &line), TEXT_FILE_END) << "the end stays the end";
    TextFileFreeBuffer(line);
    return result;
}

class TextFileTest : public testing::Test {
protected:
    void SetUp() override { ResetEngineForTest(); }
};

using Lines = std::vector<std::string>;

TEST_F(TextFileTest, TheMarkChoosesTheDecoderAndLinesComeOutAs1252)
{
    const std::string bom8 = "\xEF\xBB\xBF";
    const std::string le = "\xFF\xFE";
    const std::string be = "\xFE\xFF";
    struct Case {
        const char *label;
        std::string bytes;
        int encoding;
        Lines lines;
        bool used_default;
    };
    const Case cases[] = {
        {"plain bytes", "abc\ndef\n", TEXT_FILE_ANSI, {"abc", "def"}, false},
        {"UTF-8 without a mark stays bytes", "caf\xC3\xA9\n", TEXT_FILE_ANSI, {"caf\xC3\xA9"}, false},
        {"UTF-8 with its mark", bom8 + "caf\xC3\xA9\r\n\xE2\x82\xAC 5\n", TEXT_FILE_UTF8, {"caf\xE9", "\x80 5"}, false},
        {"partial UTF-8 mark", "\xEF\xBBx\n", TEXT_FILE_ANSI, {"\xEF\xBBx"}, false},
        {"partial mark is the whole file", "\xEF\xBB", TEXT_FILE_ANSI, {"\xEF\xBB"}, false},
        {"lone FE", "\xFEq", TEXT_FILE_ANSI, {"\xFEq"}, false},
        {"UTF-16LE with CR LF", le + Utf16(Units("ab\r\ncd\r\n"), false), TEXT_FILE_UTF16LE, {"ab", "cd"}, false},
        {"UTF-16BE with CR LF", be + Utf16(Units("ab\r\ncd\r\n"), true), TEXT_FILE_UTF16BE, {"ab", "cd"}, false},
        // Euro and e-acute exist in 1252; Omega, a surrogate pair and the
        // code point of an undefined 1252 byte do not.
        {"UTF-16BE beyond Latin-1", be + Utf16({0x20AC, 0xE9, 0x3A9, 0xD83D, 0xDE00, 0x81, 'x'}, true),
         TEXT_FILE_UTF16BE, {"\x80\xE9??" "?x"}, true},
        {"UTF-16LE lone surrogate", le + Utf16({'a', 0xDC00, 'b'}, false), TEXT_FILE_UTF16LE, {"a?b"}, true},
        {"UTF-16LE odd last byte", le + Utf16(Units("ok"), false) + "z", TEXT_FILE_UTF16LE, {"ok"}, false},
        {"no final LF", "x\ny", TEXT_FILE_ANSI, {"x", "y"}, false},
        {"CR only before LF or at the end is dropped", "a\rb\r\n\r", TEXT_FILE_ANSI, {"a\rb", ""}, false},
        {"empty lines", "\n\nz\n", TEXT_FILE_ANSI, {"", "", "z"}, false},
        {"UTF-8 cut inside a three-byte sequence", bom8 + "ab\xE2\x82", TEXT_FILE_UTF8, {"ab?"}, true},
        {"UTF-8 four bytes and a byte of F8", bom8 + "\xF0\x9F\x98\x80|\xF8|\xC2\x81", TEXT_FILE_UTF8, {"?|?|?"},
         true},
        {"UTF-8 mark only", bom8, TEXT_FILE_UTF8, {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        WriteWhole("t.txt", c.bytes);
        ReadResult result = ReadAll("t.txt");
        EXPECT_EQ(result.open_result, 0);
        EXPECT_EQ(result.encoding, c.encoding);
        EXPECT_EQ(result.lines, c.lines);
        EXPECT_EQ(result.used_default, c.used_default);
    }
    EXPECT_EQ(StoredLines(), Lines{});
}

TEST_F(TextFileTest, EmptyFileAndForcedPlainBytes)
{
    WriteWhole("empty.txt", "");
    TextFile file;
    ASSERT_EQ(file.Open("empty.txt", TEXT_FILE_READ, 0, 0), 0);
    char *line = nullptr;
    EXPECT_EQ(file.ReadLine(nullptr, &line), TEXT_FILE_END);
    TextFileFreeBuffer(line);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_FALSE(file.IsOpen());

    // Encoding 1 reads a marked file as bytes, mark included.
    WriteWhole("marked.txt", "\xEF\xBB\xBFhi\n");
    ReadResult result = ReadAll("marked.txt", TEXT_FILE_ANSI);
    EXPECT_EQ(result.encoding, TEXT_FILE_ANSI);
    EXPECT_EQ(result.lines, Lines{"\xEF\xBB\xBFhi"});
}

TEST_F(TextFileTest, LinesSurviveEveryBufferBoundary)
{
    std::string long_line(3000, 'q');
    std::string text = "first\r\n" + long_line + "\r\nlast";
    std::vector<unsigned> units = Units(text);
    units.insert(units.begin() + 2, 0x20AC);
    std::string bom8 = "\xEF\xBB\xBF";
    std::string bom8_text = "fi\xE2\x82\xAC" "rst\r\n" + long_line + "\r\nlast";
    Lines expected = {"fi\x80rst", long_line, "last"};
    for (int size : {1, 2, 3, 7, 1024, 0}) {
        SCOPED_TRACE(size);
        WriteWhole("le.txt", "\xFF\xFE" + Utf16(units, false));
        EXPECT_EQ(ReadAll("le.txt", 0, size).lines, expected);
        WriteWhole("be.txt", "\xFE\xFF" + Utf16(units, true));
        EXPECT_EQ(ReadAll("be.txt", 0, size).lines, expected);
        WriteWhole("u8.txt", bom8 + bom8_text);
        EXPECT_EQ(ReadAll("u8.txt", 0, size).lines, expected);
        WriteWhole("an.txt", "first\r\n" + long_line + "\r\nlast");
        EXPECT_EQ(ReadAll("an.txt", 0, size).lines, (Lines{"first", long_line, "last"}));
    }
}

TEST_F(TextFileTest, OpenFailuresReportTheSystemError)
{
    TextFile file;
    EXPECT_EQ(file.Open("missing.txt", TEXT_FILE_READ, 0, 0), TEXT_FILE_ERROR);
    EXPECT_FALSE(file.IsOpen());
    fs::create_directories("folder");
    EXPECT_EQ(file.Open("folder", TEXT_FILE_READ, 0, 0), TEXT_FILE_ERROR);
    EXPECT_EQ(file.Open("nowhere\\out.txt", TEXT_FILE_WRITE, TEXT_FILE_UTF8, 0), TEXT_FILE_ERROR);
    EXPECT_EQ(file.Open("bad.txt", TEXT_FILE_WRITE, 7, 0), TEXT_FILE_ERROR);
    EXPECT_FALSE(fs::exists("bad.txt")) << "a refused encoding creates no file";
    EXPECT_EQ(StoredLines(),
              (Lines{ErrorLine("TextFile::Open", "OpenFileError (2 missing.txt No such file or directory)"),
                     ErrorLine("TextFile::Open", "OpenFileError (21 folder Is a directory)"),
                     ErrorLine("TextFile::Open",
                               "OpenFileForWritingError (2 nowhere\\out.txt No such file or directory)"),
                     ErrorLine("TextFile::Open", "Unknown encoding 7")}));
    EXPECT_EQ(file.ReadLine(nullptr, nullptr), TEXT_FILE_ERROR);
}

TEST_F(TextFileTest, WritersPutOutTheMarkAndTheTextIn1252)
{
    // Euro, e-acute and an undefined 1252 byte.
    const char *text = "\x80\xE9\x81\n";
    struct Case {
        int encoding;
        std::string expected;
    };
    const Case cases[] = {
        {0, "\x80\xE9\x81\n"},
        {TEXT_FILE_ANSI, "\x80\xE9\x81\n"},
        {TEXT_FILE_UTF8, "\xEF\xBB\xBF\xE2\x82\xAC\xC3\xA9?\n"},
        {TEXT_FILE_UTF16LE, "\xFF\xFE" + Utf16({0x20AC, 0xE9, '?', '\n'}, false)},
        {TEXT_FILE_UTF16BE, "\xFE\xFF" + Utf16({0x20AC, 0xE9, '?', '\n'}, true)},
    };
    fs::create_directories("sub");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.encoding);
        TextFile file;
        // A buffer of 3 bytes makes most writes flush on the way.
        ASSERT_EQ(file.Open("sub\\w.txt", TEXT_FILE_WRITE, c.encoding, 3), 0);
        EXPECT_EQ(file.GetEncoding(), c.encoding ? c.encoding : TEXT_FILE_ANSI);
        EXPECT_EQ(file.WriteText(text, -1), 0);
        EXPECT_EQ(file.Close(), 0);
        EXPECT_EQ(ReadWhole("sub/w.txt"), c.expected);

        // Appending to a file that holds text adds no second mark.
        ASSERT_EQ(file.Open("sub/w.txt", TEXT_FILE_APPEND, c.encoding, 0), 0);
        EXPECT_EQ(file.WriteText("ab", 1), 0);
        EXPECT_EQ(file.Close(), 0);
        ReadResult back = ReadAll("sub/w.txt");
        Lines expected_lines = {c.encoding > TEXT_FILE_ANSI ? "\x80\xE9?" : "\x80\xE9\x81", "a"};
        EXPECT_EQ(back.lines, expected_lines);
    }
    // Appending to a new file starts with the mark.
    fs::remove("n.txt");
    TextFile file;
    ASSERT_EQ(file.Open("n.txt", TEXT_FILE_APPEND, TEXT_FILE_UTF16BE, 0), 0);
    EXPECT_EQ(file.WriteText("A", -1), 0);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(ReadWhole("n.txt"), std::string("\xFE\xFF\0A", 4));
    EXPECT_EQ(StoredLines(), Lines{});
}

TEST_F(TextFileTest, WriterCharactersByKind)
{
    struct Case {
        int encoding;
        int character;
        std::string expected;
    };
    const Case cases[] = {
        {TEXT_FILE_ANSI, 0x1E9, "\xE9"},
        {TEXT_FILE_UTF8, 0x20AC, "\xE2\x82\xAC"},
        {TEXT_FILE_UTF8, 0x1F600, "\xF0\x9F\x98\x80"},
        {TEXT_FILE_UTF8, 0x110000, "\xEF\xBF\xBD"},
        {TEXT_FILE_UTF16LE, 0x80, Utf16({0x20AC}, false)},
        {TEXT_FILE_UTF16BE, 0xE9, Utf16({0xE9}, true)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.character);
        int fd = open("c.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        TextFileWriter *writer = nullptr;
        if (c.encoding == TEXT_FILE_ANSI)
            writer = new ANSI_TextFileWriter("c.txt", fd, 0);
        else if (c.encoding == TEXT_FILE_UTF8)
            writer = new UTF8_TextFileWriter("c.txt", fd, 0);
        else if (c.encoding == TEXT_FILE_UTF16LE)
            writer = new UTF16LE_TextFileWriter("c.txt", fd, 0);
        else
            writer = new UTF16BE_TextFileWriter("c.txt", fd, 0);
        ASSERT_TRUE(writer->AllocBuffer());
        EXPECT_EQ(writer->WriteChar(c.character), 0);
        EXPECT_EQ(writer->Flush(), 0);
        delete writer;
        close(fd);
        EXPECT_EQ(ReadWhole("c.txt"), c.expected);
    }
}

TEST_F(TextFileTest, ReadCharSkipsCarriageReturns)
{
    WriteWhole("r.txt", "\xFE\xFF" + Utf16({'a', '\r', '\n', 0x20AC}, true));
    int fd = open("r.txt", O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(lseek(fd, 2, SEEK_SET), 2);
    UTF16BE_TextFileReader wide("r.txt", fd, 3);
    ASSERT_TRUE(wide.AllocBuffer());
    std::vector<int> got;
    for (int c; (c = wide.ReadChar()) >= 0;)
        got.push_back(c);
    EXPECT_EQ(got, (std::vector<int>{'a', '\n', 0x20AC}));
    close(fd);

    WriteWhole("r.txt", "\r\rx\r\ny");
    fd = open("r.txt", O_RDONLY);
    ANSI_TextFileReader bytes("r.txt", fd, 0);
    ASSERT_TRUE(bytes.AllocBuffer());
    got.clear();
    for (int c; (c = bytes.ReadChar()) >= 0;)
        got.push_back(c);
    EXPECT_EQ(got, (std::vector<int>{'x', '\n', 'y'}));
    close(fd);
}

TEST_F(TextFileTest, ReadAndWriteErrorsAreReported)
{
    // A folder opened behind the file layer's back cannot be read.
    fs::create_directories("dir");
    int fd = open("dir", O_RDONLY);
    ASSERT_GE(fd, 0);
    {
        ANSI_TextFileReader reader("dir", fd, 0);
        ASSERT_TRUE(reader.AllocBuffer());
        char *line = nullptr;
        EXPECT_EQ(reader.ReadLine(&line, nullptr, nullptr), TEXT_FILE_END) << "an error ends the line";
        TextFileFreeBuffer(line);
    }
    close(fd);
    EXPECT_EQ(StoredLines(),
              Lines{ErrorLine("TextFileReader::FillBuffer", "FileReadError (21 dir Is a directory)")});

    ResetEngineForTest();
    TextFile file;
    ASSERT_EQ(file.Open("/dev/full", TEXT_FILE_WRITE, TEXT_FILE_ANSI, 0), 0);
    EXPECT_EQ(file.WriteText("data", -1), 0) << "the text waits in the buffer";
    EXPECT_EQ(file.Flush(), TEXT_FILE_ERROR);
    EXPECT_EQ(file.WriteText("more", -1), 0);
    EXPECT_EQ(file.Close(), TEXT_FILE_ERROR);
    std::string line = ErrorLine("TextFileWriter::Flush", "FileWriteError (28 /dev/full No space left on device)");
    EXPECT_EQ(StoredLines(), (Lines{line, line}));
}

TEST_F(TextFileTest, GrowableBuffers)
{
    struct Header {
        char magic[4];
        int capacity;
        int size;
    };
    auto header = [](void *data) { return reinterpret_cast<Header *>(static_cast<char *>(data) - 12); };

    char *data = static_cast<char *>(TextFileGrowBuffer(nullptr, 1));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(header(data)->magic, 4), "HWSG");
    EXPECT_EQ(header(data)->capacity, 1024);
    EXPECT_EQ(header(data)->size, 1);
    std::memcpy(data, "keep", 5);

    EXPECT_EQ(TextFileGrowBuffer(data, 1024), data) << "big enough: the same block";
    EXPECT_EQ(header(data)->size, 1024);
    data = static_cast<char *>(TextFileGrowBuffer(data, 1025));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(header(data)->capacity, 2048);
    EXPECT_STREQ(data, "keep");
    TextFileFreeBuffer(data);
    TextFileFreeBuffer(nullptr);
    EXPECT_EQ(StoredLines(), Lines{});

    // Someone else's block is left alone.
    char plain[32] = {};
    EXPECT_EQ(TextFileGrowBuffer(plain + 12, 10), nullptr);
    TextFileFreeBuffer(plain + 12);
    EXPECT_EQ(TextFileGrowBuffer(nullptr, -1), nullptr);
    EXPECT_EQ(StoredLines(), (Lines{ErrorLine("TextFileGrowBuffer", "Not a text file buffer"),
                                    ErrorLine("TextFileFreeBuffer", "Not a text file buffer"),
                                    ErrorLine("TextFileGrowBuffer", "Bad parameters.")}));
}

TEST_F(TextFileTest, ConversionHelpers)
{
    char *narrow = nullptr;
    int used_default = 0;
    const uint16_t wide[] = {'a', 0x2122, 0x4E2D, 0};
    EXPECT_EQ(TextFileWideToNarrow(wide, -1, &narrow, "#", &used_default), 3);
    EXPECT_STREQ(narrow, "a\x99#");
    EXPECT_EQ(used_default, 1);
    EXPECT_EQ(TextFileWideToNarrow(wide, 1, &narrow, nullptr, &used_default), 1);
    EXPECT_STREQ(narrow, "a");
    EXPECT_EQ(used_default, 0);
    TextFileFreeBuffer(narrow);

    uint16_t *units = nullptr;
    EXPECT_EQ(TextFileNarrowToWide("\x80\x9F\x8D", -1, &units), 3);
    EXPECT_EQ(units[0], 0x20AC);
    EXPECT_EQ(units[1], 0x178);
    EXPECT_EQ(units[2], '?');
    EXPECT_EQ(units[3], 0);
    TextFileFreeBuffer(units);

    char *text = TextFileGetErrorText(2);
    EXPECT_STREQ(text, "No such file or directory");
    EngFree(text, 0, "test");
    text = TextFileGetErrorText(999999);
    EXPECT_STREQ(text, "");
    EngFree(text, 0, "test");
}

} // namespace
