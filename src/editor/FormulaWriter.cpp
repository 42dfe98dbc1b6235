#include "editor/FormulaWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "shell/Global.h"
#include "storage/BookCommit.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"
#include "storage/common_util.h"

const char* const RAW_DATA_FILE_NAME = "User Define_RawData.txt";

namespace {

// The numeric components of a tree id (".3.2" and "3.2" give 3, 2), each read
// with the leading-digits rule.
std::vector<long long> IdComponents(const std::string& strId)
{
    std::vector<long long> arrComponents;
    const std::string s = common::string_trim(strId, ".");
    if (s.empty())
        return arrComponents;
    std::vector<std::string> arrParts;
    common::string_split(s, ".", arrParts);
    for (const std::string& strPart : arrParts) {
        long long nValue = 0;
        for (char c : strPart) {
            if (c < '0' || c > '9' || nValue > 1000000000LL)
                break;
            nValue = nValue * 10 + (c - '0');
        }
        arrComponents.push_back(nValue);
    }
    return arrComponents;
}

std::string JoinId(const std::vector<long long>& arrComponents)
{
    std::string strId;
    for (std::size_t k = 0; k < arrComponents.size(); ++k) {
        if (k > 0)
            strId += '.';
        strId += std::to_string(arrComponents[k]);
    }
    return strId;
}

// One above the largest last component of the nodes with nDepth components.
long long NextComponent(const std::vector<_fornode>& vecTree, std::size_t nDepth)
{
    long long nLargest = 0;
    for (const _fornode& node : vecTree) {
        const std::vector<long long> arrComponents = IdComponents(node.m_szNodeId);
        if (arrComponents.size() == nDepth)
            nLargest = std::max(nLargest, arrComponents.back());
    }
    return nLargest + 1;
}

const char* const NAME_TRIM = " ";

std::string Quoted(const std::string& strText)
{
    return "\"" + strText + "\" ";
}

bool HasQuote(const std::string& strText)
{
    return strText.find('"') != std::string::npos;
}

}  // namespace

void parseFormulaName(const std::string& strName, std::vector<std::string>& arrCategory)
{
    arrCategory.clear();
    common::string_split(strName, "/", arrCategory);
}

bool allocateFormulaIds(const std::vector<_fornode>& vecTree, const std::vector<std::string>& arrParts,
                        FORMULA_ID_PLAN& plan)
{
    plan = FORMULA_ID_PLAN();
    if (arrParts.empty() || arrParts.size() > static_cast<std::size_t>(MAX_FORMULA_ID_DEPTH))
        return false;

    std::vector<long long> arrPath;
    for (std::size_t h = 0; h + 1 < arrParts.size(); ++h) {
        const std::string strPart = common::string_trim(arrParts[h], NAME_TRIM);
        // A folder of that name is reused only where it stands under the
        // folders chosen so far: one elsewhere in the book would put the
        // formula under an id that has no folder.
        long long nComponent = -1;
        for (const _fornode& node : vecTree) {
            if (node.m_uiNodeType != FORMULA_TYPE_FOLDER)
                continue;
            const std::vector<long long> arrComponents = IdComponents(node.m_szNodeId);
            if (arrComponents.size() != h + 1 ||
                !std::equal(arrPath.begin(), arrPath.end(), arrComponents.begin()))
                continue;
            if (common::equalsNoCase(common::string_trim(node.m_szNodeName, NAME_TRIM), strPart)) {
                nComponent = arrComponents.back();
                break;
            }
        }
        const bool bNewFolder = nComponent < 0;
        if (bNewFolder)
            nComponent = NextComponent(vecTree, h + 1);
        if (nComponent > MAX_FORMULA_ID_COMPONENT)
            return false;
        arrPath.push_back(nComponent);
        if (bNewFolder)
            plan.m_arrNewFolders.push_back({JoinId(arrPath), arrParts[h]});
    }

    const long long nComponent = NextComponent(vecTree, arrParts.size());
    if (nComponent > MAX_FORMULA_ID_COMPONENT) {
        plan = FORMULA_ID_PLAN();
        return false;
    }
    arrPath.push_back(nComponent);
    plan.m_strFormulaId = JoinId(arrPath);
    plan.m_strFormulaName = arrParts.back();
    return true;
}

bool composeFormulaText(const FORMULA_WIZARD_INFO& info, const FORMULA_ID_PLAN& plan, std::string& strText)
{
    strText.clear();
    std::vector<std::string> arrLines;
    for (const FORMULA_ID_PLAN::NEW_FOLDER& folder : plan.m_arrNewFolders) {
        arrLines.push_back("*");
        arrLines.push_back("ForId=" + folder.m_strId);
        arrLines.push_back("ForName= " + folder.m_strName);
        arrLines.push_back("ForDes= ");
    }
    arrLines.push_back("***");
    arrLines.push_back("ForId=" + plan.m_strFormulaId);
    arrLines.push_back("ForType= " + std::to_string(info.m_form1.m_nType));
    arrLines.push_back("ForName= " + plan.m_strFormulaName);
    arrLines.push_back("ForDes= " + info.m_form1.m_strDes);
    arrLines.push_back("ForMime= " + info.m_form2.m_strMime);

    // Only pages that exist are read, whatever Step 3 says.
    const std::size_t nCount = std::min(static_cast<std::size_t>(std::max(info.m_nParamCount, 0)),
                                        info.m_arrForm4.size());
    std::string strFor = "For= ";
    for (std::size_t p = 0; p < nCount; ++p) {
        const FORM4_INFO& form = info.m_arrForm4[p];
        for (const std::string* pField :
             {&form.m_strName, &form.m_strDescription, &form.m_strAlias, &form.m_strUnit, &form.m_strFormula}) {
            if (HasQuote(*pField))
                return false;
        }
        arrLines.push_back("Para= " + Quoted(form.m_strName) + Quoted(form.m_strDescription) +
                           Quoted(form.m_strAlias) + Quoted(form.m_strUnit) + "\"0\"");
        strFor += Quoted(form.m_bCalculable ? form.m_strFormula : std::string());
    }
    arrLines.push_back(strFor);
    std::string strImage = "Image= ";
    for (const std::string& strImageName : info.m_form2.m_arrImages) {
        if (HasQuote(strImageName))
            return false;
        strImage += Quoted(strImageName);
    }
    arrLines.push_back(strImage);

    for (const std::string& strLine : arrLines) {
        if (strLine.size() > static_cast<std::size_t>(MAX_SOURCE_LINE) ||
            strLine.find_first_of("\r\n") != std::string::npos)
            return false;
        strText += strLine;
        strText += common::CRLF;
    }
    return true;
}

namespace {

std::string mg_strSaveFailureReason;

// "Failed to save the formula!" with the reason on a line of its own.
std::string saveFailedMessage()
{
    std::string strMessage = WIZARD_MSG_SAVE_FAILED;
    if (!mg_strSaveFailureReason.empty())
        strMessage += "\n" + mg_strSaveFailureReason;
    return strMessage;
}

}  // namespace

const std::string& lastSaveFailureReason()
{
    return mg_strSaveFailureReason;
}

bool saveNewFormula2(const FORMULA_WIZARD_INFO& info, _fornode* pNewNode)
{
    mg_strSaveFailureReason.clear();
    std::vector<_fornode> vecTree;
    {
        FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
        // A user book without a tree yet has no ids to avoid.
        getFormulasTreeFromFileAndSort2(vecTree, getTreeFilename(), true);
    }
    std::vector<std::string> arrParts;
    parseFormulaName(info.m_form1.m_strName, arrParts);
    FORMULA_ID_PLAN plan;
    std::string strText;
    if (!allocateFormulaIds(vecTree, arrParts, plan) || !composeFormulaText(info, plan, strText))
        return false;

    const std::string strPath = getDocumentsFolder() + "/" + RAW_DATA_FILE_NAME;
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    bool bWritten = pFile && std::fwrite(strText.data(), 1, strText.size(), pFile) == strText.size();
    bWritten = pFile && std::fclose(pFile) == 0 && bWritten;
    if (!bWritten) {
        mg_strSaveFailureReason = writeErrorText(errno);
        return false;
    }

    bool bCompiled;
    {
        FormulasFolderSwitch useBook(USER_DEFINE_BOOK);
        bCompiled = createFormulaDataFromTextFile(strPath, true);
    }
    if (!bCompiled)
        mg_strSaveFailureReason = bookWriteErrorText(getLastBookWriteError());
    if (bCompiled && pNewNode)
        setNode(*pNewNode, "." + plan.m_strFormulaId, plan.m_strFormulaName,
                static_cast<std::uint32_t>(info.m_form1.m_nType));
    return bCompiled;
}

// ---- Editing --------------------------------------------------------------------

int getFormulaType(const _tag_formula_detail& det)
{
    for (const std::string& strFormula : det.m_vecCalcFormulas) {
        if (!strFormula.empty())
            return FORMULA_TYPE_CALCULABLE;
    }
    return FORMULA_TYPE_THEORY;
}

std::string getBackupPath(const FORMULA_NODE_INFO& info)
{
    if (!common::equalsNoCase(info.m_szBook, USER_DEFINE_BOOK))
        return std::string();
    std::vector<std::string> arrPath;
    if (!getFormulaPathFromBook(info, arrPath))
        return std::string();
    std::string strPath;
    for (const std::string& strFolder : arrPath)
        strPath += strFolder + "/";
    return strPath;
}

FORMULA_WIZARD_INFO formInfoFromRecords(const _tag_formula_des& des, const _tag_formula_detail& det,
                                        const std::string& strBackupPath)
{
    FORMULA_WIZARD_INFO info;
    info.m_form1.m_strName = strBackupPath + des.m_strName;
    info.m_form1.m_strDes = des.m_strDes;
    info.m_form1.m_nType = getFormulaType(det);
    info.m_form2.m_strMime = des.m_strMime;
    info.m_form2.m_arrImages = des.m_vecImages;
    info.m_nParamCount = static_cast<int>(std::min<std::uint32_t>(det.m_nParamCount, MAX_FORMULA_PARAMS));
    for (int i = 0; i < info.m_nParamCount; ++i) {
        const _tag_formula_parameter& param = det.m_arrParams[static_cast<std::size_t>(i)];
        FORM4_INFO form;
        form.m_strName = param.m_strName;
        form.m_strDescription = param.m_strDescription;
        form.m_strAlias = param.m_strAlias;
        form.m_strUnit = param.m_strUnit;
        const std::size_t k = static_cast<std::size_t>(i);
        form.m_bCalculable = k < det.m_vecCalcFormulas.size() && !det.m_vecCalcFormulas[k].empty();
        form.m_strFormula = form.m_bCalculable ? det.m_vecCalcFormulas[k] : std::string();
        info.m_arrForm4.push_back(form);
    }
    return info;
}

void constructFormulaRecords(const FORMULA_WIZARD_INFO& info, std::uint32_t nID, _tag_formula_des& des,
                             _tag_formula_detail& det)
{
    des = _tag_formula_des();
    des.m_nID = nID;
    des.m_strName = info.m_form1.m_strName;
    des.m_strDes = info.m_form1.m_strDes;
    des.m_strMime = info.m_form2.m_strMime;
    des.m_vecImages = info.m_form2.m_arrImages;

    det = _tag_formula_detail();
    det.m_nID = nID;
    const std::size_t nCount = std::min({static_cast<std::size_t>(std::max(info.m_nParamCount, 0)),
                                         info.m_arrForm4.size(), static_cast<std::size_t>(MAX_FORMULA_PARAMS)});
    det.m_nParamCount = static_cast<std::uint32_t>(nCount);
    for (std::size_t p = 0; p < nCount; ++p) {
        const FORM4_INFO& form = info.m_arrForm4[p];
        _tag_formula_parameter& param = det.m_arrParams[p];
        param.m_strName = form.m_strName;
        param.m_strDescription = form.m_strDescription;
        param.m_strAlias = form.m_strAlias;
        param.m_strUnit = form.m_strUnit;
        param.m_strValue.clear();
        det.m_vecCalcFormulas.push_back(form.m_bCalculable ? form.m_strFormula : std::string());
    }
}

std::string getFolderPart(const std::string& strName)
{
    const std::size_t nSlash = strName.rfind('/');
    return nSlash == std::string::npos ? std::string() : strName.substr(0, nSlash + 1);
}

EDIT_SAVE_OUTCOME saveEditedFormula(const FORMULA_NODE_INFO& editing, const _tag_formula_pos& pos,
                                    FORMULA_WIZARD_INFO info, const std::string& strBackupPath)
{
    mg_strSaveFailureReason.clear();
    EDIT_SAVE_OUTCOME outcome;
    bool bMove = false;
    if (common::equalsNoCase(editing.m_szBook, USER_DEFINE_BOOK)) {
        const std::string strFolder = getFolderPart(info.m_form1.m_strName);
        if (common::equalsNoCase(strFolder, strBackupPath))
            info.m_form1.m_strName = info.m_form1.m_strName.substr(strFolder.size());
        else
            bMove = true;
    }

    // A moved formula is checked like any other before anything is written.
    if (!checkFormulaInfo(info, bMove, outcome.m_strMessage)) {
        outcome.m_nResult = EDIT_SAVE_INVALID;
        return outcome;
    }

    if (!bMove) {
        FORMULA_NODE_INFO node = editing;
        setNode(node.m_NodeInfo, editing.m_NodeInfo.m_szNodeId, info.m_form1.m_strName,
                static_cast<std::uint32_t>(info.m_form1.m_nType));
        std::uint32_t nID = pos.m_nID;
        if (nID == 0)
            parseFormulaId(editing.m_NodeInfo.m_szNodeId, nID);
        _tag_formula_des des;
        _tag_formula_detail det;
        constructFormulaRecords(info, nID, des, det);
        if (!editFormulaInBook(node, des, det)) {
            mg_strSaveFailureReason = bookWriteErrorText(getLastBookWriteError());
            outcome.m_nResult = EDIT_SAVE_FAILED;
            outcome.m_strMessage = saveFailedMessage();
            return outcome;
        }
        outcome.m_nResult = EDIT_SAVE_IN_PLACE;
        outcome.m_newInfo = node;
        return outcome;
    }

    // Written under the new path first: if that fails the formula is still
    // where it was.
    _fornode newNode = makeEmptyNode();
    if (!saveNewFormula2(info, &newNode)) {
        outcome.m_nResult = EDIT_SAVE_FAILED;
        outcome.m_strMessage = saveFailedMessage();
        return outcome;
    }
    outcome.m_newInfo = makeNodeInfo(newNode, USER_DEFINE_BOOK);
    outcome.m_nResult = deleteFormulaFromBook(editing) ? EDIT_SAVE_MOVED : EDIT_SAVE_MOVED_COPY;
    return outcome;
}
