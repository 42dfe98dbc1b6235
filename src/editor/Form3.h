#pragma once
// Step 3 of the formula wizard: the number of parameters. The number is
// committed when editing of the field ends: the wizard then builds one page
// per parameter (none for a theory formula).

#include "editor/FormPage.h"

#include <functional>

class UIFormLineEdit;

class Form3 : public FormPage {
    Q_OBJECT
public:
    Form3(const QRect& frame, UIPagingScrollView* pager, int nViewMode, QWidget* parent);

    void setFormInfo(int nCount);
    void getFormInfo(int& nCount) const;

    UIFormLineEdit* countField() const { return m_pCountField; }

    // Commits the number in the field. Above 10 for a calculable formula it
    // says so and changes nothing (false); otherwise it posts "updatePages"
    // ("updatePagesEdit" when editing) with the number, or with 0 for a
    // theory formula.
    bool commitCount();

    // The formula type chosen in Step 1.
    std::function<int()> formulaType;

private:
    void onEditingEnded();

    int m_nViewMode;
    UIFormLineEdit* m_pCountField;
    QString m_strHandledText;  // the text the last commit (or refusal) was for
    bool m_bHandled = false;
};
