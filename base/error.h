#pragma once
// The program's one error type: it carries the exact message text shown to the user.

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

namespace log2plt {

class Error : public std::exception {
 public:
  explicit Error(std::u16string message, std::u16string cause = {});

  // The text the windows show, exactly.
  const std::u16string& Message() const noexcept { return message_; }
  // The cause in plain words where the message hides it (a missing file behind "Invalid argument
  // to date encode", an empty log behind a time that is not valid); empty where the message names
  // its cause itself. The command line shows it first.
  const std::u16string& Cause() const noexcept { return cause_; }
  // The message in UTF-8, for diagnostics.
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::u16string cause_;
  std::string utf8_;
};

// Replaces each "%s" of the template, left to right, by the next argument; nothing else of the
// template is interpreted.
std::u16string FillTemplate(std::u16string_view message_template,
                            std::initializer_list<std::u16string_view> arguments);

// The message as the error display shows it: a "." is appended when the message is not empty and
// its last character has a code above that of ".".
std::u16string WithFinalFullStop(std::u16string_view message);

}  // namespace log2plt
