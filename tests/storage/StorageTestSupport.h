#pragma once

// Helpers shared by the storage and shell tests: a private documents folder
// per test, whole-file reads and writes, and compiling a book from a text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A fresh temporary folder used as the documents folder (CALCUDEX_HOME) for
// one test; the process-wide state is reset. Removed with its content after
// the test.
class TempHomeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string path(const std::string& strName) const { return m_strHome + "/" + strName; }

    // The four file paths of a book, order tree, index, description, detail.
    std::vector<std::string> bookPaths(const std::string& strBook) const;

    // Writes the text to a source file and compiles it into strBook.
    bool compileText(const std::string& strBook, const std::string& strText, bool bAppend = false);

    std::string m_strHome;
};

Bytes readBytes(const std::string& strPath);
void writeBytes(const std::string& strPath, const Bytes& bytes);
void writeText(const std::string& strPath, const std::string& strText);
bool pathExists(const std::string& strPath);

// Files of the folder whose names begin with "tmp_" or end in ".tmp"/".part".
std::vector<std::string> leftoverTemporaryFiles(const std::string& strFolder);

// Little-endian bytes of a 32-bit value.
void putLE(Bytes& bytes, std::size_t nOffset, std::uint32_t nValue);
std::uint32_t getLE(const Bytes& bytes, std::size_t nOffset);

// A source with one folder (1, "Mechanics") and one formula (1.1) with two
// parameters, two expressions and one image.
extern const char* const SAMPLE_SOURCE;
