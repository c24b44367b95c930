#pragma once
// Reading a log on a thread of its own, one piece ahead of the thread that looks at the pieces:
// the copy out of the file and the scan of the bytes then take the same time instead of the sum
// of both.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "convert/stream/log_source.h"

namespace log2plt {

// Memory for reads of the log, written once when it is allocated: some systems probe a read's
// buffer before they fill it (Wine reads each page first), and a page that is read before it is
// ever written is mapped twice, the second time with every processor's address cache flushed.
std::unique_ptr<char[]> NewReadMemory(std::size_t size);

class ReadAhead {
 public:
  ReadAhead(LogSource& log, std::size_t piece_bytes);
  // Waits for the read in progress; the log is left wherever it got to.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next piece, valid until the next call; empty at the end of the log. Throws what reading
  // threw.
  std::string_view Next();

 private:
  struct Piece {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    bool ready = false;  // read and not yet given out
    bool last = false;   // the read that found the end, or failed
  };

  void ReadInTurn();

  LogSource& log_;
  std::size_t piece_bytes_;
  Piece pieces_[2];
  int next_ = 0;            // the piece Next gives out
  bool given_out_ = false;  // Next gave out the other piece, which is still being looked at
  std::mutex mutex_;
  std::condition_variable changed_;
  std::exception_ptr error_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace log2plt
