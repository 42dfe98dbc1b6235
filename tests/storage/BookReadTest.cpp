// Reading the binary book files: exact layouts, damaged and truncated files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "StorageTestSupport.h"
#include "storage/BookFolders.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"
#include "storage/common_util.h"

namespace {

enum BookFile { TREE = 0, INDEX = 1, DES = 2, DET = 3 };

void put32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void putText(Bytes& out, const std::string& s)
{
    put32(out, static_cast<std::uint32_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
}

class BookRead : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        ASSERT_TRUE(compileText("Math", SAMPLE_SOURCE));
        g_sFormulasFolder = "Math";
    }

    Bytes file(BookFile f) { return readBytes(bookPaths("Math")[f]); }
    void patch(BookFile f, std::size_t nOffset, std::uint32_t nValue)
    {
        Bytes bytes = file(f);
        putLE(bytes, nOffset, nValue);
        writeBytes(bookPaths("Math")[f], bytes);
    }
};

// The names of the files are part of the stored data: the documents folder
// of an earlier run must be found again, and the shipped books are copied
// in under these names.
TEST_F(BookRead, FileNamesTable)
{
    g_sFormulasFolder = "Electric Engineering";
    const std::pair<std::string, std::string> cases[] = {
        {getTreeFilename(), "Electric Engineering_fortree.dat"},
        {getIndexFilename(), "Electric Engineering_indexfor.dat"},
        {getDesFilename(), "Electric Engineering_fordes.dat"},
        {getDetailFilename(), "Electric Engineering_fordetail.dat"},
        {getTreeFilenameTmp(), "tmp_fortree.dat"},
        {getIndexFilenameTmp(), "tmp_indexfor.dat"},
        {getDesFilenameTmp(), "tmp_fordes.dat"},
        {getDetailFilenameTmp(), "tmp_fordetail.dat"},
        {getFavoritesFilename(), "Favorites.sav"},
        {getHistoryFilename(), "History.sav"},
        {getLastUsedFormulaFilename(), "LastUsedFormula.dat"},
    };
    for (const auto& [strActual, strName] : cases)
        EXPECT_EQ(strActual, path(strName));
}

// The sample source compiles to exactly these bytes.
TEST_F(BookRead, SampleCompilesToTheDocumentedLayout)
{
    Bytes index;
    put32(index, 1);
    put32(index, 0x01010000);
    put32(index, 0);
    put32(index, 0);
    EXPECT_EQ(file(INDEX), index);

    Bytes des;
    put32(des, 0x01010000);
    for (const char* s : {"Work", "Work done by a constant force", "W = F s"})
        putText(des, s);
    put32(des, 1);
    putText(des, "work.PNG");  // stored as written; the reader says ".png"
    EXPECT_EQ(file(DES), des);

    Bytes det;
    put32(det, 0x01010000);
    put32(det, 2);
    for (const char* s : {"W", "Work", "w", "J", "0", "F", "Force", "f", "N", "0"})
        putText(det, s);
    put32(det, 2);
    putText(det, "f*s");
    putText(det, "w/s");
    EXPECT_EQ(file(DET), det);

    const std::string tree = ".1 =Mechanics= 2\r\n.1.1 =Work= 1\r\n";
    EXPECT_EQ(file(TREE), Bytes(tree.begin(), tree.end()));
}

TEST_F(BookRead, ReadsTheSampleFormula)
{
    _tag_formula_pos pos;
    _tag_formula_des des;
    _tag_formula_detail det;
    ASSERT_TRUE(getFormulaRecords("1.1", pos, des, det));
    EXPECT_EQ(pos.m_nID, 0x01010000u);
    EXPECT_EQ(des.m_strName, "Work");
    EXPECT_EQ(des.m_strMime, "W = F s");
    EXPECT_EQ(des.m_vecImages, std::vector<std::string>{"work.png"});
    ASSERT_EQ(det.m_nParamCount, 2u);
    EXPECT_EQ(det.m_arrParams[1].m_strDescription, "Force");
    EXPECT_EQ(det.m_arrParams[1].m_strAlias, "f");
    EXPECT_EQ(det.m_vecCalcFormulas, (std::vector<std::string>{"f*s", "w/s"}));
}

TEST_F(BookRead, EmptyIndexIsAValidBook)
{
    writeBytes(bookPaths("Math")[INDEX], Bytes{0, 0, 0, 0});
    std::vector<_tag_formula_pos> vec(3);
    EXPECT_TRUE(getIndexFormula(vec));
    EXPECT_TRUE(vec.empty());
}

TEST_F(BookRead, LastOfSeveralEqualIdsWins)
{
    Bytes index;
    put32(index, 2);
    for (std::uint32_t nDes : {0u, 7u}) {
        put32(index, 0x01010000);
        put32(index, nDes);
        put32(index, 0);
    }
    writeBytes(bookPaths("Math")[INDEX], index);
    _tag_formula_pos pos;
    ASSERT_TRUE(getIndexFormula(".1.1", pos));
    EXPECT_EQ(pos.m_nPosDes, 7u);
}

TEST_F(BookRead, ImageNamesAreNormalisedAndEmptyOnesDropped)
{
    _tag_formula_des des;
    des.m_nID = 0x05000000;
    des.m_vecImages = {"a.PNG", "", "b.PNG.PNG", "c.png"};
    common::FilePtr pFile = common::openFile(bookPaths("Math")[DES], "wb");
    ASSERT_TRUE(appendDesFile(pFile.get(), des));
    pFile.reset();
    _tag_formula_des read;
    ASSERT_TRUE(getDesFormula(0x05000000, 0, read));
    EXPECT_EQ(read.m_vecImages, (std::vector<std::string>{"a.png", "b.png.png", "c.png"}));
}

TEST_F(BookRead, RecordOfAnotherIdIsNotReturned)
{
    _tag_formula_des des;
    des.m_nID = 77;
    des.m_strName = "stale";
    EXPECT_FALSE(getDesFormula(0x01020000, 0, des));
    EXPECT_EQ(des.m_nID, 77u);  // the id is kept, everything else emptied
    EXPECT_TRUE(des.m_strName.empty());

    _tag_formula_detail det;
    det.m_nParamCount = 4;
    EXPECT_FALSE(getDetFormula(0x01020000, 0, det));
    EXPECT_EQ(det.m_nParamCount, 0u);
}

TEST_F(BookRead, MissingFilesGiveFalseAndEmptyOutputs)
{
    g_sFormulasFolder = "Optics";
    std::vector<_tag_formula_pos> vec(2);
    EXPECT_FALSE(getIndexFormula(vec));
    EXPECT_TRUE(vec.empty());
    _tag_formula_des des;
    des.m_strDes = "stale";
    EXPECT_FALSE(getDesFormula(0x01010000, 0, des));
    EXPECT_TRUE(des.m_strDes.empty());
    _tag_formula_detail det;
    det.m_vecCalcFormulas = {"x"};
    EXPECT_FALSE(getDetFormula(0x01010000, 0, det));
    EXPECT_TRUE(det.m_vecCalcFormulas.empty());
}

// ---- Damaged counts and lengths ----------------------------------------------------

struct DamageCase {
    const char* what;
    BookFile file;
    std::size_t offset;  // byte offset in the sample's file (see the layout test)
    std::uint32_t value;
};

const DamageCase kDamageCases[] = {
    // index count
    {"negative formula count", INDEX, 0, 0xFFFFFFFF},
    {"count beyond the file", INDEX, 0, 2},
    {"huge count", INDEX, 0, 0x7FFFFFFF},
    // description record
    {"negative name length", DES, 4, 0xFFFFFFFF},
    {"name longer than 1023 bytes", DES, 4, 1024},
    {"name running past the end", DES, 4, 65},
    {"negative image count", DES, 56, 0xFFFFFFFF},
    {"huge image count", DES, 56, 0x40000000},
    {"image count past the end", DES, 56, 2},
    {"image name running past the end", DES, 60, 9},
    {"name length near 2^31", DES, 4, 0x7FFFFFF0},
    // detail record
    {"11 parameters", DET, 4, 11},
    {"parameter count all ones", DET, 4, 0xFFFFFFFF},
    {"negative parameter text length", DET, 8, 0xFFFFFFFB},
    {"parameter text longer than 1023 bytes", DET, 13, 2000},
    {"parameter text length near 2^31", DET, 13, 0x7FFFFFF0},
    {"negative expression count", DET, 65, 0xFFFFFFFF},
    {"huge expression count", DET, 65, 0x10000000},
    {"expression count past the end", DET, 65, 3},
    {"expression running past the end", DET, 76, 8},
};

TEST_F(BookRead, DamagedCountsAndLengthsFailCleanly)
{
    const Bytes arrOriginal[4] = {file(TREE), file(INDEX), file(DES), file(DET)};
    for (const DamageCase& c : kDamageCases) {
        for (int f = 0; f < 4; ++f)
            writeBytes(bookPaths("Math")[f], arrOriginal[f]);
        patch(c.file, c.offset, c.value);

        std::vector<_tag_formula_pos> vecPos;
        bool bIndex = getIndexFormula(vecPos);
        _tag_formula_des des;
        bool bDes = getDesFormula(0x01010000, 0, des);
        _tag_formula_detail det;
        bool bDet = getDetFormula(0x01010000, 0, det);

        switch (c.file) {
        case INDEX:
            EXPECT_FALSE(bIndex) << c.what;
            EXPECT_TRUE(vecPos.empty()) << c.what;
            break;
        case DES:
            EXPECT_FALSE(bDes) << c.what;
            EXPECT_TRUE(des.m_strName.empty() && des.m_strDes.empty() && des.m_strMime.empty() &&
                        des.m_vecImages.empty())
                << c.what;
            EXPECT_TRUE(bDet) << c.what;
            break;
        default:
            EXPECT_FALSE(bDet) << c.what;
            EXPECT_EQ(det.m_nParamCount, 0u) << c.what;
            EXPECT_TRUE(det.m_vecCalcFormulas.empty() && det.m_arrParams[0].m_strName.empty())
                << c.what;
            EXPECT_TRUE(bDes) << c.what;
            break;
        }
    }
}

// Records whose every byte is present, one just inside and one just beyond a
// limit of the format: the limit itself must refuse them.
struct LimitCase {
    const char* what;
    bool detail;
    int texts;      // length of the first text
    int items;      // images or expressions, each empty
    int params;     // parameters of a detail record, each five empty texts
    bool readable;
};

const LimitCase kLimitCases[] = {
    {"name of 1023 bytes", false, 1023, 0, 0, true},
    {"name of 1024 bytes", false, 1024, 0, 0, false},
    {"512 images", false, 1, 512, 0, true},
    {"513 images", false, 1, 513, 0, false},
    {"10 parameters", true, 0, 0, 10, true},
    {"11 parameters", true, 0, 0, 11, false},
    {"512 expressions", true, 0, 512, 1, true},
    {"513 expressions", true, 0, 513, 1, false},
};

TEST_F(BookRead, LimitsOfTheFormatAreExact)
{
    for (const LimitCase& c : kLimitCases) {
        Bytes bytes;
        put32(bytes, 0x01010000);
        if (c.detail) {
            put32(bytes, static_cast<std::uint32_t>(c.params));
            for (int i = 0; i < c.params * 5; ++i)
                putText(bytes, "");
            put32(bytes, static_cast<std::uint32_t>(c.items));
            for (int i = 0; i < c.items; ++i)
                putText(bytes, "");
            writeBytes(bookPaths("Math")[DET], bytes);
            _tag_formula_detail det;
            EXPECT_EQ(getDetFormula(0x01010000, 0, det), c.readable) << c.what;
        } else {
            putText(bytes, std::string(static_cast<std::size_t>(c.texts), 'n'));
            putText(bytes, "");
            putText(bytes, "");
            put32(bytes, static_cast<std::uint32_t>(c.items));
            for (int i = 0; i < c.items; ++i)
                putText(bytes, "");
            writeBytes(bookPaths("Math")[DES], bytes);
            _tag_formula_des des;
            EXPECT_EQ(getDesFormula(0x01010000, 0, des), c.readable) << c.what;
        }
    }
}

TEST_F(BookRead, PositionPastTheEndFails)
{
    _tag_formula_des des;
    EXPECT_FALSE(getDesFormula(0x01010000, 73, des));
    EXPECT_FALSE(getDesFormula(0x01010000, 0xFFFFFFF0, des));
    _tag_formula_detail det;
    EXPECT_FALSE(getDetFormula(0x01010000, 0x80000000, det));
}

// ---- Every prefix of every file ------------------------------------------------------

const char* const kTruncationSource =
    "*\nForId=2\nForName=Folder = with equals\n"
    "***\nForId=2.1\nForType=1\nForName=First\nForDes=d1\nForMime=x^2\n"
    "Para=\"x\" \"X\" \"x\" \"m\" \"0\"\nPara=\"y\" \"Y\" \"y\" \"\" \"3\"\n"
    "For=\"y^(1/2)\" \"x^2\"\nImage=\"p.png\" \"q.PNG\"\n"
    "***\nForId=2.2\nForType=0\nForName=Theory\nForDes=\nForMime=\\alpha\nImage=\n"
    "***\nForId=2.3\nForType=1\nForName=Third\nForDes=three\nForMime=a=b\n"
    "Para=\"a\" \"A\" \"a\" \"1\" \"0\"\nFor=\"\"\nImage=\"\"\n";

TEST_F(BookRead, EveryPrefixOfEveryFileReadsAsFailureOrAsTheOriginalData)
{
    ASSERT_TRUE(compileText("Math", kTruncationSource));
    const Bytes arrOriginal[4] = {file(TREE), file(INDEX), file(DES), file(DET)};

    std::vector<_fornode> vecTree;
    ASSERT_TRUE(getFormulasTreeFromFileAndSort(vecTree, bookPaths("Math")[TREE], false));
    std::vector<_tag_formula_pos> vecPos;
    ASSERT_TRUE(getIndexFormula(vecPos));
    ASSERT_EQ(vecPos.size(), 3u);
    std::vector<_tag_formula_des> vecDes(3);
    std::vector<_tag_formula_detail> vecDet(3);
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(getDesFormula(vecPos[i].m_nID, vecPos[i].m_nPosDes, vecDes[i]));
        ASSERT_TRUE(getDetFormula(vecPos[i].m_nID, vecPos[i].m_nPosDet, vecDet[i]));
    }

    for (int f = 0; f < 4; ++f) {
        for (std::size_t n = 0; n < arrOriginal[f].size(); ++n) {
            const std::string what = "file " + std::to_string(f) + " cut to " + std::to_string(n);
            for (int g = 0; g < 4; ++g)
                writeBytes(bookPaths("Math")[g], arrOriginal[g]);
            writeBytes(bookPaths("Math")[f],
                       Bytes(arrOriginal[f].begin(), arrOriginal[f].begin() + static_cast<long>(n)));

            // The tree: the lines before the cut unchanged, nothing invented.
            std::vector<_fornode> vecCut;
            ASSERT_TRUE(getFormulasTreeFromFileAndSort(vecCut, bookPaths("Math")[TREE], false));
            ASSERT_LE(vecCut.size(), vecTree.size()) << what;
            for (std::size_t i = 0; i + 1 < vecCut.size(); ++i)
                EXPECT_EQ(std::memcmp(&vecCut[i], &vecTree[i], sizeof(_fornode)), 0) << what;

            std::vector<_tag_formula_pos> vecCutPos;
            if (getIndexFormula(vecCutPos)) {
                ASSERT_EQ(vecCutPos.size(), 3u) << what;
            } else {
                EXPECT_TRUE(vecCutPos.empty()) << what;
            }

            for (std::size_t i = 0; i < 3; ++i) {
                _tag_formula_des des;
                if (getDesFormula(vecPos[i].m_nID, vecPos[i].m_nPosDes, des)) {
                    EXPECT_EQ(des.m_strName, vecDes[i].m_strName) << what;
                    EXPECT_EQ(des.m_vecImages, vecDes[i].m_vecImages) << what;
                } else {
                    EXPECT_TRUE(des.m_strName.empty() && des.m_vecImages.empty()) << what;
                }
                _tag_formula_detail det;
                if (getDetFormula(vecPos[i].m_nID, vecPos[i].m_nPosDet, det)) {
                    EXPECT_EQ(det.m_nParamCount, vecDet[i].m_nParamCount) << what;
                    EXPECT_EQ(det.m_vecCalcFormulas, vecDet[i].m_vecCalcFormulas) << what;
                } else {
                    EXPECT_EQ(det.m_nParamCount, 0u) << what;
                    EXPECT_TRUE(det.m_vecCalcFormulas.empty()) << what;
                }
            }
        }
    }
}

// ---- Round trip ------------------------------------------------------------------------

TEST_F(BookRead, RecordsReadAndWrittenBackGiveTheSameBytes)
{
    // Without upper-case ".PNG" and empty image names, which reading
    // normalises, what is read is exactly what was stored.
    std::string strSource = common::string_replace(kTruncationSource, "q.PNG", "q.png");
    strSource = common::string_replace(strSource, "Image=\"\"", "Image=");
    ASSERT_TRUE(compileText("Math", strSource));
    std::vector<_tag_formula_pos> vecPos;
    ASSERT_TRUE(getIndexFormula(vecPos));
    ASSERT_EQ(vecPos.size(), 3u);

    const std::string strCopy = path("copy");
    common::FilePtr pIndex = common::openFile(strCopy + "_index", "wb");
    common::FilePtr pDes = common::openFile(strCopy + "_des", "wb");
    common::FilePtr pDet = common::openFile(strCopy + "_det", "wb");
    ASSERT_TRUE(common::writeInt32(pIndex.get(), static_cast<std::int32_t>(vecPos.size())));
    for (const _tag_formula_pos& pos : vecPos) {
        _tag_formula_des des;
        _tag_formula_detail det;
        des.m_nID = pos.m_nID;
        ASSERT_TRUE(getDesFormula(pos.m_nID, pos.m_nPosDes, des));
        ASSERT_TRUE(getDetFormula(pos.m_nID, pos.m_nPosDet, det));
        const auto nDes = static_cast<std::uint32_t>(std::ftell(pDes.get()));
        const auto nDet = static_cast<std::uint32_t>(std::ftell(pDet.get()));
        ASSERT_TRUE(appendIndexFile(pIndex.get(), pos.m_nID, nDes, nDet));
        ASSERT_TRUE(appendDesFile(pDes.get(), des));
        ASSERT_TRUE(appendDetFile(pDet.get(), det));
    }
    pIndex.reset();
    pDes.reset();
    pDet.reset();

    EXPECT_EQ(readBytes(strCopy + "_index"), file(INDEX));
    EXPECT_EQ(readBytes(strCopy + "_des"), file(DES));
    EXPECT_EQ(readBytes(strCopy + "_det"), file(DET));
}

TEST_F(BookRead, WritersRefuseRecordsBeyondTheFormatsLimits)
{
    common::FilePtr pFile = common::openFile(path("scratch"), "wb");
    _tag_formula_detail det;
    det.m_nParamCount = 11;
    EXPECT_FALSE(appendDetFile(pFile.get(), det));
    det.m_nParamCount = 1;
    det.m_arrParams[0].m_strUnit = std::string(1024, 'u');
    EXPECT_FALSE(appendDetFile(pFile.get(), det));
    _tag_formula_des des;
    des.m_strMime = std::string(1024, 'x');
    EXPECT_FALSE(appendDesFile(pFile.get(), des));
    des.m_strMime = std::string(1023, 'x');
    EXPECT_TRUE(appendDesFile(pFile.get(), des));
}

}  // namespace
