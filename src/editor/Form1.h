#pragma once
// Step 1 of the formula wizard: the formula's name (a folder path is allowed:
// "Mechanics/Statics/Torque"), its description and its type.

#include "editor/FormPage.h"
#include "editor/FormulaWizard.h"

#include <functional>

class UISegmentedControl;
class UIxTextField;

class Form1 : public FormPage {
    Q_OBJECT
public:
    Form1(const QRect& frame, UIPagingScrollView* pager, QWidget* parent);
    ~Form1() override;

    void setFormInfo(const FORM1_INFO& info);
    void getFormInfo(FORM1_INFO& info) const;

    UIxTextField* nameField() const { return m_pNameField; }
    UIxTextField* descriptionField() const { return m_pDesField; }
    UISegmentedControl* typeControl() const { return m_pTypeControl; }

    // The type chosen with the switch: 1 calculable, 0 theory.
    std::function<void(int)> onTypeChanged;

private:
    UIxTextField* m_pNameField;
    UIxTextField* m_pDesField;
    UISegmentedControl* m_pTypeControl;
};
