#include "storage/common_util.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace common {

int compareNoCase(std::string_view a, std::string_view b)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(asciiLower(a[i]));
        unsigned char cb = static_cast<unsigned char>(asciiLower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool containsNoCase(std::string_view text, std::string_view needle)
{
    if (needle.empty())
        return true;
    auto it = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                          [](char a, char b) { return asciiLower(a) == asciiLower(b); });
    return it != text.end();
}

std::size_t utf8Prefix(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t n = maxBytes;
    // Step back over continuation bytes (10xxxxxx) to the start of the
    // character that would be cut.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

std::string singleLine(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return result;
}

std::size_t copyBounded(char* dst, std::size_t dstSize, std::string_view src)
{
    if (dstSize == 0)
        return 0;
    std::size_t n = utf8Prefix(src, dstSize - 1);
    if (n > 0)
        std::memcpy(dst, src.data(), n);
    dst[n] = '\0';
    return n;
}

std::size_t boundedLength(const char* src, std::size_t size)
{
    const void* pZero = std::memchr(src, '\0', size);
    return pZero ? static_cast<std::size_t>(static_cast<const char*>(pZero) - src) : size;
}

bool fileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

long long fileSize(std::FILE* pFile)
{
    // Written data still in the stream's buffer counts too.
    if (std::fflush(pFile) != 0)
        return -1;
    struct stat st;
    if (::fstat(::fileno(pFile), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<long long>(st.st_size);
}

bool readLine(std::FILE* pFile, std::string& line)
{
    line.clear();
    // Byte by byte: a zero byte inside a line stays part of it. (A line read
    // with fgets ends for strlen at its first zero byte, and the rest of it
    // was lost while the next line was joined on.)
    bool bAny = false;
    int c;
    while ((c = std::getc(pFile)) != EOF) {
        bAny = true;
        if (c == '\n')
            return true;
        line += static_cast<char>(c);
    }
    return bAny;
}

bool syncFile(std::FILE* pFile)
{
    return std::fflush(pFile) == 0 && ::fsync(::fileno(pFile)) == 0;
}

bool syncFolder(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool bOk = ::fsync(fd) == 0;
    ::close(fd);
    return bOk;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::string tmp = path + ".tmp";
    FilePtr pFile = openFile(tmp, "wb");
    if (!pFile)
        return false;
    bool bOk = (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), pFile.get()) == bytes.size()) &&
               syncFile(pFile.get());
    bOk = std::fclose(pFile.release()) == 0 && bOk;
    if (bOk && std::rename(tmp.c_str(), path.c_str()) == 0)
        return true;
    const int nErrno = errno;  // the reason, not that of the clean-up
    std::remove(tmp.c_str());
    errno = nErrno;
    return false;
}

bool readWholeFile(const std::string& path, std::string& content)
{
    content.clear();
    FilePtr pFile = openFile(path, "rb");
    if (!pFile)
        return false;
    char buf[16384];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pFile.get())) > 0)
        content.append(buf, n);
    return !std::ferror(pFile.get());
}

std::string_view trimView(std::string_view text, std::string_view set)
{
    std::size_t nFirst = text.find_first_not_of(set);
    if (nFirst == std::string_view::npos)
        return std::string_view();
    return text.substr(nFirst, text.find_last_not_of(set) - nFirst + 1);
}

void putUInt32LE(unsigned char* dst, std::uint32_t value)
{
    dst[0] = static_cast<unsigned char>(value);
    dst[1] = static_cast<unsigned char>(value >> 8);
    dst[2] = static_cast<unsigned char>(value >> 16);
    dst[3] = static_cast<unsigned char>(value >> 24);
}

std::uint32_t getUInt32LE(const unsigned char* src)
{
    return static_cast<std::uint32_t>(src[0]) | (static_cast<std::uint32_t>(src[1]) << 8) |
           (static_cast<std::uint32_t>(src[2]) << 16) | (static_cast<std::uint32_t>(src[3]) << 24);
}

bool writeUInt32(std::FILE* pFile, std::uint32_t value)
{
    unsigned char buf[4];
    putUInt32LE(buf, value);
    return std::fwrite(buf, 1, 4, pFile) == 4;
}

bool writeInt32(std::FILE* pFile, std::int32_t value)
{
    return writeUInt32(pFile, static_cast<std::uint32_t>(value));
}

bool readUInt32(std::FILE* pFile, std::uint32_t& value)
{
    unsigned char buf[4];
    if (std::fread(buf, 1, 4, pFile) != 4)
        return false;
    value = getUInt32LE(buf);
    return true;
}

bool readInt32(std::FILE* pFile, std::int32_t& value)
{
    std::uint32_t u;
    if (!readUInt32(pFile, u))
        return false;
    value = static_cast<std::int32_t>(u);
    return true;
}

}  // namespace common
