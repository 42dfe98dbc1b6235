#pragma once

// Shared by the fuzz targets. Each target is one entry function,
// LLVMFuzzerTestOneInput, built twice: with clang and libFuzzer (make fuzz)
// to search for inputs that crash or misbehave under AddressSanitizer and
// UndefinedBehaviorSanitizer, and in the normal build with FuzzReplayMain.cpp,
// which feeds it every file of its seed corpus (make test).
//
// Inputs are split into parts the same way by every target that needs
// several: at a separator byte, or, for binary files, by a header of lengths.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// A fresh temporary documents folder for this process (CALCUDEX_HOME), made
// on first use in /dev/shm (else the temporary folder); the targets that
// write book files write them there.
const std::string& home();

// Empties the documents folder, so that every input starts from nothing.
void clearHome();

// bytes into <documents>/strName.
void writeFile(const std::string& strName, std::string_view bytes);

// The input as text parts, split at every cSeparator; at most nMaxParts
// parts (the last one takes the rest).
std::vector<std::string> splitParts(std::string_view input, char cSeparator, std::size_t nMaxParts);

// Binary parts: a header of nParts - 1 little-endian uint16 lengths, then
// the parts one after another; lengths beyond the input are cut, the last
// part takes what is left.
std::vector<std::string> binaryParts(std::string_view input, std::size_t nParts);

inline std::string_view asText(const std::uint8_t* data, std::size_t size)
{
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzz
