#pragma once
// Step 4 of the formula wizard, one page per parameter: name and description
// ("name - description"), unit in TeX with a live preview, the one-letter
// alias, whether the parameter can be calculated, and its calculation
// expression written in the aliases of the other parameters.

#include "editor/FormPage.h"
#include "editor/FormulaWizard.h"

#include <utility>
#include <vector>

class MIMEView;
class UIFormLineEdit;
class UIFormTextView;
class UIRoundRectView;
class UISwitch;

class Form4 : public FormPage {
    Q_OBJECT
public:
    // The five lines under the expression area.
    static QString expressionHint();

    Form4(const QRect& frame, UIPagingScrollView* pager, QWidget* parent);
    ~Form4() override;

    // Parameter nIndex (0-based) is shown as "Step 4 : Parameter nIndex + 1".
    void setParameterNumber(int nIndex);
    int parameterNumber() const { return m_nIndex; }

    void setFormInfo(const FORM4_INFO& info);
    void getFormInfo(FORM4_INFO& info) const;

    UIFormLineEdit* nameField() const { return m_pNameField; }
    UIFormLineEdit* unitField() const { return m_pUnitField; }
    UIFormLineEdit* aliasField() const { return m_pAliasField; }
    UISwitch* calculableSwitch() const { return m_pCalculableSwitch; }
    UIFormTextView* formulaView() const { return m_pFormulaView; }
    MIMEView* preview() const { return m_pPreview; }
    // "Unknown TeX command: \foo" under the preview, hidden while the unit has none.
    QLabel* texMessage() const { return m_pTexMessage; }

private:
    void onCalculableChanged();
    void renderPreview();
    void layoutBelowPreview();

    int m_nIndex = 0;
    UIFormLineEdit* m_pNameField;
    UIFormLineEdit* m_pUnitField;
    MIMEView* m_pPreview;
    QLabel* m_pTexMessage;
    // What stands below the preview, with its place while no message shows.
    std::vector<std::pair<QWidget*, int>> m_vecBelowPreview;
    UIFormLineEdit* m_pAliasField;
    UISwitch* m_pCalculableSwitch;
    QLabel* m_pFormulaLabel;
    UIRoundRectView* m_pFormulaFrame;
    UIFormTextView* m_pFormulaView;
    QLabel* m_pFormulaHint;
};
