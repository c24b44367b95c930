#pragma once
// Every text that the window, its boxes and its start-up failure show, on both desktops.

namespace log2plt::window {

// The caption of every error box.
inline constexpr char16_t kApplicationTitle[] = u"PLT кодер";
inline constexpr char16_t kCaption[] = u"LOG to PLT кодер";

inline constexpr char16_t kInputLabel[] = u"Исходный трек (log)";
inline constexpr char16_t kOutputLabel[] = u"Выходной трек (plt)";
inline constexpr char16_t kButtonCaption[] = u"Перекодировать";

// What a screen reader says of the browse button, and its tooltip.
inline constexpr char16_t kBrowseName[] = u"Обзор";
inline constexpr char16_t kBrowseTip[] = u"Выбрать исходный трек (Alt+Down)";

// The browse dialog's one file type: what its list shows, "|", the pattern that selects.
inline constexpr char16_t kLogFilter[] = u"*.log|*.log";

// The overwrite question's caption; its text is in run/shared_texts.h.
inline constexpr char16_t kQuestionCaption[] = u"Вопрос на сообразительность";

inline constexpr char16_t kSkinMenuCaption[] = u"Available skins";
// The menu entry after it, and the box it shows.
inline constexpr char16_t kAboutMenuCaption[] = u"About log2plt\u2026";
inline constexpr char16_t kAboutCaption[] = u"About log2plt";

// The box of a start that could not build its window.
inline constexpr char16_t kStartupFailureCaption[] = u"Application Error";
inline constexpr char16_t kStartupFailureTemplate[] = u"Exception %s in module %s at %s.\r\n";
// The class names that box gives the failures.
inline constexpr char16_t kSettingsOpenErrorClass[] = u"EFOpenError";
inline constexpr char16_t kOsErrorClass[] = u"EOSError";
inline constexpr char16_t kOutOfMemoryClass[] = u"EOutOfMemory";
inline constexpr char16_t kOtherErrorClass[] = u"Exception";

}  // namespace log2plt::window
