#include "convert/text/text_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/error.h"
#include "base/utf.h"
#include "platform/error_text.h"
#include "platform/file.h"
#include "platform/path.h"
#include "tests/platform/file_test_support.h"

#ifndef _WIN32
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
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

// ERROR_FILE_NOT_FOUND and ENOENT alike.
constexpr unsigned long kFileNotFound = 2;

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

#ifndef _WIN32
// Faults of the system from tests/platform/fault_shim.cpp, preloaded by CTest; set for the life
// of this object.
class InjectedFault {
 public:
  InjectedFault(const char* variable, const std::string& value) : variable_(variable) {
    EXPECT_NE(dlsym(RTLD_DEFAULT, "log2plt_fault_shim_loaded"), nullptr)
        << "run through CTest, which preloads the fault shim";
    setenv(variable_, value.c_str(), 1);
  }
  ~InjectedFault() { unsetenv(variable_); }
  InjectedFault(const InjectedFault&) = delete;
  InjectedFault& operator=(const InjectedFault&) = delete;

 private:
  const char* variable_;
};
#endif

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

// The longest name a folder takes, 255 bytes, must be savable: the temporary name may not be
// longer than the target's. Without unnamed temporary files too (POSIX), where the temporary
// file has a name for the whole save.
TEST(SaveLineList, SavesUnderTheLongestName) {
  TempFolder folder;
  const fs::path file = folder / (std::string(251, 'n') + ".plt");
  const std::vector<fs::path> only_target{file.filename()};
  WriteBytes(file, "old");
  SaveLineList(ListOf({u"a"}), Name(file));
  EXPECT_EQ(ReadBytes(file), "a\r\n");
  EXPECT_EQ(FolderEntries(folder.path()), only_target);
#ifndef _WIN32
  InjectedFault no_tmpfile("LOG2PLT_FAULT_NO_TMPFILE", "1");
  SaveLineList(ListOf({u"b"}), Name(file));
  EXPECT_EQ(ReadBytes(file), "b\r\n");
  {
    platform::file::Replacement abandoned;
    ASSERT_FALSE(abandoned.Open(Name(file)));
    ASSERT_FALSE(abandoned.Write("c"));
    EXPECT_EQ(FolderEntries(folder.path()).size(), 2u);
  }
  EXPECT_EQ(ReadBytes(file), "b\r\n");
  EXPECT_EQ(FolderEntries(folder.path()), only_target);
#endif
}

// A device takes the track as it is: nothing is created beside it and it stays a device.
TEST(SaveLineList, WritesToADeviceAsItIs) {
#ifdef _WIN32
  const std::u16string device = u"NUL";
#else
  const std::u16string device = u"/dev/null";
#endif
  TempFolder folder;
  const fs::path before = fs::current_path();
  fs::current_path(folder.path());
  EXPECT_EQ(ErrorOf([&] { SaveLineList(ListOf({u"a"}), device); }), u"(no error)");
  fs::current_path(before);
  EXPECT_TRUE(FolderEntries(folder.path()).empty());
#ifndef _WIN32
  struct stat facts;
  ASSERT_EQ(lstat("/dev/null", &facts), 0);
  EXPECT_TRUE(S_ISCHR(facts.st_mode));
#endif
}

#ifndef _WIN32
// A link is written through to the file that it finally names, whatever the chain; the links
// stay links, and a dangling one brings its file into being.
TEST(SaveLineList, WritesThroughLinksToTheFileTheyName) {
  TempFolder folder;
  fs::create_directories(folder / "sub");
  fs::create_directories(folder / "other");
  WriteBytes(folder / "other" / "real.plt", "old");
  fs::create_symlink("sub/next.plt", folder / "chain.plt");  // relative to the link's folder
  fs::create_symlink("../other/real.plt", folder / "sub" / "next.plt");
  fs::create_symlink(folder / "other" / "new.plt", folder / "dangling.plt");
  fs::create_symlink("other", folder / "folder.plt");
  fs::create_symlink("loop.plt", folder / "loop.plt");

  const struct {
    const char* link;
    fs::path target;
  } cases[] = {
      {"chain.plt", folder / "other" / "real.plt"},
      {"dangling.plt", folder / "other" / "new.plt"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(IsExistingFile(Name(folder / c.link))) << c.link;
    SaveLineList(ListOf({u"new"}), Name(folder / c.link));
    EXPECT_EQ(ReadBytes(c.target), "new\r\n") << c.link;
  }
  for (const char* link : {"chain.plt", "dangling.plt", "folder.plt", "loop.plt"}) {
    EXPECT_TRUE(fs::is_symlink(folder / link)) << link;
  }
  EXPECT_TRUE(fs::is_symlink(folder / "sub" / "next.plt"));
  EXPECT_EQ(FolderEntries(folder / "other").size(), 2u);
  EXPECT_EQ(FolderEntries(folder / "sub").size(), 1u);

  EXPECT_FALSE(IsExistingFile(Name(folder / "folder.plt")));
  for (const char* refused : {"folder.plt", "loop.plt"}) {
    EXPECT_TRUE(ErrorOf([&] { SaveLineList(ListOf({u"a"}), Name(folder / refused)); })
                    .starts_with(u"Cannot create file \"" +
                                 platform::path::FullPath(Name(folder / refused)) + u"\". "))
        << refused;
  }
  EXPECT_EQ(FolderEntries(folder.path()).size(), 6u);
}

// A replaced file keeps its mode, and its owner and group where the process may set them (root
// here, which may); its other hard-linked names keep the old content.
TEST(SaveLineList, KeepsWhatTheUserSetOnTheFile) {
  TempFolder folder;
  const fs::path file = folder / "day1.plt";
  const fs::path other_name = folder / "copy.plt";
  WriteBytes(file, "old");
  fs::create_hard_link(file, other_name);
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(file.c_str(), 65534, 65534), 0);
  }
  for (const char* fault : {"", "LOG2PLT_FAULT_NO_TMPFILE"}) {
    std::optional<InjectedFault> injected;
    if (*fault != '\0') injected.emplace(fault, "1");
    SaveLineList(ListOf({u"new"}), Name(file));
    EXPECT_EQ(ReadBytes(file), "new\r\n");
    EXPECT_EQ(ReadBytes(other_name), "old");
    struct stat facts;
    ASSERT_EQ(stat(file.c_str(), &facts), 0);
    EXPECT_EQ(facts.st_mode & 07777, 0640u) << fault;
    EXPECT_EQ(facts.st_nlink, 1u);
    if (root) {
      EXPECT_EQ(facts.st_uid, 65534u) << fault;
      EXPECT_EQ(facts.st_gid, 65534u) << fault;
    }
  }
}

// A new file gets the mode of any new file, the umask taken off 0666, with or without unnamed
// temporary files; the umask itself is never changed on the way.
TEST(SaveLineList, ANewFileHasTheModeTheUmaskLeaves) {
  const mode_t mask = umask(022);
  umask(mask);
  for (const char* fault : {"", "LOG2PLT_FAULT_NO_TMPFILE"}) {
    TempFolder folder;
    const fs::path file = folder / "day1.plt";
    std::optional<InjectedFault> injected;
    if (*fault != '\0') injected.emplace(fault, "1");
    SaveLineList(ListOf({u"new"}), Name(file));
    struct stat facts;
    ASSERT_EQ(stat(file.c_str(), &facts), 0);
    EXPECT_EQ(facts.st_mode & 07777, 0666u & ~mask) << fault;
    const mode_t after = umask(mask);
    EXPECT_EQ(after, mask) << fault;
  }
}

// A disk that fills up part-way: the old file stays whole and no temporary file is left. The
// larger limit fails a write made while the next bytes are being gathered.
TEST(SaveLineList, AFailedWriteLeavesTheTargetAsItWas) {
  for (const rlim_t limit : {rlim_t{65536}, rlim_t{12} << 20}) {
    TempFolder folder;
    const fs::path file = folder / "day1.log";
    WriteBytes(file, "old log\r\n");
    LineList big;
    ClearLines(big);
    const int lines = limit < (1 << 20) ? 20000 : 500000;
    for (int i = 0; i < lines; ++i)
      AppendLine(big, u"55.7522200,37.6155600,0,500,40037.5,12-Aug-09,12:00:00");

    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = limit;
    const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const std::u16string message = ErrorOf([&] { SaveLineList(big, Name(file)); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_EQ(message, u"Stream write error") << limit;
    EXPECT_EQ(ReadBytes(file), "old log\r\n");
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<fs::path>{"day1.log"});
  }
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

#ifndef _WIN32
// A disk that fails part-way through the log, or a log cut short while it is read, never gives a
// shorter track: the load fails and the list keeps what it had.
TEST(LoadLineList, FailsWhenAReadFailsOrEndsEarly) {
  TempFolder folder;
  const fs::path file = folder / "day1.log";
  WriteBytes(file, std::string(70000, 'x') + "\r\nlast line\r\n");
  const std::u16string expected = u"Cannot read file \"" + platform::path::FullPath(Name(file)) +
                                  u"\". " + platform::SystemErrorText(EIO);
  for (const char* fault : {"error:0", "error:65536", "short:5", "short:70011"}) {
    LineList list(u"previous");
    std::u16string message;
    {
      InjectedFault injected("LOG2PLT_FAULT_READ", fault);
      message = ErrorOf([&] { LoadLineList(list, Name(file)); });
    }
    EXPECT_EQ(message, expected) << fault;
    EXPECT_EQ(LineCount(list), 1) << fault;
    EXPECT_EQ(LineAt(list, 0), u"previous") << fault;
  }
}
#endif

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
  // After 2107 too, which a packed DOS date cannot hold and must not wrap into an earlier year.
  const fs::path late_file = folder / "late.log";
  const fs::path far_file = folder / "far.log";
  WriteBytes(late_file, "x");
  WriteBytes(far_file, "x");
  testing::SetLastWriteUtc(late_file, UtcOfLocal(4354819200));  // 2108-01-01 00:00:00
  testing::SetLastWriteUtc(far_file, UtcOfLocal(5693371200));   // 2150-06-01 12:00:00
  for (const std::u16string& name :
       {Name(old_file), Name(late_file), Name(far_file), Name(folder / "missing.log"),
        std::u16string(), Name(folder.path())}) {
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
