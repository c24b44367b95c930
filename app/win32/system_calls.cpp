#include "app/win32/system_calls.h"

namespace log2plt::win32 {

DWORD SystemBuildNumber() {
  // GetVersionEx lies to programs without a manifest entry for each release; ntdll does not.
  using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto get_version = ntdll ? reinterpret_cast<RtlGetVersion>(reinterpret_cast<void*>(
                                       GetProcAddress(ntdll, "RtlGetVersion")))
                                 : nullptr;
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!get_version || get_version(&version) != 0) return 0;
  return version.dwBuildNumber;
}

SystemCalls& System() {
  static SystemCalls calls;
  return calls;
}

}  // namespace log2plt::win32
