#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/utf.h"
#include "platform/error_text.h"
#include "platform/path.h"
#include "tests/platform/file_test_support.h"

#ifndef _WIN32
#include <pwd.h>
#include <sys/resource.h>

#include <csignal>
#endif

namespace log2plt {
namespace {

using testing::ErrorOf;
using testing::HeldFile;
using testing::Name;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

std::vector<fs::path> FolderEntries(const fs::path& folder) {
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(folder)) {
    entries.push_back(entry.path().filename());
  }
  return entries;
}

SettingsStore LoadedStore(const fs::path& file) {
  SettingsStore store(Name(file));
  store.LoadSettingsFile();
  return store;
}

TEST(SplitSettingPath, TakesTheLastPieceAsTheName) {
  struct Case {
    std::u16string_view path, section, name;
  };
  const Case cases[] = {
      {u"Form7\\FormVersion", u"Form7", u"FormVersion"},
      {u"Form7\\\\Flags", u"Form7", u"Flags"},
      {u"\\Form7\\Flags\\", u"Form7", u"Flags"},
      {u"A\\B\\\\C\\Name", u"A\\B\\C", u"Name"},
      {u"Name", u"", u"Name"},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    const SettingPath split = SplitSettingPath(c.path);
    EXPECT_EQ(split.section, c.section) << ToUtf8(c.path);
    EXPECT_EQ(split.name, c.name) << ToUtf8(c.path);
  }
}

// What a user or another tool put in the file survives the program's changes; what it cannot
// keep (comments, blank lines, stray blanks) goes the way a reader of INI files expects.
TEST(SettingsStore, KeepsTheDocumentAroundItsOwnChanges) {
  struct Case {
    const char* what;
    std::string file;
    std::function<void(SettingsStore&)> change;
    std::string written;
  };
  const auto put_version = [](SettingsStore& store) {
    store.PutIntegerSetting(u"Form7\\FormVersion", 0);
  };
  const Case cases[] = {
      {"comments, blank lines and lines before the first section go; blanks are trimmed",
       "; written by hand\r\nstray=before any section\r\n\r\n[Tools]\r\n  Editor =  notepad.exe  "
       "\r\n;comment\r\n\tFlag\r\n\r\n[ Form7 ]\r\nFormVersion=3\r\nExtra = kept\r\n[Other]\r\na=1",
       put_version,
       "[Tools]\r\nEditor=notepad.exe\r\nFlag\r\n\r\n[Form7]\r\nFormVersion=0\r\nExtra=kept\r\n\r\n"
       "[Other]\r\na=1\r\n\r\n"},
      {"a missing key goes to the end of its section, a missing section after the last one",
       "[Form7]\r\nExtra=1\r\n[Other]\r\na=1\r\n",
       [](SettingsStore& store) {
         store.PutTextSetting(u"Form7\\NormPos", u"1,2,3,4");
         store.PutTextSetting(u"New\\Key", u"v");
       },
       "[Form7]\r\nExtra=1\r\nNormPos=1,2,3,4\r\n\r\n[Other]\r\na=1\r\n\r\n[New]\r\nKey=v\r\n\r\n"},
      {"a name in other letter case is found and rewritten as the program spells it",
       "[form7]\r\nformversion=5\r\nNORMPOS=1,2,3,4\r\n", put_version,
       "[form7]\r\nFormVersion=0\r\nNORMPOS=1,2,3,4\r\n\r\n"},
      {"of two sections of one name the later one is updated, the earlier kept",
       "[Form7]\r\nFormVersion=1\r\n[Other]\r\n[Form7]\r\nFormVersion=2\r\nFormVersion=3\r\n",
       put_version,
       "[Form7]\r\nFormVersion=1\r\n\r\n[Other]\r\n\r\n[Form7]\r\nFormVersion=2\r\nFormVersion=0"
       "\r\n\r\n"},
      {"lone CR and lone LF end lines too; a line without \"=\" is no value",
       "[Form7]\rFormVersion\nFlags=1\r\n", put_version,
       "[Form7]\r\nFormVersion\r\nFlags=1\r\nFormVersion=0\r\n\r\n"},
      {"a value keeps every \"=\" after the first; an empty value is written empty",
       "[Form7]\r\nNote = a=b \r\n",
       [](SettingsStore& store) { store.PutTextSetting(u"Form7\\Empty", u""); },
       "[Form7]\r\nNote=a=b\r\nEmpty=\r\n\r\n"},
      {"no file at all gives a new file with the one section", "", put_version,
       "[Form7]\r\nFormVersion=0\r\n\r\n"},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const fs::path file = folder / "Zandor_LOG_to_PLT.ini";
    if (!c.file.empty()) WriteBytes(file, c.file);
    SettingsStore store = LoadedStore(file);
    c.change(store);
    store.WriteSettingsFile();
    EXPECT_EQ(ReadBytes(file), c.written) << c.what;
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{file.filename()}) << c.what;
  }
}

TEST(SettingsStore, ReadsValuesByNameIgnoringCaseTheLastOneWinning) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  // Section "Настройки" in code page 1251, looked up in capitals.
  WriteBytes(file,
             "[Form7]\r\nFlags=1\r\nflags=2\r\nEmpty=\r\nWord=abc\r\nPath = C:\\a b.log \r\n"
             "Flag\r\n[\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8]\r\nN=7\r\n");
  const SettingsStore store = LoadedStore(file);
  EXPECT_TRUE(store.HasSetting(u"Form7\\Flags"));
  EXPECT_TRUE(store.HasSetting(u"FORM7\\\\FLAGS"));
  EXPECT_FALSE(store.HasSetting(u"Form7\\Flag"));
  EXPECT_FALSE(store.HasSetting(u"Form8\\Flags"));
  EXPECT_EQ(store.GetIntegerSetting(u"Form7\\Flags", 9), 2);
  EXPECT_EQ(store.GetIntegerSetting(u"Form7\\Missing", 9), 9);
  EXPECT_EQ(store.GetIntegerSetting(u"Form7\\Empty", 9), 0);
  EXPECT_EQ(
      store.GetIntegerSetting(u"\u041D\u0410\u0421\u0422\u0420\u041E\u0419\u041A\u0418\\n", 0), 7);
  EXPECT_EQ(store.GetTextSetting(u"Form7\\Path", u"x"), u"C:\\a b.log");
  EXPECT_EQ(store.GetTextSetting(u"Form7\\Empty", u"x"), u"");
  EXPECT_EQ(store.GetTextSetting(u"Form7\\Missing", u"x"), u"x");
  EXPECT_EQ(ErrorOf([&] { store.GetIntegerSetting(u"Form7\\Word", 0); }),
            u"''abc'' is not a valid integer value");
  EXPECT_EQ(ErrorOf([&] { store.GetIntegerSetting(u"Form7\\Path", 0); }),
            u"''C:\\a b.log'' is not a valid integer value");
  EXPECT_FALSE(store.ReadOnly());
}

std::string Utf16Bytes(std::u16string_view text, bool little_endian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF);
    const char high = static_cast<char>(unit >> 8);
    bytes += little_endian ? low : high;
    bytes += little_endian ? high : low;
  }
  return bytes;
}

// A file keeps the encoding it came in; one without a mark is the ANSI code page, 1251 here.
TEST(SettingsStore, WritesBackInTheEncodingItRead) {
  const std::u16string before =
      u"[Form7]\r\nFilenameEditIn_Text=C:\\\u0422\u0440\u0435\u043A\u0438"
      u"\\\u0434\u0435\u043D\u044C.log\r\n";
  const std::u16string after = before + u"FilenameEditOut_Text=\u041F\u0443\u0442\u044C\r\n\r\n";
  struct Case {
    const char* what;
    std::string mark;
    std::function<std::string(std::u16string_view)> encode;
  };
  const Case cases[] = {
      {"UTF-8", "\xEF\xBB\xBF", [](std::u16string_view text) { return ToUtf8(text); }},
      {"UTF-16 LE", "\xFF\xFE", [](std::u16string_view text) { return Utf16Bytes(text, true); }},
      {"UTF-16 BE", "\xFE\xFF", [](std::u16string_view text) { return Utf16Bytes(text, false); }},
      {"ANSI", "",
       [](std::u16string_view text) {
         std::string bytes;
         for (const char16_t c : text) {
           // Cyrillic small and capital letters of code page 1251.
           bytes += static_cast<char>(c >= 0x0410 && c <= 0x044F ? c - 0x0410 + 0xC0 : c);
         }
         return bytes;
       }},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const fs::path file = folder / "settings.ini";
    WriteBytes(file, c.mark + c.encode(before));
    SettingsStore store = LoadedStore(file);
    EXPECT_EQ(store.GetTextSetting(u"Form7\\FilenameEditIn_Text", u""),
              u"C:\\\u0422\u0440\u0435\u043A\u0438\\\u0434\u0435\u043D\u044C.log")
        << c.what;
    store.PutTextSetting(u"Form7\\FilenameEditOut_Text", u"\u041F\u0443\u0442\u044C");
    store.WriteSettingsFile();
    EXPECT_EQ(ReadBytes(file), c.mark + c.encode(after)) << c.what;
  }
}

// A name that the ANSI code page cannot hold comes back unchanged at the next start: the file
// goes out as UTF-8 with its mark, where it would otherwise have lost the character.
TEST(SettingsStore, KeepsNamesTheCodePageCannotHold) {
  const std::u16string names[] = {
      u"D:\\\u03A9mega\\day.log",             // Greek, not in code page 1251
      u"D:\\caf\u00E9.log",                   // a best fit would make it "cafe"
      u"D:\\\u4E2D\u6587.log",                // Chinese
      u"D:\\\U0001F6F0\\track.log",           // outside the basic plane
      u"D:\\\u0414\u0435\u043D\u044C\u00E9",  // Cyrillic beside what 1251 lacks
  };
  for (const std::u16string& name : names) {
    for (const bool had_file : {false, true}) {
      TempFolder folder;
      const fs::path file = folder / "settings.ini";
      if (had_file) WriteBytes(file, "[Form7]\r\nFormVersion=0\r\n");
      {
        SettingsStore store = LoadedStore(file);
        store.PutTextSetting(u"Form7\\FilenameEditIn_Text", name);
        store.WriteSettingsFile();
      }
      const std::string bytes = ReadBytes(file);
      EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF")) << ToUtf8(name);
      EXPECT_EQ(LoadedStore(file).GetTextSetting(u"Form7\\FilenameEditIn_Text", u""), name)
          << ToUtf8(name);
    }
  }
  // What fits stays in the code page, without a mark.
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  SettingsStore store(Name(file));
  store.LoadSettingsFile();
  store.PutTextSetting(u"Form7\\FilenameEditIn_Text", u"D:\\\u0414\u0435\u043D\u044C \u00A0\u2116");
  store.WriteSettingsFile();
  EXPECT_EQ(ReadBytes(file),
            "[Form7]\r\nFilenameEditIn_Text=D:\\\xC4\xE5\xED\xFC \xA0\xB9\r\n\r\n");
}

// One damaged name after the UTF-8 mark costs that name's bad bytes, not the whole file.
TEST(SettingsStore, KeepsAUtf8FileWithBadBytes) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  WriteBytes(file,
             "\xEF\xBB\xBF[Form7]\r\nFilenameEditIn_Text=C:\\\xFF\xC0\xAF.log\r\n"
             "SkinManager_SkinName=\xD0\x9C\xD0\xBE\xD0\xB9\r\nTruncated=\xD0\r\n[Other]\r\nkey="
             "value\r\n");
  SettingsStore store = LoadedStore(file);
  EXPECT_EQ(store.GetTextSetting(u"Form7\\FilenameEditIn_Text", u""),
            u"C:\\\uFFFD\uFFFD\uFFFD.log");
  EXPECT_EQ(store.GetTextSetting(u"Form7\\SkinManager_SkinName", u""), u"\u041C\u043E\u0439");
  EXPECT_EQ(store.GetTextSetting(u"Form7\\Truncated", u""), u"\uFFFD");
  EXPECT_EQ(store.GetTextSetting(u"Other\\key", u""), u"value");
  store.PutIntegerSetting(u"Form7\\FormVersion", 0);
  store.WriteSettingsFile();
  EXPECT_EQ(
      ReadBytes(file),
      "\xEF\xBB\xBF[Form7]\r\nFilenameEditIn_Text=C:\\\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.log"
      "\r\nSkinManager_SkinName=\xD0\x9C\xD0\xBE\xD0\xB9\r\nTruncated=\xEF\xBF\xBD\r\n"
      "FormVersion=0\r\n\r\n[Other]\r\nkey=value\r\n\r\n");
}

void RemoveWritePermissions(const fs::path& file) {
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

TEST(SettingsStore, LeavesAReadOnlyFileAlone) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  const std::string content = "; mine\r\n[Form7]\r\nFlags=2\r\n";
  WriteBytes(file, content);
  RemoveWritePermissions(file);
  const auto written_at = fs::last_write_time(file);
  SettingsStore store = LoadedStore(file);
  EXPECT_TRUE(store.ReadOnly());
  EXPECT_EQ(store.GetIntegerSetting(u"Form7\\Flags", 0), 2);
  store.PutIntegerSetting(u"Form7\\Flags", 5);
  store.PutTextSetting(u"New\\Key", u"v");
  EXPECT_EQ(store.GetIntegerSetting(u"Form7\\Flags", 0), 2);
  EXPECT_FALSE(store.HasSetting(u"New\\Key"));
  store.WriteSettingsFile();
  EXPECT_EQ(ReadBytes(file), content);
  EXPECT_EQ(fs::last_write_time(file), written_at);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"settings.ini"});
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

// A file that exists but cannot be read is a failure of the start, and the store, not knowing
// what the file holds, never writes over it.
TEST(SettingsStore, FailsToLoadAFileHeldForWritingAndNeverWritesIt) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  WriteBytes(file, "[Form7]\r\nFlags=2\r\n");
  SettingsStore store(Name(file));
  {
    HeldFile writer(file, "write");
    ASSERT_TRUE(writer.held());
    const std::u16string message = ErrorOf([&] { store.LoadSettingsFile(); });
    const std::u16string prefix =
        u"Cannot open file \"" + platform::path::FullPath(Name(file)) + u"\". ";
    EXPECT_TRUE(message.starts_with(prefix)) << ToUtf8(message);
    EXPECT_GT(message.size(), prefix.size());
  }
  store.PutIntegerSetting(u"Form7\\FormVersion", 0);
  store.WriteSettingsFile();
  EXPECT_EQ(ReadBytes(file), "[Form7]\r\nFlags=2\r\n");
  SettingsStore never_loaded(Name(file));
  never_loaded.PutIntegerSetting(u"Form7\\FormVersion", 0);
  never_loaded.WriteSettingsFile();
  EXPECT_EQ(ReadBytes(file), "[Form7]\r\nFlags=2\r\n");

  // A folder of that name is no file: nothing to read, and nothing written over it.
  const fs::path dir = folder / "folder.ini";
  fs::create_directory(dir);
  SettingsStore over_folder = LoadedStore(dir);
  EXPECT_TRUE(over_folder.Document().empty());
  over_folder.PutIntegerSetting(u"Form7\\FormVersion", 0);
  over_folder.WriteSettingsFile();
  EXPECT_TRUE(fs::is_directory(dir));
}

// Writing fails in silence and leaves the old file exactly as it was, with no temporary file
// beside it.
TEST(SettingsStore, AFailedWriteKeepsTheOldFileAndSaysNothing) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  const std::string old_content = "[Form7]\r\nFormVersion=0\r\nNormPos=1,2,3,4\r\n";
  WriteBytes(file, old_content);
  SettingsStore store = LoadedStore(file);
  store.PutTextSetting(u"Form7\\NormPos", u"5,6,7,8");
  {
    HeldFile writer(file, "write");
    ASSERT_TRUE(writer.held());
    store.WriteSettingsFile();
  }
  EXPECT_EQ(ReadBytes(file), old_content);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"settings.ini"});
  store.WriteSettingsFile();
  EXPECT_EQ(ReadBytes(file), "[Form7]\r\nFormVersion=0\r\nNormPos=5,6,7,8\r\n\r\n");
}

#ifndef _WIN32
// The disk fills up part-way through the write.
TEST(SettingsStore, AFullDiskKeepsTheOldFile) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  const std::string old_content = "[Form7]\r\nFormVersion=0\r\n";
  WriteBytes(file, old_content);
  SettingsStore store = LoadedStore(file);
  store.PutTextSetting(u"Form7\\FilenameEditIn_Text", std::u16string(200000, u'x'));

  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 65536;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  store.WriteSettingsFile();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_EQ(ReadBytes(file), old_content);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"settings.ini"});
}

// The program's folder is not the user's to write: the run ends as usual, the settings of the
// run are lost and the next start reads the old file again. The write runs in a child process
// without the right to write the folder (as nobody when the tests run as root).
TEST(SettingsStore, AFolderThatCannotBeWrittenKeepsTheOldFile) {
  TempFolder folder;
  const fs::path file = folder / "settings.ini";
  const std::string old_content = "[Form7]\r\nFormVersion=0\r\n";
  WriteBytes(file, old_content);
  const bool as_root = ::geteuid() == 0;
  const passwd* nobody = ::getpwnam("nobody");
  if (as_root && nobody == nullptr) GTEST_SKIP() << "no user without rights";
  if (!as_root) fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::remove);
  const pid_t child = ::fork();
  if (child == 0) {
    if (as_root && (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0)) ::_exit(3);
    SettingsStore store(Name(file));
    try {
      store.LoadSettingsFile();
    } catch (...) {
      ::_exit(2);
    }
    store.PutTextSetting(u"Form7\\NormPos", u"5,6,7,8");
    store.WriteSettingsFile();
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  if (!as_root) fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(file), old_content);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"settings.ini"});
}
#endif

}  // namespace
}  // namespace log2plt
