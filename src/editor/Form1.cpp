#include "editor/Form1.h"

#include "editor/CustomControl.h"
#include "ui/UINotificationCenter.h"
#include "ui/UISegmentedControl.h"

Form1::Form1(const QRect& frame, UIPagingScrollView* pager, QWidget* parent) : FormPage(frame, pager, parent)
{
    addTitle(QStringLiteral("Step 1"));
    addLabel(QStringLiteral("Formula's name (*)"), 44);
    m_pNameField = new UIxTextField(QRect(kMargin, 64, kFieldWidth, 38), false, content());
    addLabel(QStringLiteral("Formula's description"), 114);
    m_pDesField = new UIxTextField(QRect(kMargin, 134, kFieldWidth, 130), true, content());
    addLabel(QStringLiteral("Formula's type"), 276);
    m_pTypeControl = new UISegmentedControl({QStringLiteral("Calculable"), QStringLiteral("Theory")}, content());
    m_pTypeControl->setGeometry(kMargin, 298, kFieldWidth, 32);
    m_pTypeControl->setSelectedSegmentIndex(0);
    setContentHeight(height());

    m_pNameField->lineEdit()->onReturn = [this] { m_pDesField->editor()->setFocus(Qt::TabFocusReason); };
    m_pDesField->textView()->onReturn = [this] { closeKeyboard(); };
    m_pNameField->lineEdit()->onFocusIn = [this] { ensureVisible(m_pNameField); };
    m_pDesField->textView()->onFocusIn = [this] { ensureVisible(m_pDesField); };
    m_pTypeControl->onValueChanged = [this](UISegmentedControl* control) {
        closeKeyboard();
        if (onTypeChanged)
            onTypeChanged(control->selectedSegmentIndex() == 0 ? FORMULA_TYPE_CALCULABLE : FORMULA_TYPE_THEORY);
    };

    // The areas are redrawn while the pages scroll past them.
    UINotificationCenter::defaultCenter().addObserver(this, "updateTextViewForm1", nullptr, [this](const UINotification&) {
        m_pNameField->update();
        m_pDesField->textView()->viewport()->update();
    });
}

Form1::~Form1()
{
    UINotificationCenter::defaultCenter().removeObserver(this);
}

void Form1::setFormInfo(const FORM1_INFO& info)
{
    m_pNameField->setText(QString::fromStdString(info.m_strName));
    m_pDesField->setText(QString::fromStdString(info.m_strDes));
    m_pTypeControl->setSelectedSegmentIndex(info.m_nType == FORMULA_TYPE_THEORY ? 1 : 0);
}

void Form1::getFormInfo(FORM1_INFO& info) const
{
    info.m_strName = trimFormText(m_pNameField->text().toStdString());
    info.m_strDes = trimFormText(m_pDesField->text().toStdString());
    info.m_nType = m_pTypeControl->selectedSegmentIndex() == 1 ? FORMULA_TYPE_THEORY : FORMULA_TYPE_CALCULABLE;
}
