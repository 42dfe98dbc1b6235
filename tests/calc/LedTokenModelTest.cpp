// Token model of the input line: keys, caret, visible window, touches,
// inserting texts, capacity and the data file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "calc/LedKeyCodes.h"
#include "calc/LedTextRules.h"
#include "calc/LedTokenModel.h"
#include "engine/ExprStandardize.h"
#include "LedTestSupport.h"

using led::Utf16ToUtf8;
using led::Utf8ToUtf16;

namespace {

using ledtest::Joined;
using ledtest::MakeLine;

void Press(LedTokenModel& line, std::initializer_list<int> keys)
{
    for (int k : keys) {
        line.InputCommand(k);
        line.UpdateVisibleWindow();
    }
}

// The invariants every state of a line must keep.
void ExpectConsistent(const LedTokenModel& line)
{
    const _FULL_EXPRESSION_INPUT& in = line.content();
    int n = line.TokenCount();
    ASSERT_EQ(in.arrObjLoc.size(), static_cast<size_t>(n));
    ASSERT_EQ(in.arrObjWidthInPixel.size(), static_cast<size_t>(n));
    int loc = 0;
    for (int k = 0; k < n; ++k) {
        ASSERT_EQ(in.arrObjLoc[k], loc) << "token " << k;
        loc += in.arrObjLen[k];
    }
    ASSERT_EQ(static_cast<size_t>(loc), in.strMutRawInput.size());
    ASSERT_GE(in.iCaretIndex, 0);
    ASSERT_LE(in.iCaretIndex, n);
    if (n == 0) {
        EXPECT_EQ(in.iEndIndexVisPart, -1);
        return;
    }
    ASSERT_GE(in.iBeginIndexVisPart, 0);
    ASSERT_LE(in.iBeginIndexVisPart, in.iEndIndexVisPart);
    ASSERT_LT(in.iEndIndexVisPart, n);
    ASSERT_LE(in.iCaretIndex, in.iEndIndexVisPart + 1);
    ASSERT_GE(in.iCaretIndex, in.iBeginIndexVisPart);
}

// --- keys ------------------------------------------------------------------

TEST(LedTokenModel, TypingDigitsAndOperator)
{
    LedTokenModel line = MakeLine();
    Press(line, {10, 11, 18, 12});  // 1 2 + 3
    EXPECT_EQ(Joined(line), "[1][2][+][3]");
    EXPECT_EQ(line.content().iCaretIndex, 4);
    EXPECT_EQ(line.OutputParsedStringUtf8(), "12+3");
}

struct KeyCase {
    int nCode;
    const char* pszMode;
    const char* pszTokens;  // tokens the key inserts into an empty line
};

const KeyCase kKeyCases[] = {
    // digits and signs
    {15, "English (US)", "[0]"},
    {0, "English (US)", "[7]"},
    {3, "English (US)", "[÷]"},
    {8, "English (US)", "[×]"},
    {13, "English (US)", "[−]"},
    {158, "English (US)", "[-]"},
    {17, "English (US)", "[(-]"},
    // decimal separator per mode
    {16, "English (US)", "[.]"},
    {16, "English (UK)", "[.]"},
    {16, "European", "[\u00B8]"},
    // two-token keys
    {31, "English (US)", "[^][2]"},
    {32, "English (US)", "[^][3]"},
    {38, "English (US)", "[10][^]"},
    {39, "English (US)", "[e][^]"},
    {41, "English (US)", "[2][√(]"},
    {42, "English (US)", "[3][√(]"},
    {131, "English (US)", "[1][÷]"},
    // words keep their blanks
    {37, "English (US)", "[ mod ]"},
    {69, "English (US)", "[ and ]"},
    {27, "English (US)", "[exp]"},
    {22, "English (US)", "[[ans]]"},
    // calculus
    {119, "English (US)", "[∫(]"},
    {122, "English (US)", "[fnRoot(]"},
    {124, "English (US)", "[∑(]"},
    // unknown codes insert nothing
    {999, "English (US)", ""},
    {-1, "English (US)", ""},
    {162, "English (US)", ""},
};

TEST(LedTokenModel, KeyCodeTable)
{
    for (const KeyCase& c : kKeyCases) {
        LedTokenModel line = MakeLine();
        line.setOutputMode(c.pszMode);
        EXPECT_TRUE(line.InputCommand(c.nCode));
        EXPECT_EQ(Joined(line), c.pszTokens) << "key " << c.nCode << " in " << c.pszMode;
    }
}

TEST(LedTokenModel, SquareRootKeysParse)
{
    LedTokenModel line = MakeLine();
    Press(line, {41, 2, 45});  // 2√( 9 )
    EXPECT_EQ(line.OutputParsedStringUtf8(), "RT(2,9)");
    Press(line, {18, 42, 1, 45});  // + 3√( 8 )
    EXPECT_EQ(line.OutputParsedStringUtf8(), "RT(2,9)+RT(3,8)");
}

// The engine takes two operands in a row for an error: whatever operand the
// keys type next to another one, the line's engine text must say how they
// combine. Every pair of the operands below evaluates without a syntax error.
TEST(LedTokenModel, OperandsTypedSideBySideMultiply)
{
    const std::vector<std::vector<int>> vecOperands = {
        {0},          {59},         {25},          {22},     {44, 11, 45}, {17, 11, 45},
        {54, 12, 45}, {28, 11, 45}, {39, 11},     {6, 33},       {6, 43},  {40, 5, 45},  {42, 1, 45},
        {125, 6, 45}, {26, 5, 46, 7, 45}, {38, 11}, {131, 5},    {11, 31}, {11, 27, 12},
    };
    for (const std::vector<int>& vecFirst : vecOperands) {
        for (const std::vector<int>& vecSecond : vecOperands) {
            LedTokenModel line = MakeLine();
            for (int nKey : vecFirst)
                line.InputCommand(nKey);
            for (int nKey : vecSecond)
                line.InputCommand(nKey);
            const std::string strText = line.OutputParsedStringUtf8();
            ClearErrorCode();
            SetMode(MODE_DEGREES);
            ExprEval(strText.c_str(), 0, 10);
            EXPECT_NE(GetErrorCode(), ERR_SYNTAX) << Joined(line) << " -> " << strText;
        }
    }
}

TEST(LedTokenModel, DeleteAtCaretAndAtEnd)
{
    LedTokenModel line = MakeLine();
    Press(line, {10, 18, 11});  // 1 + 2
    Press(line, {48, 48});      // caret on "+"
    EXPECT_EQ(line.content().iCaretIndex, 1);
    Press(line, {47});
    EXPECT_EQ(Joined(line), "[1][2]");
    EXPECT_EQ(line.content().iCaretIndex, 1);

    Press(line, {49});  // caret after the last token
    Press(line, {47});
    EXPECT_EQ(Joined(line), "[1]");
    EXPECT_EQ(line.content().iCaretIndex, 1);

    Press(line, {47, 47, 47});  // deleting an empty line does nothing
    EXPECT_EQ(line.TokenCount(), 0);
    EXPECT_EQ(line.content().iCaretIndex, 0);
    ExpectConsistent(line);
}

TEST(LedTokenModel, InsertBeforeCaretKeepsTokensWhole)
{
    LedTokenModel line = MakeLine();
    Press(line, {54, 5, 45});  // sin( 4 )
    Press(line, {48, 48, 48});
    Press(line, {11});         // 2 in front of sin(
    EXPECT_EQ(Joined(line), "[2][sin(][4][)]");
    EXPECT_EQ(line.content().iCaretIndex, 1);
    EXPECT_EQ(line.OutputParsedStringUtf8(), "2*sin(4)");
    ExpectConsistent(line);
}

TEST(LedTokenModel, ClearKeyAndOutOfRangeOperations)
{
    LedTokenModel line = MakeLine();
    Press(line, {10, 11});
    EXPECT_FALSE(line.InsertObject(5, u"7"));   // beyond the count
    EXPECT_FALSE(line.InsertObject(-1, u"7"));
    EXPECT_FALSE(line.InsertObject(0, u""));    // no empty tokens
    line.DeleteObject(9);
    EXPECT_EQ(Joined(line), "[1][2]");
    Press(line, {4});
    EXPECT_EQ(line.TokenCount(), 0);
    EXPECT_EQ(line.OutputParsedStringUtf8(), "");
    ExpectConsistent(line);
}

// --- caret and visible window -------------------------------------------------

TEST(LedTokenModel, WindowFollowsTypingAndCaret)
{
    LedTokenModel line = MakeLine();
    for (int i = 0; i < 20; ++i)
        Press(line, {10});
    // 12 tokens fit: the window shows the last twelve, caret after them.
    EXPECT_EQ(line.content().iBeginIndexVisPart, 8);
    EXPECT_EQ(line.content().iEndIndexVisPart, 19);
    EXPECT_EQ(line.content().iCaretIndex, 20);
    EXPECT_TRUE(line.HasHiddenLeft());
    EXPECT_FALSE(line.HasHiddenRight());

    for (int i = 0; i < 12; ++i)
        Press(line, {48});
    EXPECT_EQ(line.content().iCaretIndex, 8);
    EXPECT_EQ(line.content().iBeginIndexVisPart, 8);
    Press(line, {48});  // one further left scrolls by one token
    EXPECT_EQ(line.content().iCaretIndex, 7);
    EXPECT_EQ(line.content().iBeginIndexVisPart, 7);
    EXPECT_EQ(line.content().iEndIndexVisPart, 18);
    EXPECT_TRUE(line.HasHiddenRight());

    Press(line, {156});  // 10 left
    EXPECT_EQ(line.content().iCaretIndex, 0);
    EXPECT_EQ(line.content().iBeginIndexVisPart, 0);
    EXPECT_EQ(line.content().iEndIndexVisPart, 11);
    Press(line, {156});  // already at the start
    EXPECT_EQ(line.content().iCaretIndex, 0);

    Press(line, {157, 157});  // 10 right twice: caret 20 = after the last token
    EXPECT_EQ(line.content().iCaretIndex, 20);
    EXPECT_EQ(line.content().iEndIndexVisPart, 19);
    EXPECT_EQ(line.content().iBeginIndexVisPart, 8);
    Press(line, {49});  // nothing beyond the end
    EXPECT_EQ(line.content().iCaretIndex, 20);
    ExpectConsistent(line);
}

TEST(LedTokenModel, CaretRightScrollsOneTokenAtTheWindowEdge)
{
    LedTokenModel line = MakeLine();
    for (int i = 0; i < 15; ++i)
        Press(line, {10});
    line.CaretToStart();
    line.UpdateVisibleWindow();
    EXPECT_EQ(line.content().iEndIndexVisPart, 11);
    for (int i = 0; i < 12; ++i)
        Press(line, {49});
    EXPECT_EQ(line.content().iCaretIndex, 12);
    EXPECT_EQ(line.content().iBeginIndexVisPart, 1);
    EXPECT_EQ(line.content().iEndIndexVisPart, 12);
    ExpectConsistent(line);
}

TEST(LedTokenModel, RandomKeySequencesKeepInvariants)
{
    std::mt19937 rng(20240607);
    const int kKeys[] = {10, 11, 18, 54, 37, 41, 47, 47, 48, 48, 49, 49, 156, 157, 4, 31, 22};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(kKeys)) - 1);
    for (int run = 0; run < 50; ++run) {
        LedTokenModel line = MakeLine();
        for (int step = 0; step < 300; ++step) {
            int key = kKeys[pick(rng)];
            if (key == 4 && step % 7 != 0)
                continue;  // keep clears rare so lines grow long
            line.InputCommand(key);
            line.UpdateVisibleWindow();
            ExpectConsistent(line);
            if (testing::Test::HasFatalFailure()) {
                ADD_FAILURE() << "run " << run << " step " << step << " key " << key;
                return;
            }
        }
    }
}

// --- touches ----------------------------------------------------------------

TEST(LedTokenModel, TouchPlacesCaretOnTokens)
{
    LedTokenModel line = MakeLine();
    Press(line, {10, 54, 11});  // [1][sin(][2]: 10, 40, 10 points from x = 12
    line.CaretToStart();
    line.UpdateVisibleWindow();
    const struct {
        float x;
        int nCaret;
    } kTouches[] = {
        {12.0f, 0}, {21.9f, 0}, {22.0f, 1}, {61.0f, 1}, {62.0f, 2}, {71.0f, 2},
        {72.0f, 3},   // right of the last token, which ends the content
        {140.0f, 3},
    };
    for (const auto& t : kTouches) {
        line.CaretToStart();
        line.MoveCaretToPoint(t.x);
        EXPECT_EQ(line.content().iCaretIndex, t.nCaret) << "x = " << t.x;
    }
}

TEST(LedTokenModel, ArrowsActOnlyWhileTokensAreHidden)
{
    LedTokenModel line = MakeLine();
    Press(line, {10, 11});
    EXPECT_EQ(line.ArrowKeyAt(5.0f, 20.0f), -1);
    EXPECT_EQ(line.ArrowKeyAt(155.0f, 20.0f), -1);
    for (int i = 0; i < 20; ++i)
        Press(line, {12});
    EXPECT_EQ(line.ArrowKeyAt(5.0f, 20.0f), led::KEY_CARET_LEFT);
    EXPECT_EQ(line.ArrowKeyAt(155.0f, 20.0f), -1);
    Press(line, {156, 156, 156});
    EXPECT_EQ(line.ArrowKeyAt(5.0f, 20.0f), -1);
    EXPECT_EQ(line.ArrowKeyAt(155.0f, 20.0f), led::KEY_CARET_RIGHT);
    EXPECT_EQ(line.ArrowKeyAt(80.0f, 20.0f), -1);  // text area
}

TEST(LedTokenModel, DragScrollsWhileCaretIsInside)
{
    LedTokenModel line = MakeLine();
    for (int i = 0; i < 30; ++i)
        Press(line, {10});
    for (int i = 0; i < 5; ++i)
        Press(line, {48});  // caret 25, window 18..29
    ASSERT_EQ(line.content().iBeginIndexVisPart, 18);
    EXPECT_FALSE(line.ScrollByDrag(9.0f));  // less than one token
    EXPECT_TRUE(line.ScrollByDrag(35.0f));  // three tokens
    line.UpdateVisibleWindow();
    EXPECT_EQ(line.content().iBeginIndexVisPart, 15);
    EXPECT_EQ(line.content().iEndIndexVisPart, 26);
    EXPECT_TRUE(line.ScrollByDrag(-20.0f));  // two back to the right
    line.UpdateVisibleWindow();
    EXPECT_EQ(line.content().iEndIndexVisPart, 28);
    ExpectConsistent(line);

    line.CaretToStart();  // caret on the first visible token: no scrolling
    line.UpdateVisibleWindow();
    EXPECT_FALSE(line.ScrollByDrag(50.0f));
}

// --- inserting texts -----------------------------------------------------------

TEST(LedTokenModel, InsertStringMakesOneTokenPerCharacter)
{
    LedTokenModel line = MakeLine();
    Press(line, {10, 11, 12});
    EXPECT_TRUE(line.InsertString(std::string("-1.5"), true));
    EXPECT_EQ(Joined(line), "[−][1][.][5]");
    EXPECT_EQ(line.content().iCaretIndex, 4);
    EXPECT_EQ(line.OutputParsedStringUtf8(), "-1.5");

    line.CaretToStart();
    EXPECT_TRUE(line.InsertString(std::string("2*"), false));
    EXPECT_EQ(Joined(line), "[2][×][−][1][.][5]");
    EXPECT_EQ(line.OutputParsedStringUtf8(), "2*-1.5");

    // An empty text changes nothing, even with the clear flag.
    EXPECT_TRUE(line.InsertString(std::string(), true));
    EXPECT_EQ(line.TokenCount(), 6);
}

TEST(LedTokenModel, SetStringTurnsHyphenIntoMinus)
{
    LedTokenModel line = MakeLine();
    EXPECT_TRUE(line.setString(u"3-2"));
    EXPECT_EQ(Joined(line), "[3][−][2]");
}

// --- capacity ------------------------------------------------------------------

TEST(LedTokenModel, FullLineRefusesKeys)
{
    LedTokenModel line = MakeLine();
    for (int i = 0; i < LED_MAX_TOKENS; ++i)
        ASSERT_TRUE(line.InputCommand(10));
    EXPECT_FALSE(line.InputCommand(11));
    EXPECT_EQ(line.TokenCount(), LED_MAX_TOKENS);
    // Keys that insert nothing still work on a full line.
    EXPECT_TRUE(line.InputCommand(48));
    EXPECT_TRUE(line.InputCommand(47));
    EXPECT_EQ(line.TokenCount(), LED_MAX_TOKENS - 1);
    // A two-token key needs room for both.
    EXPECT_FALSE(line.InputCommand(31));
    EXPECT_EQ(line.TokenCount(), LED_MAX_TOKENS - 1);
    EXPECT_TRUE(line.InputCommand(12));
    ExpectConsistent(line);
}

TEST(LedTokenModel, TextUnitLimitCountsLongTokens)
{
    LedTokenModel line = MakeLine();
    // " nand " is six units: 85 of them use 510 of the 512 units.
    for (int i = 0; i < 85; ++i)
        ASSERT_TRUE(line.InputCommand(78));
    EXPECT_FALSE(line.InputCommand(78));
    EXPECT_FALSE(line.InputCommand(54));  // "sin(" needs four
    EXPECT_TRUE(line.InputCommand(10));
    EXPECT_TRUE(line.InputCommand(11));
    EXPECT_FALSE(line.InputCommand(12));
    EXPECT_EQ(line.content().strMutRawInput.size(), static_cast<size_t>(LED_MAX_TEXT_UNITS));
}

TEST(LedTokenModel, InsertStringThatDoesNotFitLeavesLineAlone)
{
    LedTokenModel line = MakeLine();
    for (int i = 0; i < 500; ++i)
        line.InputCommand(10);
    EXPECT_FALSE(line.InsertString(std::string(20, '7'), false));
    EXPECT_EQ(line.TokenCount(), 500);
    // With the clear flag the old content makes room.
    EXPECT_TRUE(line.InsertString(std::string(20, '7'), true));
    EXPECT_EQ(line.TokenCount(), 20);
    EXPECT_FALSE(line.InsertString(std::string(513, '7'), true));
    EXPECT_EQ(line.TokenCount(), 20);
}

// --- data file -------------------------------------------------------------------

class LedDataFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("calcudex-led-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Path(int id) const { return LedDataFilePath(m_dir.string(), id); }

    std::vector<unsigned char> ReadFile(const std::string& path) const
    {
        std::ifstream f(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) const
    {
        std::ofstream f(path, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    std::filesystem::path m_dir;
};

TEST_F(LedDataFileTest, FileNameCarriesTheRow)
{
    EXPECT_EQ(LedDataFilePath("/docs", 3), "/docs/ledlite3.dat");
}

TEST_F(LedDataFileTest, SaveAndLoadRoundTrip)
{
    LedTokenModel line = MakeLine();
    Press(line, {41, 2, 45, 8, 54, 59, 45, 78, 16, 6});  // 2√(9)×sin(pi) nand .5
    ASSERT_TRUE(line.SaveData(Path(4)));

    std::vector<unsigned char> bytes = ReadFile(Path(4));
    ASSERT_EQ(bytes.size(), LED_DATA_BLOCK_SIZE);
    EXPECT_EQ(bytes[0], line.TokenCount());
    EXPECT_EQ(bytes[4], line.content().strMutRawInput.size());
    EXPECT_EQ(bytes[8], '2');
    EXPECT_EQ(bytes[10], 0x1A);  // √ is U+221A, little-endian
    EXPECT_EQ(bytes[11], 0x22);
    EXPECT_EQ(bytes[1032], 1);   // "2"
    EXPECT_EQ(bytes[1033], 2);   // "√("

    LedTokenModel copy = MakeLine();
    ASSERT_TRUE(copy.LoadData(Path(4)));
    EXPECT_EQ(Joined(copy), Joined(line));
    EXPECT_EQ(copy.content().iCaretIndex, line.TokenCount());
    EXPECT_EQ(copy.updateState(), LED_UPDATE_FROM_LAST);
    copy.UpdateVisibleWindow();
    ExpectConsistent(copy);
    EXPECT_EQ(copy.OutputParsedStringUtf8(), line.OutputParsedStringUtf8());
}

TEST_F(LedDataFileTest, EmptyLineRoundTrip)
{
    LedTokenModel line = MakeLine();
    ASSERT_TRUE(line.SaveData(Path(0)));
    LedTokenModel copy = MakeLine();
    Press(copy, {10});
    ASSERT_TRUE(copy.LoadData(Path(0)));
    EXPECT_EQ(copy.TokenCount(), 0);
    copy.UpdateVisibleWindow();
    ExpectConsistent(copy);
}

TEST_F(LedDataFileTest, MissingFileLeavesLineUnchanged)
{
    LedTokenModel line = MakeLine();
    Press(line, {10, 11});
    EXPECT_FALSE(line.LoadData(Path(9)));
    EXPECT_EQ(Joined(line), "[1][2]");
}

TEST_F(LedDataFileTest, UnwritableFolderReportsFailure)
{
    LedTokenModel line = MakeLine();
    Press(line, {10});
    EXPECT_FALSE(line.SaveData((m_dir / "no-such-folder" / "ledlite0.dat").string()));
}

TEST_F(LedDataFileTest, InconsistentBlocksAreIgnored)
{
    LedTokenModel source = MakeLine();
    Press(source, {10, 54, 11, 45});  // [1][sin(][2][)]: 4 tokens, 7 units
    ASSERT_TRUE(source.SaveData(Path(1)));
    const std::vector<unsigned char> good = ReadFile(Path(1));
    ASSERT_EQ(good.size(), LED_DATA_BLOCK_SIZE);

    struct Corruption {
        const char* pszWhat;
        void (*apply)(std::vector<unsigned char>&);
    };
    const Corruption kCorruptions[] = {
        {"short file", [](std::vector<unsigned char>& b) { b.resize(LED_DATA_BLOCK_SIZE - 1); }},
        {"empty file", [](std::vector<unsigned char>& b) { b.clear(); }},
        {"negative count", [](std::vector<unsigned char>& b) { b[0] = b[1] = b[2] = b[3] = 0xFF; }},
        {"count beyond 512", [](std::vector<unsigned char>& b) { b[0] = 0x01; b[1] = 0x02; }},
        {"length beyond 512", [](std::vector<unsigned char>& b) { b[4] = 0x01; b[5] = 0x02; }},
        {"negative length", [](std::vector<unsigned char>& b) { b[7] = 0x80; }},
        {"lengths sum short of the text", [](std::vector<unsigned char>& b) { b[4] = 8; }},
        {"lengths sum beyond the text", [](std::vector<unsigned char>& b) { b[1033] = 5; }},
        {"zero-length token", [](std::vector<unsigned char>& b) { b[1032] = 0; b[1033] = 5; }},
        {"count larger than the lengths", [](std::vector<unsigned char>& b) { b[0] = 5; }},
    };
    for (const Corruption& c : kCorruptions) {
        std::vector<unsigned char> bytes = good;
        c.apply(bytes);
        WriteFile(Path(2), bytes);
        LedTokenModel line = MakeLine();
        Press(line, {12, 12});
        EXPECT_FALSE(line.LoadData(Path(2))) << c.pszWhat;
        EXPECT_EQ(Joined(line), "[3][3]") << c.pszWhat;
    }

    // A longer file is read as its first block.
    std::vector<unsigned char> longer = good;
    longer.resize(LED_DATA_BLOCK_SIZE + 100, 0xAB);
    WriteFile(Path(3), longer);
    LedTokenModel line = MakeLine();
    EXPECT_TRUE(line.LoadData(Path(3)));
    EXPECT_EQ(Joined(line), "[1][sin(][2][)]");
}

TEST_F(LedDataFileTest, FullLineFitsTheBlock)
{
    LedTokenModel line = MakeLine();
    for (int i = 0; i < LED_MAX_TOKENS; ++i)
        line.InputCommand(i % 2 ? 10 : 11);
    ASSERT_TRUE(line.SaveData(Path(5)));
    LedTokenModel copy = MakeLine();
    ASSERT_TRUE(copy.LoadData(Path(5)));
    EXPECT_EQ(copy.content().strMutRawInput, line.content().strMutRawInput);
    EXPECT_EQ(copy.TokenCount(), LED_MAX_TOKENS);
}

}  // namespace
