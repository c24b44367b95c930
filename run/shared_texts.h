#pragma once
// Texts that the windows and the command line both say.

namespace log2plt::texts {

// The overwrite question. Its line break is CR LF, as the Windows box shows it.
inline constexpr char16_t kQuestionText[] = u"Такой файлик уже существует.\r\nПерезапишем?";

inline constexpr char16_t kOutOfMemory[] = u"Out of memory";

}  // namespace log2plt::texts
