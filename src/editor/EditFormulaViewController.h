#pragma once
// The formula wizard over a formula chosen in the browser: the pages are
// filled from the formula's records, and Done rewrites it in place — or,
// for a user formula whose folder path was changed in Step 1, writes it
// under the new path and removes it from the old one.

#include "editor/NewFormulaViewController.h"
#include "storage/FormulaRecords.h"

class EditFormulaViewController : public NewFormulaViewController {
    Q_OBJECT
public:
    explicit EditFormulaViewController(QObject* parent = nullptr);

    // Reads the formula's records from its book and fills the pages.
    void setFormInfoWithNode(const FORMULA_NODE_INFO& info);
    void setFormInfoWithDes(const _tag_formula_des& des, const _tag_formula_detail& det);

    const FORMULA_NODE_INFO& editingFormulaInfo() const { return m_EditingFormulaInfo; }

    void onCreateNewFormulaDone() override;

private:
    FORMULA_NODE_INFO m_EditingFormulaInfo;
    _tag_formula_pos m_EditingFormulaPos;
};
