#pragma once

// Small helpers under the storage code: ASCII case folding and comparison,
// bounded copies into the fixed arrays of the raw records, and little-endian
// integer I/O on C streams.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace common {

inline char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Byte-wise comparison after folding ASCII letters: <0, 0, >0.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
bool containsNoCase(std::string_view text, std::string_view needle);

// Copies src into the zero-terminated array dst of dstSize bytes. A text that
// does not fit is cut at a UTF-8 character boundary, never inside a
// character. The rest of the array is left as it was. Returns the bytes copied.
std::size_t copyBounded(char* dst, std::size_t dstSize, std::string_view src);

// The length of the zero-terminated text in a fixed array; at most size.
std::size_t boundedLength(const char* src, std::size_t size);

// text with every CR and LF turned into a blank: for texts written on one
// line of a line-based file.
std::string singleLine(std::string_view text);

// Longest prefix of text that is at most maxBytes long and ends on a UTF-8
// character boundary.
std::size_t utf8Prefix(std::string_view text, std::size_t maxBytes);

struct FileCloser {
    void operator()(std::FILE* pFile) const
    {
        if (pFile)
            std::fclose(pFile);
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

inline FilePtr openFile(const std::string& path, const char* mode)
{
    return FilePtr(std::fopen(path.c_str(), mode));
}

bool fileExists(const std::string& path);

// Size of an open regular file in bytes, -1 when it cannot be found. The
// position is left as it is.
long long fileSize(std::FILE* pFile);

// Reads one line (without its LF) of any length, zero bytes included; false
// at end of file with nothing read.
bool readLine(std::FILE* pFile, std::string& line);

// The whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& content);

// Flushes the stream and makes its data durable (fsync); false on failure.
bool syncFile(std::FILE* pFile);

// Makes the folder's entries (created, renamed, removed files) durable.
bool syncFolder(const std::string& path);

// Replaces the file at path by bytes all at once: they go to "<path>.tmp",
// which is synced and then renamed over the file. On failure the old file is
// left as it was, no ".tmp" stays behind, and errno tells why.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// text trimmed of the bytes of set at both ends, without copying.
std::string_view trimView(std::string_view text, std::string_view set);

void putUInt32LE(unsigned char* dst, std::uint32_t value);
std::uint32_t getUInt32LE(const unsigned char* src);

bool writeUInt32(std::FILE* pFile, std::uint32_t value);
bool writeInt32(std::FILE* pFile, std::int32_t value);
bool readUInt32(std::FILE* pFile, std::uint32_t& value);
bool readInt32(std::FILE* pFile, std::int32_t& value);

}  // namespace common
