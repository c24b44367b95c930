#pragma once
// Where a track's bytes go, in order, when no line list holds it.

#include <string_view>

namespace log2plt {

class TrackSink {
 public:
  virtual ~TrackSink() = default;
  // Throws the save's errors.
  virtual void Write(std::string_view bytes) = 0;
};

}  // namespace log2plt
