#include <windows.h>

#include <climits>

#include "base/wide.h"
#include "platform/codepage.h"

namespace log2plt::platform::codepage {
namespace {

// The Win32 conversions take int lengths; a file under 2 GiB fits in one call.
int Length(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

}  // namespace

unsigned AnsiCodePage() { return GetACP(); }

std::u16string DecodeAnsi(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), Length(bytes.size()), nullptr, 0);
  std::u16string text(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), Length(bytes.size()), AsWide(text.data()), units);
  return text;
}

void AppendEncodedAnsi(std::string& out, std::u16string_view text) {
  if (text.empty()) return;
  const int size = WideCharToMultiByte(CP_ACP, 0, AsWide(text.data()), Length(text.size()), nullptr,
                                       0, nullptr, nullptr);
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(size));
  WideCharToMultiByte(CP_ACP, 0, AsWide(text.data()), Length(text.size()), out.data() + start, size,
                      nullptr, nullptr);
}

}  // namespace log2plt::platform::codepage
