#include "platform/codepage.h"

namespace log2plt::platform::codepage {
namespace {

struct LanguageCodePage {
  std::string_view language;
  unsigned code_page;
};

// The ANSI code pages that Windows gives these languages in their default script.
constexpr LanguageCodePage kCodePages[] = {
    {"cs", 1250}, {"hu", 1250}, {"pl", 1250}, {"ro", 1250},  {"sk", 1250}, {"sl", 1250},
    {"hr", 1250}, {"sq", 1250}, {"bs", 1250}, {"tk", 1250},  {"ru", 1251}, {"uk", 1251},
    {"be", 1251}, {"bg", 1251}, {"mk", 1251}, {"sr", 1251},  {"kk", 1251}, {"ky", 1251},
    {"tt", 1251}, {"mn", 1251}, {"ba", 1251}, {"sah", 1251}, {"tg", 1251}, {"el", 1253},
    {"tr", 1254}, {"az", 1254}, {"uz", 1254}, {"he", 1255},  {"yi", 1255}, {"ar", 1256},
    {"fa", 1256}, {"ur", 1256}, {"ug", 1256}, {"sd", 1256},  {"lt", 1257}, {"lv", 1257},
    {"et", 1257}, {"vi", 1258}, {"th", 874},  {"ja", 932},   {"zh", 936},  {"ko", 949},
};

}  // namespace

unsigned CodePageOfLocaleName(std::string_view locale_name) {
  const std::size_t language_end = locale_name.find_first_of("_.@");
  const std::string_view language = locale_name.substr(0, language_end);
  std::string_view territory;
  if (language_end != std::string_view::npos && locale_name[language_end] == '_') {
    territory = locale_name.substr(language_end + 1);
    territory = territory.substr(0, territory.find_first_of(".@"));
  }
  std::string_view modifier;
  if (const std::size_t at = locale_name.find('@'); at != std::string_view::npos) {
    modifier = locale_name.substr(at + 1);
  }

  // Languages that Windows writes in either script, by the script the locale names.
  if (modifier == "latin") {
    if (language == "sr" || language == "bs") return 1250;
    if (language == "uz" || language == "az") return 1254;
  }
  if (modifier == "cyrillic" && (language == "uz" || language == "az" || language == "bs")) {
    return 1251;
  }
  if (language == "zh" && (territory == "TW" || territory == "HK" || territory == "MO")) return 950;

  for (const LanguageCodePage& entry : kCodePages) {
    if (entry.language == language) return entry.code_page;
  }
  return 1252;
}

}  // namespace log2plt::platform::codepage
