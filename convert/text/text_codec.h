#pragma once
// How the bytes of a text file become the text of a line list: encoding by signature, decoding,
// line breaks made CR LF, the text cut at its first NUL.

#include <cstddef>
#include <string>
#include <string_view>

#include "convert/text/line_list.h"

namespace log2plt {

enum class TextEncoding { kUtf16Le, kUtf16Be, kUtf8, kAnsi };

struct EncodingSignature {
  TextEncoding encoding;
  std::size_t length;  // bytes of the signature, skipped before decoding
};

EncodingSignature DetectEncoding(std::string_view bytes);

bool IsAscii(std::string_view bytes) noexcept;

// Cuts the text at its first NUL and turns every lone CR and every lone LF into CR LF.
void NormaliseLineBreaks(std::string& text);
void NormaliseLineBreaks(std::u16string& text);

// Replaces the list's text with the decoded, normalised text of a file's bytes. An ANSI or UTF-8
// file of ASCII bytes keeps its buffer: the bytes are the text. A malformed UTF-8 file gives an
// empty text. Throws "Text exceeds memo capacity" when memory runs out.
void AssignFileBytes(LineList& list, std::string bytes);

}  // namespace log2plt
