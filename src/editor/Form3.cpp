#include "editor/Form3.h"

#include "editor/CustomControl.h"
#include "editor/FormulaWizard.h"
#include "ui/UIAlertView.h"
#include "ui/UINotificationCenter.h"

#include <QRegularExpressionValidator>

Form3::Form3(const QRect& frame, UIPagingScrollView* pager, int nViewMode, QWidget* parent)
    : FormPage(frame, pager, parent), m_nViewMode(nViewMode)
{
    addTitle(QStringLiteral("Step 3"));
    addLabel(QStringLiteral("Number of parameters (*)"), 44);
    auto* frameView = new UIRoundRectView(QRect(kMargin, 66, 120, 36), content());
    m_pCountField = new UIFormLineEdit(content());
    m_pCountField->setGeometry(frameView->geometry().adjusted(8, 2, -8, -2));
    m_pCountField->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_pCountField));
    m_pCountField->setInputMethodHints(Qt::ImhDigitsOnly);
    m_pCountField->setMaxLength(9);

    QLabel* note = addHint(QStringLiteral("Note: the number of parameters is from 0 to 10.\n"
                                          "This field is required if the formula is calculable."),
                           112, 72);
    note->setFont(WizardStyle::labelFont());
    QPalette palette = note->palette();
    palette.setColor(QPalette::WindowText, QColor(220, 30, 30));
    note->setPalette(palette);
    setContentHeight(height());

    m_pCountField->onReturn = [this] { closeKeyboard(); };
    connect(m_pCountField, &QLineEdit::editingFinished, this, [this] { onEditingEnded(); });
}

void Form3::setFormInfo(int nCount)
{
    m_pCountField->setText(QString::number(nCount));
    m_strHandledText = m_pCountField->text();
    m_bHandled = true;
}

void Form3::getFormInfo(int& nCount) const
{
    nCount = parseParameterCount(m_pCountField->text().toStdString());
}

void Form3::onEditingEnded()
{
    // Leaving the field again without a change commits nothing new (and an
    // alert that takes the focus does not bring itself back).
    if (m_bHandled && m_pCountField->text() == m_strHandledText)
        return;
    commitCount();
}

bool Form3::commitCount()
{
    m_strHandledText = m_pCountField->text();
    m_bHandled = true;
    int nCount = 0;
    getFormInfo(nCount);
    const bool bCalculable = !formulaType || formulaType() == FORMULA_TYPE_CALCULABLE;
    if (bCalculable && nCount > WIZARD_MAX_PARAMETERS) {
        auto* alert = new UIAlertView(QString::fromLatin1(WIZARD_ALERT_TITLE),
                                      QString::fromLatin1(WIZARD_MSG_OUT_OF_RANGE),
                                      QString::fromLatin1(WIZARD_ALERT_BUTTON));
        alert->show();
        return false;
    }
    int nPages = bCalculable ? nCount : 0;
    UINotificationCenter::defaultCenter().postNotification(
        m_nViewMode == WIZARD_MODE_NEW ? "updatePages" : "updatePagesEdit", &nPages);
    return true;
}
