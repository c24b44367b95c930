#include "base/error.h"

#include "base/utf.h"

namespace log2plt {

Error::Error(std::u16string message, std::u16string cause)
    : message_(std::move(message)), cause_(std::move(cause)), utf8_(ToUtf8(message_)) {}

std::u16string FillTemplate(std::u16string_view message_template,
                            std::initializer_list<std::u16string_view> arguments) {
  std::u16string text;
  const auto* next = arguments.begin();
  for (std::size_t i = 0; i < message_template.size(); ++i) {
    if (message_template[i] == u'%' && i + 1 < message_template.size() &&
        message_template[i + 1] == u's' && next != arguments.end()) {
      text += *next++;
      ++i;
    } else {
      text += message_template[i];
    }
  }
  return text;
}

std::u16string WithFinalFullStop(std::u16string_view message) {
  std::u16string text(message);
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

}  // namespace log2plt
