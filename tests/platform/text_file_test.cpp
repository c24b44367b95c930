#include "convert/text_file.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"
#include "base/utf.h"
#include "platform/error_text.h"
#include "platform/file.h"
#include "platform/path.h"
#include "tests/platform/file_test_support.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace log2plt {
namespace {

using testing::HeldFile;
using testing::Name;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
namespace fs = std::filesystem;

// ERROR_FILE_NOT_FOUND and ENOENT alike.
constexpr unsigned long kFileNotFound = 2;

std::u16string ErrorOf(auto&& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.Message();
  }
  return u"(no error)";
}

LineList ListOf(std::initializer_list<std::u16string_view> lines) {
  LineList list;
  ClearLines(list);
  for (const auto line : lines) AppendLine(list, line);
  return list;
}

std::vector<fs::path> FolderEntries(const fs::path& folder) {
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(folder))
    entries.push_back(entry.path().filename());
  return entries;
}

// The tests run with LANG=ru_RU.UTF-8: the ANSI code page is 1251.
TEST(SaveLineList, WritesEachLineWithCrLfInTheAnsiCodePage) {
  TempFolder folder;
  const fs::path file = folder / "out.plt";
  SaveLineList(ListOf({u"a", u"b"}), Name(file));
  EXPECT_EQ(ReadBytes(file), "a\r\nb\r\n");
  SaveLineList(ListOf({u"12-\u0430\u0432\u0433-09", u"\u00E9\u4E2D"}), Name(file));
  const std::string bytes = ReadBytes(file);
  EXPECT_EQ(bytes.substr(0, 11), "12-\xE0\xE2\xE3-09\r\n");
  EXPECT_EQ(bytes.substr(bytes.size() - 3), "?\r\n");  // no character, no best fit
  LineList empty;
  ClearLines(empty);
  SaveLineList(empty, Name(file));
  EXPECT_EQ(ReadBytes(file), "");
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"out.plt"});
}

TEST(SaveLineList, ReplacesALongerFileWhole) {
  TempFolder folder;
  const fs::path file = folder / "out.plt";
  WriteBytes(file, std::string(100000, 'x'));
  // Narrow text with characters above ASCII goes through the code page too.
  SaveLineList(ListOf({u"\u00A0z"}), Name(file));
  EXPECT_EQ(ReadBytes(file), "\xA0z\r\n");
}

// Large tracks are written in blocks; every byte of the last, partial one must arrive.
TEST(SaveLineList, WritesALargeTrackExactly) {
  TempFolder folder;
  const fs::path file = folder / "big.plt";
  LineList list;
  ClearLines(list);
  std::string expected;
  std::u16string line;
  for (int i = 0; i < 300001; ++i) {
    line = u"55.75" +
           std::u16string(static_cast<std::size_t>(i % 7), u'0' + static_cast<char16_t>(i % 10)) +
           u",37.61,0,500,40037.5,12-Aug-09,12:00:00";
    AppendLine(list, line);
    for (const char16_t c : line) expected += static_cast<char>(c);
    expected += "\r\n";
  }
  SaveLineList(list, Name(file));
  const std::string saved = ReadBytes(file);
  EXPECT_EQ(saved.size(), expected.size());
  EXPECT_TRUE(saved == expected);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"big.plt"});
}

TEST(SaveLineList, RefusesTargetsItMayNotReplaceBeforeWritingAnything) {
  TempFolder folder;
  const fs::path dir = folder / "track.plt";
  fs::create_directory(dir);
  const std::u16string prefix =
      u"Cannot create file \"" + platform::path::FullPath(Name(dir)) + u"\". ";
  const std::u16string message = ErrorOf([&] { SaveLineList(ListOf({u"a"}), Name(dir)); });
  EXPECT_TRUE(message.starts_with(prefix)) << ToUtf8(message);
  EXPECT_GT(message.size(), prefix.size());
  EXPECT_NE(message.back(), u'.');

  const fs::path read_only = folder / "old.plt";
  WriteBytes(read_only, "old");
  fs::permissions(read_only,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_TRUE(ErrorOf([&] {
                SaveLineList(ListOf({u"a"}), Name(read_only));
              }).starts_with(u"Cannot create file \"" + platform::path::FullPath(Name(read_only))));
  EXPECT_EQ(ReadBytes(read_only), "old");
  fs::permissions(read_only, fs::perms::owner_write, fs::perm_options::add);

#ifdef _WIN32
  // Windows refuses to create a file over a hidden or system one.
  const fs::path hidden = folder / "hidden.plt";
  WriteBytes(hidden, "old");
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(ErrorOf([&] {
                SaveLineList(ListOf({u"a"}), Name(hidden));
              }).starts_with(u"Cannot create file \"" + platform::path::FullPath(Name(hidden))));
  EXPECT_EQ(ReadBytes(hidden), "old");
  fs::remove(hidden);
#endif

  const fs::path nowhere = folder / "missing" / "x.plt";
  EXPECT_TRUE(ErrorOf([&] {
                SaveLineList(ListOf({u"a"}), Name(nowhere));
              }).starts_with(u"Cannot create file \"" + platform::path::FullPath(Name(nowhere))));
  EXPECT_EQ(FolderEntries(folder.path()).size(), 2u);
}

// A save that stops part-way, for whatever reason, leaves no trace.
TEST(Replacement, LeavesTheTargetAsItWasUntilCommitted) {
  TempFolder folder;
  const fs::path file = folder / "day1.plt";
  WriteBytes(file, "old track\r\n");
  {
    platform::file::Replacement replacement;
    ASSERT_FALSE(replacement.Open(Name(file)));
    ASSERT_FALSE(replacement.Write(std::string(10 << 20, 'x')));
  }
  EXPECT_EQ(ReadBytes(file), "old track\r\n");
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"day1.plt"});
  {
    platform::file::Replacement replacement;
    ASSERT_FALSE(replacement.Open(Name(file)));
    ASSERT_FALSE(replacement.Write("new"));
    ASSERT_FALSE(replacement.Commit());
  }
  EXPECT_EQ(ReadBytes(file), "new");
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"day1.plt"});
}

#ifndef _WIN32
// A disk that fills up part-way: the old file stays whole and no temporary file is left.
TEST(SaveLineList, AFailedWriteLeavesTheTargetAsItWas) {
  TempFolder folder;
  const fs::path file = folder / "day1.log";
  WriteBytes(file, "old log\r\n");
  LineList big;
  ClearLines(big);
  for (int i = 0; i < 20000; ++i)
    AppendLine(big, u"55.7522200,37.6155600,0,500,40037.5,12-Aug-09,12:00:00");

  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 65536;
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const std::u16string message = ErrorOf([&] { SaveLineList(big, Name(file)); });
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_EQ(message, u"Stream write error");
  EXPECT_EQ(ReadBytes(file), "old log\r\n");
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"day1.log"});
}
#endif

TEST(LoadLineList, ReadsTheFileAndKeepsTheOldTextWhenItCannot) {
  TempFolder folder;
  const fs::path file = folder / "day1.log";
  WriteBytes(file, "\xC6x\nline 2");
  LineList list(u"previous");
  LoadLineList(list, Name(file));
  EXPECT_EQ(LineCount(list), 2);
  EXPECT_EQ(LineAt(list, 0), u"\u0416x");

  const fs::path missing = folder / "missing.log";
  EXPECT_EQ(ErrorOf([&] { LoadLineList(list, Name(missing)); }),
            u"Cannot open file \"" + platform::path::FullPath(Name(missing)) + u"\". " +
                platform::SystemErrorText(kFileNotFound));
  EXPECT_TRUE(
      ErrorOf([&] { LoadLineList(list, Name(folder.path())); }).starts_with(u"Cannot open file"));
  EXPECT_EQ(LineAt(list, 0), u"\u0416x");
}

TEST(IsExistingFile, AnswersForFilesOnly) {
  TempFolder folder;
  const fs::path file = folder / "a.plt";
  WriteBytes(file, "x");
  EXPECT_TRUE(IsExistingFile(Name(file)));
  EXPECT_FALSE(IsExistingFile(Name(folder.path())));
  EXPECT_FALSE(IsExistingFile(Name(folder / "b.plt")));
  EXPECT_FALSE(IsExistingFile(Name(folder / "missing" / "b.plt")));
  EXPECT_FALSE(IsExistingFile(u""));
  EXPECT_FALSE(IsExistingFile(Name(folder / "*.plt")));
  EXPECT_FALSE(IsExistingFile(Name(folder / "a.pl?")));
}

// The offset in force now, whatever the season of the file's time.
std::int64_t UtcOfLocal(std::int64_t local_seconds) {
  return local_seconds - testing::CurrentUtcOffset();
}

TEST(LastWriteDateTime, GivesTheLocalTimeToTwoSeconds) {
  TempFolder folder;
  const fs::path file = folder / "day1.log";
  WriteBytes(file, "x");
  constexpr std::int64_t kAugust12 = 1250035200;  // 2009-08-12 00:00:00
  testing::SetLastWriteUtc(file, UtcOfLocal(kAugust12 + 86399));
  EXPECT_EQ(LastWriteDateTime(Name(file)), 40037.0 + 86398000.0 / 86400000.0);
  testing::SetLastWriteUtc(file, UtcOfLocal(kAugust12 + 600));
  EXPECT_EQ(LastWriteDateTime(Name(file)), 40037.0 + 600000.0 / 86400000.0);
  testing::SetLastWriteUtc(file, UtcOfLocal(315532800));  // 1980-01-01 00:00:00
  EXPECT_EQ(LastWriteDateTime(Name(file)), 29221.0);
}

TEST(LastWriteDateTime, FailsForWhatItCannotDate) {
  TempFolder folder;
  const fs::path old_file = folder / "old.log";
  WriteBytes(old_file, "x");
  testing::SetLastWriteUtc(old_file, UtcOfLocal(315532800 - 1));
  for (const std::u16string& name :
       {Name(old_file), Name(folder / "missing.log"), std::u16string(), Name(folder.path())}) {
    EXPECT_EQ(ErrorOf([&] { LastWriteDateTime(name); }), u"Invalid argument to date encode")
        << ToUtf8(name);
  }
}

// Another program holding the file, the way the sharing modes say it may or may not.
TEST(Sharing, ConflictsWithASecondProcess) {
  TempFolder folder;
  const fs::path file = folder / "day1.log";
  WriteBytes(file, "a\r\n");
  LineList list;
  const std::u16string cannot_open = u"Cannot open file \"" + platform::path::FullPath(Name(file));
  const std::u16string cannot_create =
      u"Cannot create file \"" + platform::path::FullPath(Name(file));
  {
    HeldFile reader(file, "read");
    ASSERT_TRUE(reader.held());
    EXPECT_NO_THROW(LoadLineList(list, Name(file)));
    EXPECT_TRUE(IsExistingFile(Name(file)));
    EXPECT_EQ(ErrorOf([&] { LastWriteDateTime(Name(file)); }), u"Invalid argument to date encode");
    EXPECT_TRUE(
        ErrorOf([&] { SaveLineList(ListOf({u"b"}), Name(file)); }).starts_with(cannot_create));
  }
  {
    HeldFile writer(file, "write");
    ASSERT_TRUE(writer.held());
    EXPECT_TRUE(ErrorOf([&] { LoadLineList(list, Name(file)); }).starts_with(cannot_open));
    EXPECT_EQ(ErrorOf([&] { LastWriteDateTime(Name(file)); }), u"Invalid argument to date encode");
    EXPECT_TRUE(
        ErrorOf([&] { SaveLineList(ListOf({u"b"}), Name(file)); }).starts_with(cannot_create));
  }
  {
    HeldFile holder(file, "exclusive");
    ASSERT_TRUE(holder.held());
    EXPECT_TRUE(IsExistingFile(Name(file)));
    EXPECT_TRUE(ErrorOf([&] { LoadLineList(list, Name(file)); }).starts_with(cannot_open));
  }
  EXPECT_EQ(ReadBytes(file), "a\r\n");
  EXPECT_NO_THROW(LastWriteDateTime(Name(file)));
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"day1.log"});
}

}  // namespace
}  // namespace log2plt
