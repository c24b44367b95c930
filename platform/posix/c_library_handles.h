#pragma once
// Owners for the C library's conversion descriptors, locale objects and streams.

#include <iconv.h>
#include <locale.h>

#include <cstdio>

#include "base/unique_handle.h"

namespace log2plt::platform {

struct IconvTraits {
  static iconv_t Invalid() noexcept { return reinterpret_cast<iconv_t>(-1); }
  static void Close(iconv_t converter) noexcept { iconv_close(converter); }
};
using Iconv = UniqueHandle<iconv_t, IconvTraits>;
// A converter from the encoding `from` to `to`; empty when iconv does not know either.
inline Iconv OpenIconv(const char* to, const char* from) { return Iconv(iconv_open(to, from)); }

struct LocaleTraits {
  static locale_t Invalid() noexcept { return nullptr; }
  static void Close(locale_t locale) noexcept { freelocale(locale); }
};
using Locale = UniqueHandle<locale_t, LocaleTraits>;

struct CFileTraits {
  static std::FILE* Invalid() noexcept { return nullptr; }
  static void Close(std::FILE* file) noexcept { std::fclose(file); }
};
using CFile = UniqueHandle<std::FILE*, CFileTraits>;
// A stream of the C library; empty when fopen fails, with errno set.
inline CFile OpenCFile(const char* name, const char* mode) { return CFile(std::fopen(name, mode)); }

}  // namespace log2plt::platform
