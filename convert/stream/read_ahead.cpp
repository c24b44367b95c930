#include "convert/stream/read_ahead.h"

#include <cstring>

namespace log2plt {

std::unique_ptr<char[]> NewReadMemory(std::size_t size) {
  auto memory = std::make_unique_for_overwrite<char[]>(size);
  std::memset(memory.get(), 0, size);
  return memory;
}

ReadAhead::ReadAhead(LogSource& log, std::size_t piece_bytes)
    : log_(log), piece_bytes_(piece_bytes) {
  for (Piece& piece : pieces_) piece.bytes = NewReadMemory(piece_bytes);
  thread_ = std::thread([this] { ReadInTurn(); });
}

ReadAhead::~ReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

std::string_view ReadAhead::Next() {
  std::unique_lock lock(mutex_);
  if (given_out_) {
    // The piece given out last time is free for the next read.
    given_out_ = false;
    changed_.notify_all();
  }
  Piece& piece = pieces_[next_];
  changed_.wait(lock, [&] { return piece.ready; });
  if (piece.last && error_) std::rethrow_exception(error_);
  if (piece.size == 0) return {};
  piece.ready = false;
  given_out_ = true;
  next_ = 1 - next_;
  return {piece.bytes.get(), piece.size};
}

void ReadAhead::ReadInTurn() {
  for (int k = 0;; k = 1 - k) {
    Piece& piece = pieces_[k];
    {
      // A piece is free when it is neither waiting to be given out nor being looked at.
      std::unique_lock lock(mutex_);
      changed_.wait(lock,
                    [&] { return stopping_ || (!piece.ready && !(given_out_ && next_ != k)); });
      if (stopping_) return;
    }
    std::size_t got = 0;
    std::exception_ptr error;
    try {
      got = log_.Read(piece.bytes.get(), piece_bytes_);
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard lock(mutex_);
    piece.size = got;
    piece.ready = true;
    piece.last = got == 0 || error != nullptr;
    if (error) error_ = error;
    changed_.notify_all();
    if (piece.last) return;
  }
}

}  // namespace log2plt
