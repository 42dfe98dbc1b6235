#include "editor/EditFormulaViewController.h"

#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "calc/FormulaValueStore.h"
#include "editor/FormulaWriter.h"
#include "shell/Global.h"
#include "storage/FavoritesHistory.h"
#include "storage/Formulas.h"
#include "storage/common_dstring.h"
#include "ui/UIAlertView.h"
#include "ui/UINotificationCenter.h"

EditFormulaViewController::EditFormulaViewController(QObject* parent)
    : NewFormulaViewController(WIZARD_MODE_EDIT, parent), m_EditingFormulaInfo(makeEmptyNodeInfo())
{
}

void EditFormulaViewController::setFormInfoWithNode(const FORMULA_NODE_INFO& info)
{
    m_EditingFormulaInfo = info;
    const std::string strId = common::string_trim(info.m_NodeInfo.m_szNodeId, ".");
    _tag_formula_des des;
    _tag_formula_detail det;
    {
        FormulasFolderSwitch useBook(canonicalBookName(info.m_szBook));
        m_EditingFormulaPos = _tag_formula_pos();
        if (getIndexFormula(strId, m_EditingFormulaPos)) {
            getDesFormula(m_EditingFormulaPos.m_nID, m_EditingFormulaPos.m_nPosDes, des);
            getDetFormula(m_EditingFormulaPos.m_nID, m_EditingFormulaPos.m_nPosDet, det);
        }
    }
    setFormInfoWithDes(des, det);
}

void EditFormulaViewController::setFormInfoWithDes(const _tag_formula_des& des, const _tag_formula_detail& det)
{
    view();
    g_sBackupPath = getBackupPath(m_EditingFormulaInfo);
    const FORMULA_WIZARD_INFO info = formInfoFromRecords(des, det, g_sBackupPath);
    mg_nFormulaType = info.m_form1.m_nType;
    updatePages(info.m_nParamCount);
    m_pForm1->setFormInfo(info.m_form1);
    m_pForm2->setFormInfo(info.m_form2);
    m_pForm3->setFormInfo(info.m_nParamCount);
    for (int i = 0; i < info.m_nParamCount; ++i) {
        if (Form4* page = form4(i))
            page->setFormInfo(info.m_arrForm4[static_cast<std::size_t>(i)]);
    }
    rememberPagesAsStart();
}

void EditFormulaViewController::onCreateNewFormulaDone()
{
    if (!readPages())
        return;
    const EDIT_SAVE_OUTCOME outcome =
        saveEditedFormula(m_EditingFormulaInfo, m_EditingFormulaPos, formInfo(), g_sBackupPath);
    switch (outcome.m_nResult) {
    case EDIT_SAVE_INVALID:
    case EDIT_SAVE_FAILED:
        showWarning(outcome.m_strMessage);
        return;
    case EDIT_SAVE_IN_PLACE:
        UINotificationCenter::defaultCenter().postNotification("updateFormulaListAfterEdit", this);
        closeEditor();
        return;
    case EDIT_SAVE_MOVED:
    case EDIT_SAVE_MOVED_COPY:
        // Favorites, History, the typed values and the Calculate tab follow
        // the formula to its new place, and the browser reads the book
        // again: the row it showed has moved away.
        updateFormulaInFavHis(m_EditingFormulaInfo, outcome.m_newInfo.m_NodeInfo);
        saveFavoritesAndHistory();
        moveTypedValues(m_EditingFormulaInfo, outcome.m_newInfo);
        if (FORMULA_NODE_INFO last; loadLastUsedFormula(last) && isSameFormula(last, m_EditingFormulaInfo))
            saveLastUsedFormula(outcome.m_newInfo);
        m_EditingFormulaInfo = outcome.m_newInfo;
        UINotificationCenter::defaultCenter().postNotification("reloadFormulaList", this);
        closeEditor();
        if (outcome.m_nResult == EDIT_SAVE_MOVED_COPY) {
            auto* alert = new UIAlertView(QString::fromLatin1(WIZARD_ALERT_TITLE),
                                          QStringLiteral("Failed to remove the formula!"),
                                          QString::fromLatin1(WIZARD_ALERT_BUTTON));
            alert->show();
        }
        return;
    }
}
