#include "window_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace log2plt::win32::gui_test {
namespace {

int WINAPI FakeMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
  const HWND main = FindWindowW(TForm7::kClassName, nullptr);
  FakeDialogs::boxes.push_back(
      {owner, text ? text : L"", caption ? caption : L"", flags, main && IsWindowEnabled(main)});
  return FakeDialogs::answer_box ? FakeDialogs::answer_box(FakeDialogs::boxes.back()) : IDOK;
}

std::wstring FilterText(const wchar_t* filter) {
  std::wstring text;
  if (!filter) return text;
  while (*filter) {
    const std::wstring part = filter;
    text += part + L"|";
    filter += part.size() + 1;
  }
  return text;
}

BOOL WINAPI FakeOpenDialog(LPOPENFILENAMEW dialog) {
  FakeDialogs::dialogs.push_back(
      {dialog->hwndOwner, dialog->lpstrInitialDir ? dialog->lpstrInitialDir : L"(none)",
       dialog->lpstrFile, FilterText(dialog->lpstrFilter), dialog->nFilterIndex, dialog->Flags,
       dialog->lpstrTitle != nullptr, dialog->lpstrDefExt != nullptr});
  const wchar_t* chosen = FakeDialogs::answer_dialog
                              ? FakeDialogs::answer_dialog(FakeDialogs::dialogs.back())
                              : nullptr;
  if (!chosen) return FALSE;
  const std::wstring name = chosen;
  if (name.size() + 1 > dialog->nMaxFile) return FALSE;
  std::copy(name.c_str(), name.c_str() + name.size() + 1, dialog->lpstrFile);
  return TRUE;
}

}  // namespace

FakeDialogs::FakeDialogs() : saved_(System()) {
  boxes.clear();
  dialogs.clear();
  answer_box = nullptr;
  answer_dialog = nullptr;
  System().message_box = &FakeMessageBox;
  System().get_open_file_name = &FakeOpenDialog;
}

FakeDialogs::~FakeDialogs() {
  System() = saved_;
  answer_box = nullptr;
  answer_dialog = nullptr;
}

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  path_ = std::wstring(base) + L"log2plt-gui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveFolderTree(path_); }

void RemoveFolderTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolderTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

void WriteFileBytes(const std::wstring& name, const std::string& bytes) {
  std::ofstream file(std::filesystem::path(name), std::ios::binary);
  file << bytes;
}

std::string ReadFileBytes(const std::wstring& name) {
  std::ifstream file(std::filesystem::path(name), std::ios::binary);
  // Through the stream buffer: GCC's -Wnull-dereference misreads istreambuf_iterator at -O2.
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void SetLastWriteTime(const std::wstring& name, WORD year, WORD month, WORD day, WORD hour,
                      WORD minute) {
  const SYSTEMTIME local{year, month, 0, day, hour, minute, 0, 0};
  FILETIME local_time, utc;
  SystemTimeToFileTime(&local, &local_time);
  LocalFileTimeToFileTime(&local_time, &utc);
  const HANDLE file = CreateFileW(name.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetText(HWND window, const std::wstring& text) { SetWindowTextW(window, text.c_str()); }

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::wstring SettingsFileBesideProgram() {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring file = program;
  file.resize(file.rfind(L'\\') + 1);
  return file + L"Zandor_LOG_to_PLT.ini";
}

void MainWindowTest::SetUp() {
  const std::wstring settings_file = settings_folder_ / L"Zandor_LOG_to_PLT.ini";
  form_ = std::make_unique<TForm7>(GetModuleHandleW(nullptr),
                                   std::u16string(settings_file.begin(), settings_file.end()));
  form_->Show(SW_SHOWNORMAL);
  PumpMessages();
}

void MainWindowTest::TearDown() {
  form_.reset();
  PumpMessages();
}

}  // namespace log2plt::win32::gui_test
