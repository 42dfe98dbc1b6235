// calcudex-cli books / tree / show / compile, run as a separate program.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "IndependentBookReader.h"
#include "StorageTestSupport.h"
#include "storage/BookFolders.h"

namespace fs = std::filesystem;

namespace {

std::string quote(const std::string& s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

class Cli : public TempHomeTest {
protected:
    CliResult run(const std::vector<std::string>& args)
    {
        std::string cmd = "CALCUDEX_HOME=" + quote(m_strHome) +
                          " CALCUDEX_RESOURCES=" + quote(CALCUDEX_BUILD_RESOURCES) + " " +
                          quote(CALCUDEX_CLI);
        for (const std::string& a : args)
            cmd += " " + quote(a);
        cmd += " 2>" + quote(path("stderr.txt"));
        CliResult result;
        if (FILE* pipe = ::popen(cmd.c_str(), "r")) {
            char buf[4096];
            std::size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0)
                result.out.append(buf, n);
            int status = ::pclose(pipe);
            result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        const Bytes err = readBytes(path("stderr.txt"));
        result.err.assign(err.begin(), err.end());
        return result;
    }
};

struct StatusCase {
    std::vector<std::string> args;
    int status;
};

TEST_F(Cli, ExitStatusTable)
{
    writeText(path("ok.txt"), SAMPLE_SOURCE);
    const StatusCase cases[] = {
        // bad arguments: usage, status 2
        {{}, 2},
        {{"nosuchverb"}, 2},
        {{"books", "extra"}, 2},
        {{"tree"}, 2},
        {{"tree", "Math", "extra"}, 2},
        {{"tree", "Geology"}, 2},
        {{"show", "Math"}, 2},
        {{"compile", path("ok.txt")}, 2},
        {{"compile", path("ok.txt"), "Math", "--bogus"}, 2},
        {{"compile", path("ok.txt"), "Nowhere"}, 2},
        // failed operations: status 1
        {{"compile", path("missing.txt"), "Math"}, 1},
        {{"show", "Math", "99.99"}, 1},
        // success
        {{"books"}, 0},
        {{"tree", "optics"}, 0},
        {{"compile", path("ok.txt"), "Optics"}, 0},
        {{"compile", "--append", path("ok.txt"), "Optics"}, 0},
    };
    for (const StatusCase& c : cases) {
        std::string what;
        for (const std::string& a : c.args)
            what += a + " ";
        CliResult r = run(c.args);
        EXPECT_EQ(r.status, c.status) << what;
        if (c.status == 2) {
            EXPECT_NE(r.err.find("usage: calcudex-cli"), std::string::npos) << what;
        } else if (c.status == 1) {
            EXPECT_FALSE(r.err.empty()) << what;
        }
    }
}

TEST_F(Cli, BooksListsTheSevenBooks)
{
    CliResult r = run({"books"});
    std::string expected;
    for (const std::string& strBook : g_arrBooks)
        expected += strBook + "\n";
    EXPECT_EQ(r.out, expected);
}

TEST_F(Cli, TreeAndShowReadTheUsersCopyOfABook)
{
    writeText(path("ok.txt"), SAMPLE_SOURCE);
    ASSERT_EQ(run({"compile", path("ok.txt"), "Math"}).status, 0);
    ASSERT_EQ(run({"compile", path("ok.txt"), "Math", "--append"}).status, 0);
    CliResult tree = run({"tree", "MATH"});
    EXPECT_EQ(tree.status, 0);
    EXPECT_EQ(tree.out, ".1\t2\tMechanics\n.1\t2\tMechanics\n.1.1\t1\tWork\n.1.1\t1\tWork\n");

    CliResult show = run({"show", "Math", "1.1"});
    EXPECT_EQ(show.status, 0);
    for (const char* szPart : {"0x01010000", "Work done by a constant force", "W = F s",
                               "work.png", "alias f", "= w/s"})
        EXPECT_NE(show.out.find(szPart), std::string::npos) << szPart << " in\n" << show.out;
}

// Appending to a book the documents folder does not hold yet adds to the
// shipped book, as the program would after its start-up copy; the new
// formula must not become the whole book.
TEST_F(Cli, AppendToABookNotYetCopiedKeepsTheShippedFormulas)
{
    const std::string strShipped = std::string(CALCUDEX_BUILD_RESOURCES) + "/Formulas/Math";
    refbook::Book shipped;
    ASSERT_EQ(refbook::parse(refbook::load(strShipped, "Math"), shipped), "");
    ASSERT_FALSE(shipped.index.empty());

    writeText(path("mine.txt"), "***\nForId=99.1\nForType=1\nForName=Mine\nImage=\n");
    ASSERT_FALSE(pathExists(bookPaths("Math")[1]));
    CliResult r = run({"compile", path("mine.txt"), "Math", "--append"});
    ASSERT_EQ(r.status, 0) << r.err;

    refbook::Book book;
    ASSERT_EQ(refbook::parse(refbook::load(m_strHome, "Math"), book), "");
    ASSERT_EQ(book.index.size(), shipped.index.size() + 1);
    EXPECT_EQ(book.index.back().id, 0x63010000u);
    EXPECT_EQ(book.tree.size(), shipped.tree.size() + 1);
    EXPECT_EQ(book.tree.back().name, "Mine");
}

// Every book text shipped in books/ compiles without a warning into files
// that the independent reader accepts byte for byte, with one tree line per
// record and one index entry per formula record.
TEST_F(Cli, ShippedBookTextsCompileIntoValidBooks)
{
    for (const std::string& strBook : g_arrBooks) {
        SCOPED_TRACE(strBook);
        const std::string strSource = std::string(CALCUDEX_BOOKS_SOURCE) + "/" + strBook + ".txt";
        CliResult r = run({"compile", strSource, strBook});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");

        refbook::BookFiles files = refbook::load(m_strHome, strBook);
        refbook::Book book;
        ASSERT_EQ(refbook::parse(files, book), "");
        refbook::BookFiles again = refbook::encode(book);
        EXPECT_TRUE(again.tree == files.tree && again.index == files.index &&
                    again.des == files.des && again.det == files.det);

        std::ifstream in(strSource);
        std::string line;
        std::size_t nFolders = 0, nFormulas = 0;
        while (std::getline(in, line)) {
            line.erase(0, line.find_first_not_of(" \t\r"));
            line.erase(line.find_last_not_of(" \t\r") + 1);
            nFolders += line == "*";
            nFormulas += line == "***";
        }
        EXPECT_EQ(book.index.size(), nFormulas);
        EXPECT_EQ(book.tree.size(), nFolders + nFormulas);
        if (strBook == USER_DEFINE_BOOK) {
            EXPECT_EQ(nFormulas, 0u);
        } else {
            EXPECT_GE(nFormulas, 2u);
        }
    }
}

TEST_F(Cli, BooksBuiltIntoTheResourceFolderAreValid)
{
    for (const std::string& strBook : g_arrBooks) {
        SCOPED_TRACE(strBook);
        const std::string strFolder = std::string(CALCUDEX_BUILD_RESOURCES) + "/Formulas/" + strBook;
        refbook::BookFiles files = refbook::load(strFolder, strBook);
        ASSERT_GE(files.index.size(), 4u);
        refbook::Book book;
        EXPECT_EQ(refbook::parse(files, book), "");
        EXPECT_TRUE(leftoverTemporaryFiles(strFolder).empty());
    }
}

}  // namespace
