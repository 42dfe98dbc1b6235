// Which pictures the paged help prepares and which page the context help shows.
#include <gtest/gtest.h>

#include <vector>

#include "auxiliary/HelpPages.h"

TEST(HelpPages, PagesPreparedAroundAPage)
{
    const struct {
        int nPage;
        std::vector<int> arrPrepared;
    } kCases[] = {
        {0, {0, 1}}, {1, {0, 1, 2}}, {5, {4, 5, 6}}, {9, {8, 9, 10}},
        {10, {9, 10}},  // the last page has no right neighbour
        {11, {}},       // pages that do not exist prepare nothing
        {-1, {}},
    };
    for (const auto& k : kCases)
        EXPECT_EQ(helpPagesToPrepare(k.nPage), k.arrPrepared) << k.nPage;
}

TEST(HelpPages, PictureNames)
{
    EXPECT_EQ(helpPageImageName(0), "Help/Help1.png");
    EXPECT_EQ(helpPageImageName(10), "Help/Help11.png");
}

TEST(HelpPages, ContextHelpPage)
{
    const struct {
        int nContentId;
        int nContextHelpId;
        const char* pszPage;
    } kCases[] = {
        {0, 0, "Help/Step1_Help.htm"},
        {2, 2, "Help/Step3_Help.htm"},
        {3, 3, "Help/Step4_Help.htm"},
        {1, 2, "Help/Step3_Help.htm"},  // the step page follows the wizard, not the number
        {4, 2, "Help/source_textutorial.htm"},
        {7, 0, "Help/source_textutorial.htm"},
        {0, 9, "Help/Step4_Help.htm"},  // a step beyond the four pages shows the last
    };
    for (const auto& k : kCases)
        EXPECT_EQ(contextHelpPageName(k.nContentId, k.nContextHelpId), k.pszPage) << k.nContentId << " " << k.nContextHelpId;
}
