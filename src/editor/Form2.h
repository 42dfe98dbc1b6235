#pragma once
// Step 2 of the formula wizard: the formula in TeX with a live preview, and
// the list of illustrating pictures. The first row of the list opens the
// picture picker; every picture row has a "Delete" button.

#include "editor/FormPage.h"
#include "editor/FormulaWizard.h"
#include "ui/UITableView.h"

#include <QStringList>

class MIMEView;
class UIRoundRectView;
class UIxTextField;

class Form2 : public FormPage, public UITableViewDataSource, public UITableViewDelegate {
    Q_OBJECT
public:
    // The hint above the TeX field, and the formula the preview first shows.
    static const char* const kExampleTex;

    Form2(const QRect& frame, UIPagingScrollView* pager, int nViewMode, QWidget* parent);
    ~Form2() override;

    void setFormInfo(const FORM2_INFO& info);
    void getFormInfo(FORM2_INFO& info) const;

    UIxTextField* texField() const { return m_pTexField; }
    MIMEView* preview() const { return m_pPreview; }
    // "Unknown TeX command: \foo" under the preview, hidden while the TeX has none.
    QLabel* texMessage() const { return m_pTexMessage; }
    UITableView* imageTable() const { return m_pImageTable; }
    QStringList images() const { return m_arrImages; }

    // The picture picker has stored a picture under g_sSaveFile.
    void onCloseImagePicker();
    // Asks before the picture of that row goes.
    void deleteImageAtRow(int row);

    int tableViewNumberOfRows(UITableView*) override;
    UITableViewCell* tableViewCellForRow(UITableView*, int row) override;
    int tableViewHeightForRow(UITableView*, int) override { return kRowHeight; }
    void tableViewDidSelectRow(UITableView*, int row) override;

private:
    static constexpr int kRowHeight = 40;
    void renderPreview();
    void layoutContent();
    void openImagePicker();

    int m_nViewMode;
    UIxTextField* m_pTexField;
    QLabel* m_pPreviewLabel;
    UIRoundRectView* m_pPreviewFrame;
    MIMEView* m_pPreview;
    QLabel* m_pTexMessage;
    QLabel* m_pImageLabel;
    UITableView* m_pImageTable;
    QStringList m_arrImages;
};
