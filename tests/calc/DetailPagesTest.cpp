// What the formula detail pages compose: the framed formula with its
// parameter list, the description, the kinds of image entries, picture
// paths and the page shown at a scroll position.
#include <gtest/gtest.h>

#include "editor/DetailPages.h"
#include "ui/UIPaging.h"

namespace {

_tag_formula_detail Detail(std::initializer_list<std::pair<const char*, const char*>> params)
{
    _tag_formula_detail det;
    for (const auto& [pszName, pszDescription] : params) {
        det.m_arrParams[det.m_nParamCount].m_strName = pszName;
        det.m_arrParams[det.m_nParamCount].m_strDescription = pszDescription;
        ++det.m_nParamCount;
    }
    return det;
}

TEST(DetailPages, FormulaPageListsDescribedParameters)
{
    _tag_formula_des des;
    des.m_strMime = "a^2+b^2=c^2";
    const struct {
        const char* pszWhat;
        _tag_formula_detail det;
        const char* pszTex;
    } kCases[] = {
        {"two described", Detail({{"a", "Leg"}, {"c", "Hypotenuse"}}),
         "\\text{Formula:\\\\\\fbox{a^2+b^2=c^2}\\\\\\hspace{50}\\\\ + a : Leg\\\\ + c : Hypotenuse\\\\}\\\\"},
        {"only the second described", Detail({{"a", ""}, {"c", "Hypotenuse"}}),
         "\\text{Formula:\\\\\\fbox{a^2+b^2=c^2}\\\\\\hspace{50}\\\\ + c : Hypotenuse\\\\}\\\\"},
        {"no parameters", Detail({}), "\\text{Formula:\\\\\\fbox{a^2+b^2=c^2}\\\\\\hspace{50}\\\\}\\\\"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ComposeFormulaPageTex(des, c.det), c.pszTex) << c.pszWhat;
}

TEST(DetailPages, ParameterCountBeyondTheSlotsIsBounded)
{
    _tag_formula_des des;
    _tag_formula_detail det = Detail({{"a", "A"}});
    det.m_nParamCount = 4000000000u;  // a damaged record
    EXPECT_EQ(ComposeFormulaPageTex(des, det), "\\text{Formula:\\\\\\fbox{}\\\\\\hspace{50}\\\\ + a : A\\\\}\\\\");
}

TEST(DetailPages, DescriptionText)
{
    _tag_formula_des des;
    EXPECT_EQ(ComposeDescriptionText(des), "");
    des.m_strDes = "Light bends.";
    EXPECT_EQ(ComposeDescriptionText(des), "Description:\n + Light bends.");
}

TEST(DetailPages, ImageEntries)
{
    const struct {
        const char* pszEntry;
        const char* pszBook;
        DETAIL_IMAGE_KIND eKind;
    } kCases[] = {
        // pictures, by either spelling of the extension
        {"triangle.png", "Math", DETAIL_IMAGE_PICTURE},
        {"TRIANGLE.PNG", "Math", DETAIL_IMAGE_PICTURE},
        {"Math_3.png", "Math", DETAIL_IMAGE_PICTURE},
        // anything else is TeX ...
        {"c = \\sqrt{a^2+b^2}", "Math", DETAIL_IMAGE_TEX},
        {"figure.Png", "Math", DETAIL_IMAGE_TEX},
        {"Optics_3", "Math", DETAIL_IMAGE_TEX},
        // ... unless it names a picture of the book without its extension
        {"Math_3", "Math", DETAIL_IMAGE_SKIPPED},
        {"see User Define_7", "User Define", DETAIL_IMAGE_SKIPPED},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ClassifyDetailImage(c.pszEntry, c.pszBook), c.eKind) << c.pszEntry << " in " << c.pszBook;
}

TEST(DetailPages, PicturePaths)
{
    EXPECT_EQ(DetailPicturePath("p.png", "User Define", "/docs", "/app"), "/docs/Image/p.png");
    EXPECT_EQ(DetailPicturePath("p.png", "USER DEFINE", "/docs", "/app"), "/docs/Image/p.png");
    EXPECT_EQ(DetailPicturePath("p.png", "Optics", "/docs", "/app"), "/app/Formulas/Optics/Image/p.png");
}

TEST(DetailPages, PageAtScrollOffset)
{
    const struct {
        double dbOffset;
        int nPage;
    } kCases[] = {
        {0, 0}, {159, 0}, {160, 1}, {320, 1}, {479, 1}, {480, 2}, {640, 2},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(pageAtOffset(c.dbOffset, 320), c.nPage) << c.dbOffset;
    EXPECT_EQ(pageAtOffset(100, 0), 0);
}

}  // namespace
