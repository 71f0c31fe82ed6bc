#include "engine/core/EngFile.h"
#include "engine/core/EngDebug.h"
#include "platform/win32/Win32Files.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class EngFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineForTest();
        folder = fs::current_path() / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { PlatformSetRenameFunction(nullptr); }

    std::string Path(const std::string &name) const { return (folder / name).string(); }

    fs::path folder;
};

enum OpenMode { READ, READ_QUIETLY, CREATE, WRITE, APPEND };

struct OpenCase {
    const char *label;
    OpenMode mode;
    const char *name; // relative to the test folder; "" means the empty name, null a null name
    bool exists_before;
    bool opens;
    const char *where;
    const char *report; // null: nothing stored
};

char Open(EngFile *file, OpenMode mode, const char *name)
{
    switch (mode) {
    case READ: return file->OpenForReading(name, 0, 1);
    case READ_QUIETLY: return file->OpenForReadingQuietly(name, 0);
    case CREATE: return file->CreateForWriting(name, 0);
    case WRITE: return file->OpenForWriting(name, 0);
    case APPEND: return file->OpenForAppending(name, 0);
    }
    return 0;
}

TEST_F(EngFileTest, OpenModesAndTheirRefusals)
{
    const OpenCase cases[] = {
        {"read existing", READ, "f.bin", true, true, nullptr, nullptr},
        {"read missing", READ, "f.bin", false, false, "EngFile::OpenForReading", "Could not open file <%s>"},
        {"read missing quietly", READ_QUIETLY, "f.bin", false, false, nullptr, nullptr},
        {"read empty name", READ, "", false, false, "EngFile::OpenForReading", "No filename specified"},
        {"read empty name quietly", READ_QUIETLY, "", false, false, nullptr, nullptr},
        {"read null name", READ, nullptr, false, false, "EngFile::OpenForReading", "No filename specified"},
        {"read a folder", READ, "sub", false, false, "EngFile::OpenForReading", "Could not open file <%s>"},
        {"create new", CREATE, "f.bin", false, true, nullptr, nullptr},
        {"create existing", CREATE, "f.bin", true, true, nullptr, nullptr},
        {"create empty name", CREATE, "", false, false, "EngFile::CreateForWriting", "No filename specified"},
        {"create in missing folder", CREATE, "no/f.bin", false, false, "EngFile::CreateForWriting",
         "Could not create file <%s>"},
        {"write new", WRITE, "f.bin", false, true, nullptr, nullptr},
        {"write empty name", WRITE, "", false, false, "EngFile::OpenForWriting", "No filename specified"},
        // Its open failure is not logged: the log's own file opens this way.
        {"write in missing folder", WRITE, "no/f.bin", false, false, nullptr, nullptr},
        {"append new", APPEND, "f.bin", false, true, nullptr, nullptr},
        {"append existing", APPEND, "f.bin", true, true, nullptr, nullptr},
        {"append null name", APPEND, nullptr, false, false, "EngFile::OpenForAppending", "No filename specified"},
        {"append in missing folder", APPEND, "no/f.bin", false, false, "EngFile::OpenForAppending",
         "Could not open or create file <%s>"},
    };
    fs::create_directories(folder / "sub");
    for (const OpenCase &c : cases) {
        SCOPED_TRACE(c.label);
        ResetEngineForTest();
        fs::remove(folder / "f.bin");
        if (c.exists_before)
            WriteWhole(folder / "f.bin", "abc");
        std::string name = c.name ? (c.name[0] ? Path(c.name) : "") : "";
        EngFile file;
        EXPECT_EQ(Open(&file, c.mode, c.name ? name.c_str() : nullptr), c.opens ? 1 : 0);

        std::vector<std::string> expected;
        if (c.report) {
            char message[1024];
            snprintf(message, sizeof(message), c.report, name.c_str());
            expected.push_back(ErrorLine(c.where, message));
        }
        EXPECT_EQ(StoredLines(), expected);
        if (!c.opens) {
            EXPECT_FALSE(file.Write("x", 1)) << "a failed open leaves the object closed";
        }
    }
    // What each writing mode leaves of an existing file.
    WriteWhole(folder / "f.bin", "abc");
    {
        EngFile file;
        ASSERT_TRUE(file.OpenForAppending(Path("f.bin").c_str(), 0));
        ASSERT_TRUE(file.Write("de", 2));
    }
    EXPECT_EQ(ReadWhole(folder / "f.bin"), "abcde");
    {
        EngFile file;
        ASSERT_TRUE(file.OpenForWriting(Path("f.bin").c_str(), 0));
        ASSERT_TRUE(file.Write("z", 1));
    }
    EXPECT_EQ(ReadWhole(folder / "f.bin"), "z");
}

TEST_F(EngFileTest, ReopeningAnOpenObjectReportsOnceAndOpensTheNewName)
{
    WriteWhole(folder / "a.txt", "A");
    WriteWhole(folder / "b.txt", "B");
    EngFile file;
    ASSERT_TRUE(file.OpenForReading(Path("a.txt").c_str(), 0, 1));
    ASSERT_TRUE(file.OpenForReading(Path("b.txt").c_str(), 0, 1));
    char c = 0;
    ASSERT_TRUE(file.Read(&c, 1, 1));
    EXPECT_EQ(c, 'B');
    EXPECT_EQ(StoredLines(),
              std::vector<std::string>{ErrorLine("EngFile::OpenForReading",
                                                 "File was already opened [" + Path("b.txt") + "]")});

    // The writers check the name before the open object.
    ResetEngineForTest();
    EXPECT_FALSE(file.CreateForWriting("", 0));
    EXPECT_EQ(StoredLines(),
              std::vector<std::string>{ErrorLine("EngFile::CreateForWriting", "No filename specified")});
    ASSERT_TRUE(file.Read(&c, 1, 0) == 0) << "still open on b.txt, at its end";
}

TEST_F(EngFileTest, ReadsAndWritesCheckTheirStreamAndReportShortTransfers)
{
    WriteWhole(folder / "abc.bin", "abc");
    char buffer[16] = {};
    struct Case {
        const char *label;
        std::function<char(EngFile &)> act;
        bool ok;
        std::string line; // empty: nothing stored
    };
    auto open_read = [&](EngFile &f) { return f.OpenForReading(Path("abc.bin").c_str(), 0, 1); };
    auto open_write = [&](EngFile &f) { return f.CreateForWriting(Path("out.bin").c_str(), 0); };
    const std::vector<Case> cases = {
        {"read closed", [&](EngFile &f) { return f.Read(buffer, 1, 1); }, false,
         ErrorLine("EngFile::Read", "File is not open")},
        {"read from writer", [&](EngFile &f) { return open_write(f) && f.Read(buffer, 1, 1); }, false,
         ErrorLine("EngFile::Read", "File is not open for reading")},
        {"read to null", [&](EngFile &f) { return open_read(f) && f.Read(nullptr, 1, 1); }, false,
         ErrorLine("EngFile::Read", "Nowhere to read to")},
        {"read 0 bytes quietly", [&](EngFile &f) { return open_read(f) && f.Read(buffer, 0, 0); }, false, ""},
        {"read 0 bytes reported", [&](EngFile &f) { return open_read(f) && f.Read(buffer, 0, 1); }, false,
         ErrorLine("EngFile::Read", "Could not read from file")},
        {"read past the end", [&](EngFile &f) { return open_read(f) && f.Read(buffer, 5, 0); }, false,
         ErrorLine("EngFile::Read", "Problem reading from file [ read 3 not 5 ]")},
        {"read exactly", [&](EngFile &f) { return open_read(f) && f.Read(buffer, 3, 1); }, true, ""},
        {"line closed", [&](EngFile &f) { return f.ReadLine(buffer, 16); }, false,
         ErrorLine("EngFile::ReadLine", "File is not open")},
        {"line at the end", [&](EngFile &f) { return open_read(f) && f.Read(buffer, 3, 1) && f.ReadLine(buffer, 16); },
         false, ""},
        {"write to reader", [&](EngFile &f) { return open_read(f) && f.Write("x", 1); }, false,
         ErrorLine("EngFile::Write", "File is not open for writing")},
        {"write from null", [&](EngFile &f) { return open_write(f) && f.Write(nullptr, 1); }, false,
         ErrorLine("EngFile::Write", "Nowhere to write from")},
        {"write 0 bytes", [&](EngFile &f) { return open_write(f) && f.Write("x", 0); }, false,
         ErrorLine("EngFile::Write", "Could not write to file")},
        {"printf closed", [&](EngFile &f) { return f.Printf("x"); }, false,
         ErrorLine("EngFile::Printf", "File is not open")},
        {"printf to reader", [&](EngFile &f) { return open_read(f) && f.Printf("x"); }, false,
         ErrorLine("EngFile::Printf", "File is not open for writing")},
        {"printf empty", [&](EngFile &f) { return open_write(f) && f.Printf("%s", ""); }, true, ""},
        {"rewind closed", [&](EngFile &f) { return f.Rewind(); }, false,
         ErrorLine("EngFile::Rewind", "File is not opened")},
        {"end closed", [&](EngFile &f) { return f.MoveToEnd(); }, false,
         ErrorLine("EngFile::MoveToEnd", "File is not opened")},
        {"size closed", [&](EngFile &f) { return static_cast<char>(f.GetSize() != 0); }, false,
         ErrorLine("EngFile::GetSize", "File is not opened")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        ResetEngineForTest();
        EngFile file;
        EXPECT_EQ(c.act(file) != 0, c.ok);
        std::vector<std::string> expected;
        if (!c.line.empty())
            expected.push_back(c.line);
        EXPECT_EQ(StoredLines(), expected);
    }
    EXPECT_EQ(fs::file_size(folder / "out.bin"), 0u) << "an empty Printf writes nothing";
}

TEST_F(EngFileTest, PrintfCutsLongOutputAt2058Characters)
{
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(Path("long.txt").c_str(), 1));
    std::string long_text(3000, 'x');
    EXPECT_TRUE(file.Printf("%s", long_text.c_str()));
    EXPECT_TRUE(file.Printf("%d\n", 42));
    file.Close();
    EXPECT_EQ(ReadWhole(folder / "long.txt"), std::string(2058, 'x') + "42\n");
}

TEST_F(EngFileTest, TextModeDropsTheCarriageReturnOfEachLineEnd)
{
    WriteWhole(folder / "crlf.txt", "one\r\ntwo\rthree\r\n\r\nend");
    EngFile file;
    ASSERT_TRUE(file.OpenForReading(Path("crlf.txt").c_str(), 1, 1));
    char line[64];
    std::vector<std::string> lines;
    while (file.ReadLine(line, sizeof(line)))
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one\n", "two\rthree\n", "\n", "end"}));

    // A line cut just before its line feed still loses the CR.
    ASSERT_TRUE(file.Rewind());
    ASSERT_TRUE(file.ReadLine(line, 5));
    EXPECT_STREQ(line, "one\n");
    ASSERT_TRUE(file.ReadLine(line, 5));
    EXPECT_STREQ(line, "two\r");

    ASSERT_TRUE(file.Rewind());
    char bytes[8] = {};
    ASSERT_TRUE(file.Read(bytes, 7, 1));
    EXPECT_EQ(std::string(bytes, 7), "one\ntwo");

    // Binary mode keeps every byte.
    EngFile binary;
    ASSERT_TRUE(binary.OpenForReading(Path("crlf.txt").c_str(), 0, 1));
    ASSERT_TRUE(binary.ReadLine(line, sizeof(line)));
    EXPECT_STREQ(line, "one\r\n");

    // Writes put out '\n' as it is.
    EngFile writer;
    ASSERT_TRUE(writer.CreateForWriting(Path("lf.txt").c_str(), 1));
    ASSERT_TRUE(writer.Printf("a\nb\n"));
    writer.Close();
    EXPECT_EQ(ReadWhole(folder / "lf.txt"), "a\nb\n");
}

TEST_F(EngFileTest, GetSizeLeavesThePositionWhereItWas)
{
    WriteWhole(folder / "ten.bin", "0123456789");
    EngFile file;
    ASSERT_TRUE(file.OpenForReading(Path("ten.bin").c_str(), 0, 1));
    char buffer[4] = {};
    ASSERT_TRUE(file.Read(buffer, 3, 1));
    EXPECT_EQ(file.GetSize(), 10u);
    ASSERT_TRUE(file.Read(buffer, 1, 1));
    EXPECT_EQ(buffer[0], '3');
    ASSERT_TRUE(file.MoveToEnd());
    EXPECT_FALSE(file.Read(buffer, 1, 0));
}

TEST_F(EngFileTest, ExistsIsForFilesAndDirectoryExistsForFolders)
{
    WriteWhole(folder / "file", "x");
    fs::create_directories(folder / "dir");
    EXPECT_TRUE(EngFileExists(Path("file").c_str(), 1));
    EXPECT_FALSE(EngFileExists(Path("dir").c_str(), 0));
    EXPECT_FALSE(EngFileExists(Path("missing").c_str(), 0));
    EXPECT_TRUE(EngFileDirectoryExists(Path("dir").c_str()));
    EXPECT_FALSE(EngFileDirectoryExists(Path("file").c_str()));
    EXPECT_FALSE(EngFileDirectoryExists(Path("missing").c_str()));
    EXPECT_EQ(DebugGetNumMessages(), 0) << "quiet unless asked";

    EXPECT_FALSE(EngFileExists(Path("missing").c_str(), 1));
    EXPECT_FALSE(EngFileExists("", 0));
    EXPECT_FALSE(EngFileDirectoryExists(nullptr));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngFileExists", "File not found: " + Path("missing")),
                                 ErrorLine("EngFileExists", "No filename specified"),
                                 ErrorLine("EngFileDirectoryExists", "No filename specified"),
                             }));
}

TEST_F(EngFileTest, CreateDirectoryMakesOneLevelAndDeleteRemovesFiles)
{
    EXPECT_TRUE(EngFileCreateDirectory(Path("new").c_str(), 1));
    EXPECT_TRUE(fs::is_directory(folder / "new"));
    EXPECT_FALSE(EngFileCreateDirectory(Path("new").c_str(), 0)) << "an existing folder fails";
    EXPECT_EQ(DebugGetNumMessages(), 0);
    EXPECT_FALSE(EngFileCreateDirectory(Path("a/b").c_str(), 1)) << "one level only";

    WriteWhole(folder / "gone", "x");
    EXPECT_TRUE(EngFileDelete(Path("gone").c_str(), 1));
    EXPECT_FALSE(fs::exists(folder / "gone"));
    EXPECT_FALSE(EngFileDelete(Path("gone").c_str(), 0));
    EXPECT_FALSE(EngFileDelete(Path("gone").c_str(), 1));
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngFileCreateDirectory", "Failed to create directory <" + Path("a/b") + ">"),
                                 ErrorLine("EngFileDelete", "Deletion failed."),
                             }));
}

TEST_F(EngFileTest, NamesWithBackslashesReachTheSameFiles)
{
    fs::create_directories(folder / "Data" / "Common");
    WriteWhole(folder / "Data" / "Common" / "t.txt", "hello");
    std::string name = folder.string() + "\\Data\\Common\\t.txt";
    EXPECT_TRUE(EngFileExists(name.c_str(), 1));
    EXPECT_TRUE(EngFileDirectoryExists((folder.string() + "\\Data").c_str()));
    EXPECT_EQ(EngFileGetFileSize(name.c_str(), 0), 5u);

    EXPECT_TRUE(EngFileCreateDirectory((folder.string() + "\\Data\\Users").c_str(), 1));
    EXPECT_TRUE(fs::is_directory(folder / "Data" / "Users"));
    EXPECT_TRUE(EngFileMoveFile(name.c_str(), (folder.string() + "\\Data\\Users\\t.txt").c_str()));
    EXPECT_TRUE(fs::exists(folder / "Data" / "Users" / "t.txt"));
}

TEST_F(EngFileTest, NamesAre1252TextAndReachUtf8NamesOnDisk)
{
    // "Zoé.usr" as the program spells it: é is the single byte 0xE9.
    std::string name = Path("Zo\xE9.usr");
    EngFile file;
    ASSERT_TRUE(file.CreateForWriting(name.c_str(), 0));
    file.Close();
    EXPECT_TRUE(fs::exists(folder / "Zo\xC3\xA9.usr"));
    EXPECT_TRUE(EngFileExists(name.c_str(), 1));
}

TEST_F(EngFileTest, MoveRefusesToOverwriteAndNeedsItsSource)
{
    WriteWhole(folder / "src", "source");
    WriteWhole(folder / "dst", "target");
    std::string src = Path("src"), dst = Path("dst"), missing = Path("missing"), fresh = Path("new");
    struct Case {
        const char *source;
        const char *target;
        std::string line;
    };
    const Case cases[] = {
        {src.c_str(), dst.c_str(), ErrorLine("EngFileMoveFile", "File <" + dst + "> exists")},
        {missing.c_str(), fresh.c_str(), ErrorLine("EngFileMoveFile", "File <" + missing + "> does not exist")},
        {"", dst.c_str(), ErrorLine("EngFileMoveFile", "Invalid parameters")},
        {src.c_str(), nullptr, ErrorLine("EngFileMoveFile", "Invalid parameters")},
    };
    for (const Case &c : cases) {
        ResetEngineForTest();
        EXPECT_FALSE(EngFileMoveFile(c.source, c.target));
        EXPECT_EQ(StoredLines(), std::vector<std::string>{c.line});
    }
    EXPECT_EQ(ReadWhole(folder / "src"), "source");
    EXPECT_EQ(ReadWhole(folder / "dst"), "target");

    ResetEngineForTest();
    EXPECT_TRUE(EngFileMoveFile(src.c_str(), Path("moved").c_str()));
    EXPECT_EQ(ReadWhole(folder / "moved"), "source");
    EXPECT_FALSE(fs::exists(folder / "src"));
    EXPECT_EQ(DebugGetNumMessages(), 0);
}

int RenameAcrossFileSystems(const char *, const char *)
{
    errno = EXDEV;
    return -1;
}

int RenameThatDoesNothing(const char *, const char *)
{
    return 0;
}

TEST_F(EngFileTest, MoveBetweenFileSystemsCopiesAndDeletes)
{
    std::string content(200000, 'q');
    content += "end";
    WriteWhole(folder / "Download.part", content);
    PlatformSetRenameFunction(RenameAcrossFileSystems);

    EXPECT_TRUE(EngFileMoveFile(Path("Download.part").c_str(), Path("Game.zip").c_str()));
    EXPECT_EQ(ReadWhole(folder / "Game.zip"), content);
    EXPECT_FALSE(fs::exists(folder / "Download.part"));
    EXPECT_EQ(DebugGetNumMessages(), 0);

    // A folder is not carried over; nothing is left behind.
    fs::create_directories(folder / "dir");
    EXPECT_FALSE(MoveFileA(Path("dir").c_str(), Path("dir2").c_str()));
    EXPECT_TRUE(fs::is_directory(folder / "dir"));
    EXPECT_FALSE(fs::exists(folder / "dir2"));
}

TEST_F(EngFileTest, MoveChecksTheOutcomeRatherThanTheCall)
{
    WriteWhole(folder / "src", "x");
    PlatformSetRenameFunction(RenameThatDoesNothing);
    EXPECT_FALSE(EngFileMoveFile(Path("src").c_str(), Path("dst").c_str()));
    EXPECT_EQ(StoredLines(), std::vector<std::string>{ErrorLine(
                                 "EngFileMoveFile", "File was not moved: <" + Path("src") + "> to <" + Path("dst") + ">")});
}

TEST_F(EngFileTest, GetFileSizeOfAMissingFileLogsTwice)
{
    std::string missing = Path("missing");
    EXPECT_EQ(EngFileGetFileSize(missing.c_str(), 0), 0u);
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("EngFile::OpenForReading", "Could not open file <" + missing + ">"),
                                 ErrorLine("EngFileGetFileSize", "Could not open file <" + missing + ">"),
                             }));
}

TEST_F(EngFileTest, OpenReadAndCloseNeedsTheExactSize)
{
    WriteWhole(folder / "five", "12345");
    std::string name = Path("five");
    char buffer[8] = {};
    for (unsigned count : {4u, 6u}) {
        ResetEngineForTest();
        EXPECT_FALSE(EngFileOpenReadAndClose(name.c_str(), 0, buffer, count));
        EXPECT_EQ(StoredLines(),
                  std::vector<std::string>{ErrorLine("EngFileOpenReadAndClose", "Invalid file size in <" + name + ">")});
        EXPECT_EQ(buffer[0], 0) << "nothing is read";
    }
    ResetEngineForTest();
    EXPECT_TRUE(EngFileOpenReadAndClose(name.c_str(), 0, buffer, 5));
    EXPECT_STREQ(buffer, "12345");
    EXPECT_EQ(DebugGetNumMessages(), 0);
    // The file was closed: it can go.
    EXPECT_TRUE(EngFileDelete(name.c_str(), 1));
}

TEST_F(EngFileTest, OutputLastErrorNamesTheSystemsText)
{
    EngFileOutputLastError("?Load@Thing@@QAEXXZ", "Opening", 1, 2, 0);
    EngFileOutputLastError("Thing::Load", nullptr, 1, 0x12345, 0);
    EngFileOutputLastError("Thing::Load", "Quiet", 1, 2, 1);
    errno = ENOENT;
    EngFileOutputLastError("Thing::Load", "Last", 0, 0, 0);
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{
                                 ErrorLine("Load@Thing", "Opening: Error 0x2: No such file or directory"),
                                 ErrorLine("Thing::Load", ": Unknown error 0x12345"),
                                 ErrorLine("Thing::Load", "Last: Error 0x2: No such file or directory"),
                             }));
}

TEST_F(EngFileTest, TheLogFileIsWrittenThroughTheFileLayer)
{
    // A stale log of the same name is replaced by the first entry of the run.
    fs::create_directories(folder / "logs");
    WriteWhole(folder / "logs" / "run.txt", "old run\n");
    std::string name = folder.string() + "\\logs\\run.txt";
    ASSERT_TRUE(DebugSetLogFilename(name.c_str(), 0));
    DebugRaw("first");
    DebugRaw("second");
    EXPECT_EQ(ReadWhole(folder / "logs" / "run.txt"), "first\nsecond\n");

    // A log that cannot be opened loses only its line, and says nothing.
    ASSERT_TRUE(DebugSetLogFilename(Path("missing/log.txt").c_str(), 1));
    DebugRaw("third");
    EXPECT_EQ(StoredLines(), (std::vector<std::string>{"first", "second", "third"}));
}

} // namespace
