// The button's conversion run, driven through the real window: the file it writes, the question
// before an overwrite, and the errors it shows.

#include <string>

#include "convert/format/datetime_format.h"
#include "convert/format/format_settings.h"
#include "window_fixture.h"

namespace log2plt::win32::gui_test {
namespace {

// Stamps in characters 15 to 22 of the first and the last line.
const std::string kLog =
    "20090812 log  08:00:00 start\r\n"
    "55.7512 37.6184\r\n"
    "55.7513 37.6185\r\n"
    "55.7514 37.6186\r\n"
    "55.7515 37.6187\r\n"
    "20090812 log  09:00:00 end\r\n";

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// The track that kLog gives for 12 August 2009 (day 40037); dates and times follow the locale.
std::string ExpectedTrack() {
  const std::string date = Narrow(FormatDateTimePattern(u"dd-mmm-yy", 40037, LoadFormatSettings()));
  const auto time = [](int minutes) {
    return Narrow(FormatDateTimePattern(LoadFormatSettings().long_time_pattern, minutes / 1440.0,
                                        LoadFormatSettings()));
  };
  return "OziExplorer Track Point File Version 2.1\r\n"
         "WGS 84\r\n"
         "Altitude is in Feet\r\n"
         "Reserved 3\r\n"
         "0,3,8421504,Track 000,0,0,0,8421504\r\n"
         "4\r\n"
         "55.7512,37.6184,1,500,40037.3333333," +
         date + "," + time(480) +
         "\r\n"
         "55.7513,37.6185,0,500,40037.3472222," +
         date + "," + time(500) +
         "\r\n"
         "55.7514,37.6186,0,500,40037.3611111," +
         date + "," + time(520) +
         "\r\n"
         "55.7515,37.6187,0,500,40037.3750000," +
         date + "," + time(540) + "\r\n";
}

class ConversionRunTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    WriteFileBytes(input_, kLog);
    SetLastWriteTime(input_, 2009, 8, 12, 18, 30);
    SetText(form_->FilenameEditIn.Handle(), input_);
    SetText(form_->FilenameEditOut, output_);
  }

  TempFolder folder_;
  std::wstring input_ = folder_ / L"day1.log";
  std::wstring output_ = folder_ / L"day1.plt";
};

TEST_F(ConversionRunTest, WritesTheTrackFileWithoutAQuestionWhenTheOutputIsNew) {
  form_->Settings.decimal_separator = u',';
  Click(form_->sBitBtn1);
  EXPECT_EQ(ReadFileBytes(output_), ExpectedTrack());
  EXPECT_TRUE(FakeDialogs::boxes.empty());
  EXPECT_EQ(LineCount(form_->MemoIn), 6);
  EXPECT_EQ(LineCount(form_->MemoOut), 10);
  EXPECT_EQ(form_->Settings.decimal_separator, u'.');
}

TEST_F(ConversionRunTest, AnExistingOutputIsReplacedOnlyAfterYes) {
  WriteFileBytes(output_, "old track");
  FakeDialogs::answer_box = [](const MessageBoxCall&) { return IDNO; };
  form_->Settings.decimal_separator = u',';
  Click(form_->sBitBtn1);

  ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
  const MessageBoxCall& question = FakeDialogs::boxes[0];
  EXPECT_EQ(question.owner, nullptr);
  EXPECT_EQ(question.caption, L"Вопрос на сообразительность");
  EXPECT_EQ(question.text, L"Такой файлик уже существует.\r\nПерезапишем?");
  EXPECT_EQ(question.flags, static_cast<UINT>(MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING));
  EXPECT_TRUE(question.main_window_enabled);
  // No: nothing read, nothing written, but the decimal point stays.
  EXPECT_EQ(ReadFileBytes(output_), "old track");
  EXPECT_EQ(LineAt(form_->MemoIn, 0), u"MemoIn");
  EXPECT_EQ(form_->Settings.decimal_separator, u'.');

  FakeDialogs::answer_box = [](const MessageBoxCall&) { return IDYES; };
  Click(form_->sBitBtn1);
  EXPECT_EQ(FakeDialogs::boxes.size(), 2u);
  EXPECT_EQ(ReadFileBytes(output_), ExpectedTrack());
}

TEST_F(ConversionRunTest, AnOutputNamedLikeTheInputReplacesTheLog) {
  SetText(form_->FilenameEditOut, input_);
  FakeDialogs::answer_box = [](const MessageBoxCall&) { return IDYES; };
  Click(form_->sBitBtn1);
  EXPECT_EQ(ReadFileBytes(input_), ExpectedTrack());
}

TEST_F(ConversionRunTest, DatesEveryPointByTheDayOfTheLogsLastWrite) {
  struct Case {
    WORD day, hour, minute;
    const char* first_point_value;
  };
  FakeDialogs::answer_box = [](const MessageBoxCall&) { return IDYES; };
  for (const Case& c : {Case{13, 0, 10, ",40038.3333333,"}, Case{12, 23, 59, ",40037.3333333,"}}) {
    SetLastWriteTime(input_, 2009, 8, c.day, c.hour, c.minute);
    Click(form_->sBitBtn1);
    EXPECT_NE(ReadFileBytes(output_).find(c.first_point_value), std::string::npos)
        << c.first_point_value;
  }
}

TEST_F(ConversionRunTest, KeepsTheDecimalPointWhenTheSettingsChangeDuringTheQuestion) {
  WriteFileBytes(output_, "old track");
  FakeDialogs::answer_box = [this](const MessageBoxCall&) {
    // As a reload to a locale with a decimal comma would leave it.
    form_->Settings.decimal_separator = u',';
    return IDYES;
  };
  Click(form_->sBitBtn1);
  EXPECT_EQ(ReadFileBytes(output_), ExpectedTrack());
}

TEST_F(ConversionRunTest, ReloadsTheFormatSettingsWhenTheSystemAnnouncesAChange) {
  const char16_t locale_separator = LoadFormatSettings().decimal_separator;
  for (const UINT message :
       {static_cast<UINT>(WM_WININICHANGE), RegisterWindowMessageW(L"TaskbarCreated")}) {
    form_->Settings.decimal_separator = u'#';
    SendMessageW(form_->Handle(), message, 0, 0);
    EXPECT_EQ(form_->Settings.decimal_separator, locale_separator) << message;
  }
}

TEST_F(ConversionRunTest, ShowsEachFailureWithItsFullStopAndGoesOn) {
  struct Case {
    const char* what;
    std::wstring input;
    std::string log;
    std::wstring output;
    std::wstring message;
  };
  const std::wstring missing = folder_ / L"missing.log";
  const std::wstring bad = folder_ / L"bad.log";
  const Case cases[] = {
      {"empty input name", L"", "", output_, L"Invalid argument to date encode."},
      {"missing input", missing, "", output_, L"Invalid argument to date encode."},
      {"invalid start stamp", bad,
       "20090812 log  08:7x:00\r\n1 2\r\n1 2\r\n20090812 log  09:00:00\r\n", output_,
       L"''08:7x:00'' is not a valid time."},
      {"three lines", bad, "20090812 log  08:00:00\r\n1 2\r\n20090812 log  09:00:00\r\n", output_,
       L"Floating point division by zero."},
      {"three lines, equal stamps", bad,
       "20090812 log  08:00:00\r\n1 2\r\n20090812 log  08:00:00\r\n", output_,
       L"Invalid floating point operation."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeDialogs::boxes.clear();
    if (!c.log.empty()) WriteFileBytes(c.input, c.log);
    SetText(form_->FilenameEditIn.Handle(), c.input);
    SetText(form_->FilenameEditOut, c.output);
    Click(form_->sBitBtn1);
    ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
    const MessageBoxCall& box = FakeDialogs::boxes[0];
    EXPECT_EQ(box.text, c.message);
    EXPECT_EQ(box.caption, L"PLT кодер");
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(box.owner, form_->Handle());
    EXPECT_FALSE(box.main_window_enabled);
    EXPECT_TRUE(IsWindowEnabled(form_->Handle()));
    EXPECT_EQ(GetFileAttributesW(output_.c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

TEST_F(ConversionRunTest, AnUnwritableOutputFailsAfterTheConversionAndKeepsItsLines) {
  const std::wstring output = folder_ / L"no such folder\\day1.plt";
  SetText(form_->FilenameEditOut, output);
  Click(form_->sBitBtn1);
  ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
  const std::wstring& text = FakeDialogs::boxes[0].text;
  EXPECT_EQ(text.rfind(L"Cannot create file \"" + output + L"\". ", 0), 0u) << text;
  EXPECT_EQ(text.back(), L'.');
  EXPECT_NE(text.substr(text.size() - 2), L"..");
  EXPECT_EQ(LineCount(form_->MemoOut), 10);

  // The next run, to a good name, writes exactly what a first run would.
  SetText(form_->FilenameEditOut, output_);
  Click(form_->sBitBtn1);
  EXPECT_EQ(ReadFileBytes(output_), ExpectedTrack());
}

}  // namespace
}  // namespace log2plt::win32::gui_test
