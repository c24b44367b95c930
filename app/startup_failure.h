#pragma once
// A start that could not build its window: the failure as its last box tells it.

#include <cstdint>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "app/window_texts.h"
#include "base/error.h"
#include "platform/program.h"
#include "run/shared_texts.h"

namespace log2plt::window {

// An error that knows the class name the box gives it and where in the program it was raised.
class PlacedError : public Error {
 public:
  PlacedError(std::u16string message, std::u16string_view class_name, std::uintptr_t address)
      : Error(std::move(message)), class_name_(class_name), address_(address) {}

  std::u16string_view ClassName() const noexcept { return class_name_; }
  // An offset into the program's executable.
  std::uintptr_t Address() const noexcept { return address_; }

 private:
  std::u16string_view class_name_;
  std::uintptr_t address_;
};

// A settings file that exists but cannot be read, which ends the start of the program.
class SettingsOpenError : public PlacedError {
 public:
  [[gnu::noinline]] explicit SettingsOpenError(const Error& cause)
      : PlacedError(cause.Message(), kSettingsOpenErrorClass,
                    platform::program::PlaceInImage(__builtin_return_address(0))) {}
};

struct StartupFailure {
  std::u16string class_name;
  std::u16string message;
  std::uintptr_t address = 0;
};

// Runs `create`; a failure comes back as the box will tell it. `place` stands for the code that
// failed when the error does not say where it was raised.
template <typename Create>
std::optional<StartupFailure> CatchStartupFailure(Create&& create, const void* place) {
  try {
    create();
    return std::nullopt;
  } catch (const PlacedError& error) {
    return StartupFailure{std::u16string(error.ClassName()), error.Message(), error.Address()};
  } catch (const Error& error) {
    return StartupFailure{kOtherErrorClass, error.Message(),
                          platform::program::PlaceInImage(place)};
  } catch (const std::bad_alloc&) {
    return StartupFailure{kOutOfMemoryClass, texts::kOutOfMemory,
                          platform::program::PlaceInImage(place)};
  }
}

// "Exception CLASS in module PROGRAM at 0000ABCD." CR LF, the message with a final "." unless it
// already has one, CR LF. `program_name` is the executable's file name without its folder.
std::u16string StartupFailureText(const StartupFailure& failure, std::u16string_view program_name);

}  // namespace log2plt::window
