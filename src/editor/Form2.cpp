#include "editor/Form2.h"

#include "editor/CustomControl.h"
#include "shell/Global.h"
#include "ui/MIMEView.h"
#include "ui/UIAlertView.h"
#include "ui/UIApplicationDelegate.h"
#include "ui/UINotificationCenter.h"
#include "ui/UIStyle.h"
#include "ui/UITimer.h"

#include <QPointer>
#include <algorithm>

const char* const Form2::kExampleTex = "\\text\\frac{1}{C} = \\sum_{i=1}^n \\frac{1}{C_i}";

namespace {

const QString kAddCell = QStringLiteral("add-image");
const QString kImageCell = QStringLiteral("image");
constexpr int kPreviewMinHeight = 56;
constexpr double kRowActionSeconds = 0.2;

} // namespace

Form2::Form2(const QRect& frame, UIPagingScrollView* pager, int nViewMode, QWidget* parent)
    : FormPage(frame, pager, parent), m_nViewMode(nViewMode)
{
    addTitle(QStringLiteral("Step 2"));
    addLabel(QStringLiteral("Formula in TeX"), 44);
    addHint(QStringLiteral("Ex: ") + QString::fromLatin1(kExampleTex), 62, 16);
    m_pTexField = new UIxTextField(QRect(kMargin, 80, kFieldWidth, 70), true, content());
    m_pPreviewLabel = addLabel(QStringLiteral("Preview"), 160);
    m_pPreviewFrame = new UIRoundRectView(QRect(kMargin, 180, kFieldWidth, kPreviewMinHeight), content());
    m_pPreview = new MIMEView(QRect(0, 0, kFieldWidth, kPreviewMinHeight), m_pPreviewFrame);
    m_pPreview->setAlignment(1);
    m_pTexMessage = addTexMessage(QRect(kMargin, 238, kFieldWidth, 16));
    m_pImageLabel = addLabel(QStringLiteral("Illustrate image"), 246);
    m_pImageTable = new UITableView(content());
    m_pImageTable->setScrollEnabled(false);
    m_pImageTable->setRowHeight(kRowHeight);
    m_pImageTable->setDataSource(this);
    m_pImageTable->setDelegate(this);

    m_pPreview->renderExpression(QString::fromLatin1(kExampleTex), QStringLiteral("\\large"));
    layoutContent();
    m_pImageTable->reloadData();

    UIFormTextView* area = m_pTexField->textView();
    area->onTextChanged = [this] { renderPreview(); };
    area->onReturn = [this] { closeKeyboard(); };
    area->onFocusIn = [this] { ensureVisible(m_pTexField); };

    UINotificationCenter& center = UINotificationCenter::defaultCenter();
    const char* pszPicked = m_nViewMode == WIZARD_MODE_NEW ? "closeImagePicker" : "closeImagePickerEdit";
    center.addObserver(this, pszPicked, nullptr, [this](const UINotification&) { onCloseImagePicker(); });
}

Form2::~Form2()
{
    UINotificationCenter::defaultCenter().removeObserver(this);
}

void Form2::setFormInfo(const FORM2_INFO& info)
{
    m_pTexField->setText(QString::fromStdString(info.m_strMime));
    m_arrImages.clear();
    for (const std::string& strImage : info.m_arrImages)
        m_arrImages << QString::fromStdString(strImage);
    layoutContent();
    m_pImageTable->reloadData();
}

void Form2::getFormInfo(FORM2_INFO& info) const
{
    info.m_strMime = trimFormText(m_pTexField->text().toStdString());
    info.m_arrImages.clear();
    for (const QString& image : m_arrImages)
        info.m_arrImages.push_back(image.toStdString());
}

void Form2::renderPreview()
{
    m_pPreview->renderExpression(m_pTexField->text(), QStringLiteral("\\large"));
    layoutContent();
}

// The preview grows with a tall formula, the message under it with the
// unknown commands; the list grows with its pictures.
void Form2::layoutContent()
{
    const int previewHeight = std::max(kPreviewMinHeight, m_pPreview->bmHeight() + 12);
    m_pPreviewFrame->resize(kFieldWidth, previewHeight);
    m_pPreview->setGeometry(0, 0, kFieldWidth, previewHeight);
    m_pTexMessage->move(kMargin, m_pPreviewFrame->geometry().bottom() + 3);
    const int messageHeight = showUnknownTex(m_pTexMessage, *m_pPreview);
    const int imageLabelY = m_pPreviewFrame->geometry().bottom() + 11 + messageHeight;
    m_pImageLabel->move(kMargin, imageLabelY);
    const int tableY = imageLabelY + 22;
    const int tableHeight = (static_cast<int>(m_arrImages.size()) + 1) * kRowHeight + 1;
    m_pImageTable->setGeometry(kMargin, tableY, kFieldWidth, tableHeight);
    setContentHeight(tableY + tableHeight + 12);
}

// ---------------------------------------------------------------- pictures

void Form2::tableViewDidSelectRow(UITableView* tableView, int row)
{
    tableView->deselectRow(row, true);
    if (row != 0)
        return;
    closeKeyboard();
    UITimer::scheduledTimer(kRowActionSeconds, false, this, [this] { openImagePicker(); });
}

void Form2::openImagePicker()
{
    if (UIApplicationDelegate* delegate = UIApplicationDelegate::sharedApplicationDelegate())
        delegate->m_bOpenInCreateMode = m_nViewMode == WIZARD_MODE_NEW;
    UINotificationCenter::defaultCenter().postNotification("openImagePicker", this);
}

void Form2::onCloseImagePicker()
{
    const QString name = QString::fromUtf8(g_sSaveFile, static_cast<int>(qstrnlen(g_sSaveFile, SAVE_FILE_SIZE)));
    if (name.isEmpty())
        return;
    m_arrImages << name;
    layoutContent();
    m_pImageTable->reloadData();
}

void Form2::deleteImageAtRow(int row)
{
    const int index = row - 1;
    if (index < 0 || index >= m_arrImages.size())
        return;
    const QString name = m_arrImages.at(index);
    auto* alert = new UIAlertView(QStringLiteral("Warning!"), QStringLiteral("Do you really want to delete all items?"),
                                  QStringLiteral("YES"), {QStringLiteral("NO")});
    alert->setEscapeButtonIndex(1);  // Esc answers "NO": nothing is deleted
    QPointer<Form2> self(this);
    alert->onClicked = [this, self, index, name](UIAlertView*, int button) {
        if (button != 0 || !self)
            return;
        // The list may have changed while the question was open.
        int at = index < m_arrImages.size() && m_arrImages.at(index) == name ? index
                                                                                : static_cast<int>(m_arrImages.indexOf(name));
        if (at < 0)
            return;
        m_arrImages.removeAt(at);
        layoutContent();
        m_pImageTable->reloadData();
    };
    alert->show();
}

int Form2::tableViewNumberOfRows(UITableView*)
{
    return static_cast<int>(m_arrImages.size()) + 1;
}

UITableViewCell* Form2::tableViewCellForRow(UITableView* tableView, int row)
{
    const bool addRow = row == 0;
    const QString identifier = addRow ? kAddCell : kImageCell;
    UITableViewCell* cell = tableView->dequeueReusableCell(identifier);
    if (!cell)
        cell = new UITableViewCell(identifier);
    QLabel* label = cell->textLabel();
    if (addRow) {
        label->setText(QStringLiteral("Tap here to add a new image"));
        label->setFont(UIStyle::systemFont(14, true));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, UIStyle::tintColor());
        label->setPalette(palette);
        return cell;
    }
    label->setText(m_arrImages.value(row - 1));
    label->setFont(UIStyle::systemFont(13));
    auto* button = cell->contentView()->findChild<UIDeleteButton*>();
    if (!button) {
        button = new UIDeleteButton(cell->contentView());
        button->show();
    }
    button->disconnect(this);
    button->move(kFieldWidth - button->width() - 8, (kRowHeight - button->height()) / 2);
    connect(button, &QAbstractButton::clicked, this, [this, row] { deleteImageAtRow(row); });
    return cell;
}
