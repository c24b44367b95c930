#pragma once
// The core's UTF-16 texts and Qt's, which hold the same code units.

#include <QString>
#include <string>
#include <string_view>

namespace log2plt::qt {

inline QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16String(const QString& text) { return text.toStdU16String(); }

// A text with Windows line breaks as a plain-text box shows it: each CR LF one line feed.
inline QString PlainLines(std::u16string_view text) {
  return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace log2plt::qt
