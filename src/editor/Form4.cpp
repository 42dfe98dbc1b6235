#include "editor/Form4.h"

#include "editor/CustomControl.h"
#include "ui/MIMEView.h"
#include "ui/UINotificationCenter.h"

namespace {

// The top of what stands below the unit's preview.
constexpr int kBelowPreviewY = 222;
constexpr int kContentHeight = 466;

// Quoted fields of the formula text cannot hold a double quote: none is taken.
void DropQuotes(QLineEdit* field)
{
    QString text = field->text();
    if (!text.contains(QLatin1Char('"')))
        return;
    int cursor = field->cursorPosition();
    cursor -= static_cast<int>(text.left(cursor).count(QLatin1Char('"')));
    text.remove(QLatin1Char('"'));
    field->setText(text);
    field->setCursorPosition(cursor);
}

UIFormLineEdit* FramedLine(const QRect& frame, QWidget* parent)
{
    auto* frameView = new UIRoundRectView(frame, parent);
    frameView->lower();
    auto* field = new UIFormLineEdit(parent);
    field->setGeometry(frame.adjusted(8, 2, -8, -2));
    return field;
}

} // namespace

QString Form4::expressionHint()
{
    return QStringLiteral("Ex: All parameters in the formula is in alias:\n"
                          "(a+c)/(a*c^2)\n"
                          "Alias of parameter 1 is \"a\"\n"
                          "Alias of other parameter is \"b\", \"d\", \"e\".\n"
                          "You can use functions as sin(), cos(), asin()...");
}

Form4::Form4(const QRect& frame, UIPagingScrollView* pager, QWidget* parent) : FormPage(frame, pager, parent)
{
    setParameterNumber(0);
    addLabel(QStringLiteral("Parameter's name and description (*)"), 42);
    m_pNameField = FramedLine(QRect(kMargin, 62, kFieldWidth, 34), content());

    addLabel(QStringLiteral("Unit of parameter in TeX"), 104);
    addHint(QStringLiteral("Ex: A, V, U, \\omega, \\alpha..."), 122, 14);
    m_pUnitField = FramedLine(QRect(kMargin, 138, kFieldWidth, 34), content());

    addLabel(QStringLiteral("Preview:"), 190, 18)->resize(62, 18);
    auto* previewFrame = new UIRoundRectView(QRect(76, 180, 234, 40), content());
    m_pPreview = new MIMEView(QRect(0, 0, 234, 40), previewFrame);
    m_pPreview->setAlignment(1);
    m_pPreview->renderExpression(QStringLiteral("\\text{N/A}"), QStringLiteral("\\large"));

    addLabel(QStringLiteral("Parameter's alias (a-z) (*)"), 230, 18)->resize(190, 18);
    m_pAliasField = FramedLine(QRect(kMargin, 250, 64, 34), content());
    m_pAliasField->setInputMethodHints(Qt::ImhNoAutoUppercase | Qt::ImhNoPredictiveText | Qt::ImhLatinOnly);
    addLabel(QStringLiteral("Calculable (*)"), 230, 18)->setGeometry(206, 230, 110, 18);
    m_pCalculableSwitch = new UISwitch(QPoint(206, 252), content());

    m_pFormulaLabel = addLabel(QStringLiteral("Formula to calculate (*)"), 294);
    m_pFormulaFrame = new UIRoundRectView(QRect(kMargin, 314, kFieldWidth, 62), content());
    m_pFormulaView = new UIFormTextView(content());
    m_pFormulaView->setGeometry(m_pFormulaFrame->geometry().adjusted(6, 3, -6, -3));
    m_pFormulaView->setIgnoresFirstReturn(true);
    m_pFormulaView->setInputMethodHints(Qt::ImhNoAutoUppercase | Qt::ImhNoPredictiveText);
    m_pFormulaHint = addHint(expressionHint(), 382, 76);
    setContentHeight(kContentHeight);
    for (QWidget* child : content()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->y() >= kBelowPreviewY)
            m_vecBelowPreview.emplace_back(child, child->y());
    }
    m_pTexMessage = addTexMessage(QRect(76, kBelowPreviewY, 234, 16));

    // Return walks through the fields.
    m_pNameField->onReturn = [this] { m_pUnitField->setFocus(Qt::TabFocusReason); };
    m_pUnitField->onReturn = [this] { m_pAliasField->setFocus(Qt::TabFocusReason); };
    m_pAliasField->onReturn = [this] {
        if (m_pCalculableSwitch->isOn())
            m_pFormulaView->setFocus(Qt::TabFocusReason);
        else
            closeKeyboard();
    };
    m_pFormulaView->onReturn = [this] { closeKeyboard(); };
    for (QWidget* field : {static_cast<QWidget*>(m_pNameField), static_cast<QWidget*>(m_pUnitField),
                           static_cast<QWidget*>(m_pAliasField)}) {
        static_cast<UIFormLineEdit*>(field)->onFocusIn = [this, field] { ensureVisible(field); };
    }
    m_pFormulaView->onFocusIn = [this] { ensureVisible(m_pFormulaFrame); };

    connect(m_pNameField, &QLineEdit::textChanged, this, [this] { DropQuotes(m_pNameField); });
    connect(m_pUnitField, &QLineEdit::textChanged, this, [this] {
        DropQuotes(m_pUnitField);
        renderPreview();
    });
    connect(m_pAliasField, &QLineEdit::textChanged, this, [this](const QString& text) {
        const QString kept = QString::fromStdString(filterAliasText(text.toStdString()));
        if (kept != text)
            m_pAliasField->setText(kept);
    });
    m_pFormulaView->onTextChanged = [this] {
        const QString text = m_pFormulaView->text();
        if (!text.contains(QLatin1Char('"')))
            return;
        QTextCursor cursor = m_pFormulaView->textCursor();
        const int position = cursor.position() - static_cast<int>(text.left(cursor.position()).count(QLatin1Char('"')));
        QString kept = text;
        kept.remove(QLatin1Char('"'));
        m_pFormulaView->setPlainText(kept);
        cursor = m_pFormulaView->textCursor();
        cursor.setPosition(std::min(position, static_cast<int>(kept.size())));
        m_pFormulaView->setTextCursor(cursor);
    };
    m_pCalculableSwitch->onValueChanged = [this](UISwitch*) { onCalculableChanged(); };

    UINotificationCenter::defaultCenter().addObserver(this, "updateTextViewForm4", nullptr,
                                                      [this](const UINotification&) { m_pFormulaView->viewport()->update(); });
}

Form4::~Form4()
{
    UINotificationCenter::defaultCenter().removeObserver(this);
}

void Form4::setParameterNumber(int nIndex)
{
    m_nIndex = nIndex;
    addTitle(QStringLiteral("Step 4 : Parameter %1").arg(nIndex + 1));
}

void Form4::renderPreview()
{
    m_pPreview->renderExpression(m_pUnitField->text(), QStringLiteral("\\large"));
    layoutBelowPreview();
}

// The message under the preview pushes the fields below it down while it shows.
void Form4::layoutBelowPreview()
{
    const int shift = showUnknownTex(m_pTexMessage, *m_pPreview);
    for (const auto& [widget, y] : m_vecBelowPreview)
        widget->move(widget->x(), y + shift);
    setContentHeight(kContentHeight + shift);
}

void Form4::onCalculableChanged()
{
    const bool on = m_pCalculableSwitch->isOn();
    if (!on && m_pFormulaView->hasFocus())
        closeKeyboard();
    m_pFormulaLabel->setVisible(on);
    m_pFormulaFrame->setVisible(on);
    m_pFormulaView->setVisible(on);
    m_pFormulaHint->setVisible(on);
}

void Form4::setFormInfo(const FORM4_INFO& info)
{
    m_pNameField->setText(QString::fromStdString(joinParameterField(info.m_strName, info.m_strDescription)));
    m_pNameField->setCursorPosition(0);
    m_pUnitField->setText(QString::fromStdString(info.m_strUnit));
    m_pUnitField->setCursorPosition(0);
    m_pAliasField->setText(QString::fromStdString(info.m_strAlias));
    m_pCalculableSwitch->setOn(info.m_bCalculable);
    m_pFormulaView->setText(info.m_bCalculable ? QString::fromStdString(info.m_strFormula) : QString());
    onCalculableChanged();
}

void Form4::getFormInfo(FORM4_INFO& info) const
{
    splitParameterField(m_pNameField->text().toStdString(), info.m_strName, info.m_strDescription);
    info.m_strUnit = trimFormText(m_pUnitField->text().toStdString());
    info.m_strAlias = trimFormText(m_pAliasField->text().toStdString());
    info.m_bCalculable = m_pCalculableSwitch->isOn();
    info.m_strFormula = info.m_bCalculable ? trimFormText(m_pFormulaView->text().toStdString()) : std::string();
}
