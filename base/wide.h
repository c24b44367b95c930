#pragma once
// Windows' wchar_t is a 16-bit UTF-16 code unit, as char16_t is: the program's texts reach the
// wide-character API and come back from it as they are, without any conversion. Only code built
// for Windows includes this header.

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be a UTF-16 code unit");

namespace log2plt {

inline const wchar_t* AsWide(const char16_t* text) noexcept {
  return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* AsWide(char16_t* text) noexcept { return reinterpret_cast<wchar_t*>(text); }
inline std::wstring_view AsWide(std::u16string_view text) noexcept {
  return {AsWide(text.data()), text.size()};
}

inline const char16_t* FromWide(const wchar_t* text) noexcept {
  return reinterpret_cast<const char16_t*>(text);
}
inline std::u16string_view FromWide(std::wstring_view text) noexcept {
  return {FromWide(text.data()), text.size()};
}

}  // namespace log2plt
