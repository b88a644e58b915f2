#pragma once

#include <cstdint>
#include <string_view>

namespace quenmark::devserver {

/// What a "Range" header asks of a file of a known size.
struct ByteRange {
  enum class Kind {
    whole,          ///< No range, or one the server may ignore (malformed, several ranges): send everything.
    partial,        ///< One range that overlaps the file: `first` and `length`, clipped to the file.
    unsatisfiable,  ///< One well-formed range that lies wholly after the end of the file.
  };
  Kind kind = Kind::whole;
  std::uint64_t first = 0;
  std::uint64_t length = 0;
};

/// Reads a "bytes=first-last", "bytes=first-" or "bytes=-suffix" header against a file of `size` bytes.
ByteRange parseByteRange(std::string_view header, std::uint64_t size);

}  // namespace quenmark::devserver
