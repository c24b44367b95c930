#pragma once
// The real main window, created in the test process, with the system's dialogs answered by the
// test instead of a user.

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/f_general.h"
#include "app/win32/system_calls.h"

namespace log2plt::win32::gui_test {

struct MessageBoxCall {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT flags;
  bool main_window_enabled;
};

struct OpenDialogCall {
  HWND owner;
  std::wstring initial_dir;  // "(none)" when the dialog was given none
  std::wstring file_name;
  std::wstring filter;  // with the NULs as "|"
  DWORD filter_index;
  DWORD flags;
  bool has_title;
  bool has_default_extension;
};

// Replaces the message box and the open-file dialog while it lives.
class FakeDialogs {
 public:
  FakeDialogs();
  ~FakeDialogs();

  // What the next message boxes answer; IDOK by default.
  static inline std::function<int(const MessageBoxCall&)> answer_box;
  // The name that the open-file dialog returns, or nothing for a cancelled dialog.
  static inline std::function<const wchar_t*(const OpenDialogCall&)> answer_dialog;
  static inline std::vector<MessageBoxCall> boxes;
  static inline std::vector<OpenDialogCall> dialogs;

 private:
  SystemCalls saved_;
};

// A folder of its own under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

void WriteFileBytes(const std::wstring& name, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& name);
// Sets the file's last-write time to a local date and time.
void SetLastWriteTime(const std::wstring& name, WORD year, WORD month, WORD day, WORD hour,
                      WORD minute);
void RemoveFolderTree(const std::wstring& folder);

std::wstring TextOf(HWND window);
void SetText(HWND window, const std::wstring& text);
void Click(HWND button);
// Handles what is waiting in the thread's queue (a WM_QUIT of a closed window included).
void PumpMessages();

// The settings file that the program keeps beside its executable.
std::wstring SettingsFileBesideProgram();

// A shown main window, with faked dialogs and a settings file of its own in a folder of its own.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  FakeDialogs dialogs_;
  TempFolder settings_folder_;
  std::unique_ptr<TForm7> form_;
};

}  // namespace log2plt::win32::gui_test
