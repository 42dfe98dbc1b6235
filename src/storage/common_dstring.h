#pragma once

// Byte-string helpers shared by the book compiler, the calculation screen and
// the formula wizard. Texts are UTF-8 byte strings; every function works on
// bytes and returns a new text.

#include <cstddef>
#include <string>
#include <vector>

namespace common {

extern const std::string EMPTY_STRING;  // ""
extern const std::string SPACE_STRING;  // " "
extern const std::string COMMA_STRING;  // ","
extern const std::string CRLF;          // "\r\n"

// Every occurrence of search replaced by replacement. After each replacement
// the search starts again from the beginning, so occurrences that a
// replacement creates together with its neighbours are replaced as well.
// When the replacement itself contains the search text (or the search text is
// empty) that rule would never end; such a call replaces each occurrence of
// the original text once, left to right.
std::string string_replace(const std::string& text, const std::string& search,
                           const std::string& replacement);

// The first / last n bytes; the whole text when it is shorter.
std::string string_left(const std::string& text, std::size_t n);
std::string string_right(const std::string& text, std::size_t n);

// n bytes from start; clipped to the text, empty when start is past its end.
std::string string_sub(const std::string& text, std::size_t start, std::size_t n);

// The bytes of set removed at both ends; a text made only of them gives "".
std::string string_trim(const std::string& text, const std::string& set);

// Appends the pieces between separators to out; the last piece is the rest
// after the last separator (so "a,b," gives "a", "b", ""). An empty separator
// appends the whole text as one piece.
void string_split(const std::string& text, const std::string& separator,
                  std::vector<std::string>& out);

// ASCII letters folded; every other byte (UTF-8 sequences included) unchanged.
std::string toLower(const std::string& text);
std::string toUpper(const std::string& text);

}  // namespace common
