#include "editor/DetailPages.h"

#include <algorithm>
#include <cstdint>

#include "storage/common_dstring.h"

namespace {

constexpr const char* kUserDefineBook = "user define";

bool Contains(const std::string& strText, const std::string& strPart)
{
    return strText.find(strPart) != std::string::npos;
}

}  // namespace

std::string ComposeFormulaPageTex(const _tag_formula_des& des, const _tag_formula_detail& det)
{
    std::string strTex = "\\text{Formula:\\\\";
    strTex += "\\fbox{";
    strTex += des.m_strMime;
    strTex += "}\\\\\\hspace{50}\\\\";
    const int nCount = static_cast<int>(std::min<std::uint32_t>(det.m_nParamCount, MAX_FORMULA_PARAMS));
    for (int i = 0; i < nCount; ++i) {
        const _tag_formula_parameter& param = det.m_arrParams[static_cast<size_t>(i)];
        if (param.m_strDescription.empty())
            continue;
        strTex += " + ";
        strTex += param.m_strName;
        strTex += " : ";
        strTex += param.m_strDescription;
        strTex += "\\\\";
    }
    strTex += "}\\\\";
    return strTex;
}

std::string ComposeDescriptionText(const _tag_formula_des& des)
{
    if (des.m_strDes.empty())
        return {};
    return "Description:\n + " + des.m_strDes;
}

DETAIL_IMAGE_KIND ClassifyDetailImage(const std::string& strEntry, const std::string& strBook)
{
    if (Contains(strEntry, ".png") || Contains(strEntry, ".PNG"))
        return DETAIL_IMAGE_PICTURE;
    if (Contains(strEntry, strBook + "_"))
        return DETAIL_IMAGE_SKIPPED;
    return DETAIL_IMAGE_TEX;
}

std::string DetailPicturePath(const std::string& strEntry, const std::string& strBook,
                              const std::string& strDocumentsFolder, const std::string& strAppPath)
{
    if (common::toLower(strBook) == kUserDefineBook)
        return strDocumentsFolder + "/Image/" + strEntry;
    return strAppPath + "/Formulas/" + strBook + "/Image/" + strEntry;
}
