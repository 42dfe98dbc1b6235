// Compiling formula text into a book, checked with the independent reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../FileSizeLimit.h"
#include "IndependentBookReader.h"
#include "StorageTestSupport.h"
#include "storage/BookFolders.h"
#include "storage/Formulas.h"

namespace {

class Compile : public TempHomeTest {
protected:
    // The book as the independent reader sees it; fails the test when the
    // files are not a valid book or do not encode back to the same bytes.
    refbook::Book readBook(const std::string& strBook)
    {
        refbook::BookFiles files = refbook::load(m_strHome, strBook);
        refbook::Book book;
        std::string strError = refbook::parse(files, book);
        EXPECT_EQ(strError, "");
        refbook::BookFiles again = refbook::encode(book);
        EXPECT_EQ(again.tree, files.tree);
        EXPECT_EQ(again.index, files.index);
        EXPECT_EQ(again.des, files.des);
        EXPECT_EQ(again.det, files.det);
        return book;
    }

    std::vector<Bytes> snapshot(const std::string& strBook)
    {
        std::vector<Bytes> vec;
        for (const std::string& strPath : bookPaths(strBook))
            vec.push_back(readBytes(strPath));
        return vec;
    }
};

TEST_F(Compile, CreateModeWritesFolderAndFormula)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    refbook::Book book = readBook("Math");
    ASSERT_EQ(book.tree.size(), 2u);
    EXPECT_EQ(book.tree[0].id, ".1");
    EXPECT_EQ(book.tree[0].name, "Mechanics");
    EXPECT_EQ(book.tree[0].type, 2);
    EXPECT_EQ(book.tree[1].id, ".1.1");
    EXPECT_EQ(book.tree[1].type, 1);
    ASSERT_EQ(book.index.size(), 1u);
    EXPECT_EQ(book.index[0].id, 0x01010000u);
    EXPECT_EQ(book.index[0].posDes, 0u);
    EXPECT_EQ(book.index[0].posDet, 0u);
    EXPECT_EQ(book.des[0].images, std::vector<std::string>{"work.PNG"});
    ASSERT_EQ(book.det[0].params.size(), 2u);
    EXPECT_EQ(book.det[0].params[0].alias, "w");
    EXPECT_EQ(book.det[0].params[1].unit, "N");
    EXPECT_EQ(book.det[0].expressions, (std::vector<std::string>{"f*s", "w/s"}));
    EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());
}

TEST_F(Compile, AppendModeAddsAfterTheExistingRecords)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    const std::vector<Bytes> before = snapshot("Math");
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE, true));

    refbook::Book book = readBook("Math");
    ASSERT_EQ(book.index.size(), 2u);
    EXPECT_EQ(book.index[1].posDes, before[2].size());
    EXPECT_EQ(book.index[1].posDet, before[3].size());
    EXPECT_EQ(book.tree.size(), 4u);
    // The earlier records are untouched.
    const std::vector<Bytes> after = snapshot("Math");
    for (int f : {0, 2, 3})
        EXPECT_TRUE(std::equal(before[f].begin(), before[f].end(), after[f].begin())) << f;
}

TEST_F(Compile, AppendWithoutABookStartsOne)
{
    ASSERT_TRUE(compileText("User Define", SAMPLE_SOURCE, true));
    EXPECT_EQ(readBook("User Define").index.size(), 1u);
}

TEST_F(Compile, AppendAfterATreeWithoutFinalLineBreakKeepsLinesApart)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    writeText(bookPaths("Math")[0], ".1 =Mechanics= 2\r\n.1.1 =Work= 1");
    ASSERT_TRUE(compileText("Math", "*\nForId=2\nForName=Optics\n", true));
    std::string strExpected = ".1 =Mechanics= 2\r\n.1.1 =Work= 1\r\n.2 =Optics= 2\r\n";
    EXPECT_EQ(readBytes(bookPaths("Math")[0]), Bytes(strExpected.begin(), strExpected.end()));
}

// ---- Source text, well formed and not -------------------------------------------------

struct SourceCase {
    const char* what;
    std::string source;
    std::vector<std::string> treeIds;
    std::size_t formulas;
    bool warns;
    void (*check)(const refbook::Book&);
};

const SourceCase kSourceCases[] = {
    {"keys in lower case", "***\nforid=3\nfortype=1\nforname=n\nfordes=d\nformime=m\n"
                           "para=\"a\" \"b\" \"c\" \"d\" \"0\"\nfor=\"x\"\nimage=\n",
     {".3"}, 1, false,
     [](const refbook::Book& b) {
         EXPECT_EQ(b.des[0].name, "n");
         EXPECT_EQ(b.det[0].params.size(), 1u);
         EXPECT_EQ(b.det[0].expressions, std::vector<std::string>{"x"});
     }},
    {"comments and blank lines between records",
     "A comment\n\n*\nForId=1\nForName=F\nForDes=\nstray line\n***\nForId=1.1\nForType=0\n"
     "ForName=T\nImage=\n",
     {".1", ".1.1"}, 1, false, nullptr},
    {"CR LF lines, blanks around keys and values",
     "***\r\n  ForId = 4.2 \r\n ForType =1\r\nForName=  a b  \r\nImage=\r\n", {".4.2"}, 1, false,
     [](const refbook::Book& b) { EXPECT_EQ(b.des[0].name, "a b"); }},
    {"a key given twice keeps the later value",
     "***\nForId=1\nForType=1\nForName=first\nForName=second\nImage=\n", {".1"}, 1, false,
     [](const refbook::Book& b) { EXPECT_EQ(b.tree[0].name, "second"); }},
    {"three expressions, no images", "***\nForId=1\nForType=1\nFor=\"a\" \"b\" \"\"\nImage=none\n",
     {".1"}, 1, false,
     [](const refbook::Book& b) {
         EXPECT_EQ(b.det[0].expressions, (std::vector<std::string>{"a", "b", ""}));
         EXPECT_TRUE(b.des[0].images.empty());
     }},
    {"an id ending in a dot is stored as written", "*\nForId=3.\nForName=x\n", {"3."}, 0, false,
     nullptr},
    {"empty source", "", {}, 0, false, nullptr},
    {"byte order mark before the first record", "\xEF\xBB\xBF***\nForId=1\nForType=1\nImage=\n",
     {".1"}, 1, false, nullptr},
    // malformed input
    {"formula without Image at the end", "***\nForId=4\nForType=1\nForName=open", {".4"}, 1, true,
     nullptr},
    {"folder without ForName at the end", "*\nForId=5\n", {".5"}, 0, true, nullptr},
    {"record without ForId", "***\nForType=1\nForName=x\nImage=\n", {}, 0, true, nullptr},
    {"formula without ForType", "***\nForId=8\nImage=\n", {".8"}, 1, true,
     [](const refbook::Book& b) { EXPECT_EQ(b.tree[0].type, 0); }},
    {"record start inside a record", "***\nForId=6\nForName=a\n***\nForId=7\nForName=b\nImage=\n",
     {".7"}, 1, true, nullptr},
    {"eleven parameters",
     "***\nForId=1\nForType=1\n" + [] {
         std::string s;
         for (int i = 0; i < 11; ++i)
             s += "Para=\"p" + std::to_string(i) + "\" \"\" \"a\" \"\" \"0\"\n";
         return s;
     }() + "Image=\n",
     {".1"}, 1, true,
     [](const refbook::Book& b) {
         ASSERT_EQ(b.det[0].params.size(), 10u);
         EXPECT_EQ(b.det[0].params[9].name, "p9");
     }},
    {"parameter with three fields", "***\nForId=1\nForType=1\nPara=\"n\" \"d\" \"a\"\nImage=\n",
     {".1"}, 1, true,
     [](const refbook::Book& b) {
         EXPECT_EQ(b.det[0].params[0].alias, "a");
         EXPECT_EQ(b.det[0].params[0].unit, "");
     }},
    {"unpaired quote", "***\nForId=1\nForType=1\nFor=\"a\" \"b\nImage=\n", {".1"}, 1, true,
     [](const refbook::Book& b) { EXPECT_EQ(b.det[0].expressions, std::vector<std::string>{"a"}); }},
    {"unknown key", "***\nForId=1\nForType=1\nColour=red\nImage=\n", {".1"}, 1, true, nullptr},
    {"zero bytes inside a line stay in it, and the next line stays apart",
     std::string("***\nForId=1\nForType=1\nPara=\"a\" \"x\0\0y\" \"a\" \"m\" \"0\"\n", 50) +
         "Para=\"b\" \"B\" \"b\" \"m\" \"0\"\nImage=\n",
     {".1"}, 1, false,
     [](const refbook::Book& b) {
         ASSERT_EQ(b.det[0].params.size(), 2u);
         EXPECT_EQ(b.det[0].params[0].description, std::string("x\0\0y", 4));
         EXPECT_EQ(b.det[0].params[1].alias, "b");
     }},
    {"line longer than 1023 bytes", "***\nForId=1\nForType=1\nForDes=" + std::string(2000, 'd') +
                                        "\nImage=\n",
     {".1"}, 1, true,
     [](const refbook::Book& b) { EXPECT_EQ(b.des[0].description.size(), 1023u - 7u); }},
};

TEST_F(Compile, SourceTable)
{
    for (const SourceCase& c : kSourceCases) {
        writeText(path("source.txt"), c.source);
        std::vector<FormulaTextWarning> vecWarnings;
        g_sFormulasFolder = "Optics";
        ASSERT_TRUE(createFormulaDataFromTextFile(path("source.txt"), false, &vecWarnings)) << c.what;
        EXPECT_EQ(!vecWarnings.empty(), c.warns) << c.what;

        refbook::Book book = readBook("Optics");
        std::vector<std::string> ids;
        for (const refbook::TreeLine& line : book.tree)
            ids.push_back(line.id);
        EXPECT_EQ(ids, c.treeIds) << c.what;
        EXPECT_EQ(book.index.size(), c.formulas) << c.what;
        if (c.check && !book.des.empty()) {
            SCOPED_TRACE(c.what);
            c.check(book);
        }
    }
}

// ---- Failures leave the book as it was --------------------------------------------------

TEST_F(Compile, MissingSourceChangesNothing)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    const std::vector<Bytes> before = snapshot("Math");
    g_sFormulasFolder = "Math";
    EXPECT_FALSE(createFormulaDataFromTextFile(path("absent.txt"), false));
    EXPECT_FALSE(createFormulaDataFromTextFile(path("absent.txt"), true));
    EXPECT_EQ(snapshot("Math"), before);
}

TEST_F(Compile, CreateModeThatCannotWriteKeepsTheOldBookAndNoTemporaryFiles)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    const std::vector<Bytes> before = snapshot("Math");
    // A folder where a temporary file must go makes its creation fail.
    ASSERT_TRUE(makeFolder(getDesFilenameTmp()));
    EXPECT_FALSE(compileText("Math", "*\nForId=9\nForName=x\n"));
    EXPECT_EQ(snapshot("Math"), before);
    EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());
}

TEST_F(Compile, AppendToADamagedIndexFailsWithoutWriting)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    Bytes index = readBytes(bookPaths("Math")[1]);
    putLE(index, 0, 5);  // five entries claimed, one stored
    writeBytes(bookPaths("Math")[1], index);
    const std::vector<Bytes> before = snapshot("Math");
    EXPECT_FALSE(compileText("Math", SAMPLE_SOURCE, true));
    EXPECT_EQ(snapshot("Math"), before);
}

const std::string kLongFormula =
    "***\nForId=2.1\nForType=1\nForName=long\nForDes=" + std::string(1000, 'x') + "\nImage=\n";

TEST_F(Compile, AppendThatRunsOutOfSpaceLeavesTheBookAsItWas)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    const std::vector<Bytes> before = snapshot("Math");
    writeText(path("source.txt"), kLongFormula);
    g_sFormulasFolder = "Math";
    {
        FileSizeLimit limit(200);
        EXPECT_FALSE(createFormulaDataFromTextFile(path("source.txt"), true));
    }
    EXPECT_EQ(snapshot("Math"), before);
}

TEST_F(Compile, CreateThatRunsOutOfSpaceLeavesTheOldBook)
{
    ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
    const std::vector<Bytes> before = snapshot("Math");
    writeText(path("source.txt"), kLongFormula);
    g_sFormulasFolder = "Math";
    {
        FileSizeLimit limit(200);
        EXPECT_FALSE(createFormulaDataFromTextFile(path("source.txt"), false));
    }
    EXPECT_EQ(snapshot("Math"), before);
    EXPECT_TRUE(leftoverTemporaryFiles(m_strHome).empty());
}

}  // namespace
