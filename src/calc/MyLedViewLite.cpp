#include "calc/MyLedViewLite.h"

#include "calc/LedTextRules.h"
#include "shell/Global.h"
#include "ui/UIImage.h"
#include "ui/UIStyle.h"
#include "ui/UIView.h"
#include "ui/UITimer.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// "Verdana" of the phone; DejaVu Sans is the face the window uses for it.
const QString kInputFontFamily = QStringLiteral("DejaVu Sans");

QColor colourOf(led::LED_COLOR_CLASS cls)
{
    const led::LED_RGB rgb = led::ColorOfClass(cls);
    return QColor::fromRgbF(rgb.r, rgb.g, rgb.b);
}

QRectF toQRectF(const LED_RECT& r)
{
    return QRectF(r.x, r.y, r.width, r.height);
}

} // namespace

MyLedViewLite::MyLedViewLite(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    setGeometry(frame);
    initImages();
    initSizes();
    initData();
}

MyLedViewLite::~MyLedViewLite()
{
    stopTouchHoldTimer();
}

void MyLedViewLite::initImages()
{
    _leftArrowImage = UIImage::imageNamed(QStringLiteral("arrow_left.png"));
    _rightArrowImage = UIImage::imageNamed(QStringLiteral("arrow_right.png"));
}

void MyLedViewLite::initSizes()
{
    m_model.initSizes(static_cast<float>(width()), static_cast<float>(height()));
    const float fTextHeight = m_model.region(LED_REGION_TEXT).height;
    _fontInputExpStr = QFont(kInputFontFamily);
    _fontInputExpStr.setPixelSize(std::max(8, qRound(0.5f * fTextHeight + 7.0f)));
    const QFontMetricsF fm(_fontInputExpStr);
    // Characters are drawn one by one, so a token is as wide as its characters.
    m_model.setMeasure([fm](const std::u16string& strToken) {
        float fWidth = 0.0f;
        for (char16_t c : strToken)
            fWidth += static_cast<float>(fm.horizontalAdvance(QChar(c)));
        return fWidth;
    });
    m_model.UpdateVisibleWindow();
}

void MyLedViewLite::initData()
{
    m_model.setOutputMode(g_sOutputMode.empty() ? std::string(led::kOutputModeEnglishUS) : g_sOutputMode);
    m_model.Clear();
    m_nCurCommandInput = -1;
}

void MyLedViewLite::resizeEvent(QResizeEvent*)
{
    initSizes();
}

// ---------------------------------------------------------------- content

bool MyLedViewLite::InputCommand(int nKeyCode)
{
    const bool bDone = m_model.InputCommand(nKeyCode);
    m_model.UpdateVisibleWindow();
    update();
    emit contentChanged();
    return bDone;
}

void MyLedViewLite::Clear()
{
    m_model.Clear();
    update();
    emit contentChanged();
}

void MyLedViewLite::CaretToStart()
{
    m_model.CaretToStart();
    m_model.UpdateVisibleWindow();
    update();
}

bool MyLedViewLite::InsertString(const QString& strText, bool bClear)
{
    const bool bDone = m_model.InsertString(strText.toStdU16String(), bClear);
    m_model.UpdateVisibleWindow();
    update();
    emit contentChanged();
    return bDone;
}

bool MyLedViewLite::setString(const QString& strText)
{
    const bool bDone = m_model.setString(strText.toStdU16String());
    m_model.UpdateVisibleWindow();
    update();
    emit contentChanged();
    return bDone;
}

QString MyLedViewLite::OutputParsedString()
{
    return QString::fromStdU16String(m_model.OutputParsedString());
}

QString MyLedViewLite::text() const
{
    return QString::fromStdU16String(m_model.content().strMutRawInput);
}

QStringList MyLedViewLite::tokens() const
{
    QStringList list;
    for (const std::u16string& strToken : m_model.Tokens())
        list << QString::fromStdU16String(strToken);
    return list;
}

// ---------------------------------------------------------------- data file

bool MyLedViewLite::SaveData(const QString& strPath) const
{
    return m_model.SaveData(strPath.toStdString());
}

bool MyLedViewLite::LoadData(const QString& strPath)
{
    const bool bLoaded = m_model.LoadData(strPath.toStdString());
    if (bLoaded) {
        m_model.UpdateVisibleWindow();
        update();
        emit contentChanged();
    }
    return bLoaded;
}

bool MyLedViewLite::SetRawInputString(const unsigned char* pBlock, size_t nSize)
{
    const bool bLoaded = m_model.SetRawInputString(pBlock, nSize);
    if (bLoaded) {
        m_model.UpdateVisibleWindow();
        update();
        emit contentChanged();
    }
    return bLoaded;
}

void MyLedViewLite::saveData()
{
    SaveData(QString::fromStdString(LedDataFilePath(getDocumentsFolder(), m_nId)));
}

void MyLedViewLite::loadData()
{
    LoadData(QString::fromStdString(LedDataFilePath(getDocumentsFolder(), m_nId)));
}

// ---------------------------------------------------------------- state

void MyLedViewLite::setSelectedState(bool bSelected)
{
    blSelected = bSelected;
    update();
}

void MyLedViewLite::setUserInteractionEnabled(bool bEnabled)
{
    m_bUserInteraction = bEnabled;
    setAttribute(Qt::WA_TransparentForMouseEvents, !bEnabled);
    // A fixed value takes no typing: the keyboard passes it by.
    setFocusPolicy(bEnabled ? Qt::StrongFocus : Qt::NoFocus);
    if (!bEnabled) {
        stopTouchHoldTimer();
        m_typing.Reset();
        if (hasFocus())
            UIResignFocus(this);
    }
}

// ---------------------------------------------------------------- touches

void MyLedViewLite::stopTouchHoldTimer()
{
    if (_touchHoldTimer)
        _touchHoldTimer->invalidate();
    _touchHoldTimer = nullptr;
}

void MyLedViewLite::onHoldTouchTimer()
{
    if (m_nCurCommandInput >= 0)
        InputCommand(m_nCurCommandInput);
}

void MyLedViewLite::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_bUserInteraction) {
        event->ignore();
        return;
    }
    if (!blSelected && m_pDelegate)
        m_pDelegate->selectedMyLedViewLite(this);
    const QPointF point = event->position();
    _curPointTouch = point;
    _FirstTouchBeginPoint = point;
    m_bLButtonDown = true;

    m_model.UpdateVisibleWindow();
    const float x = static_cast<float>(point.x());
    const float y = static_cast<float>(point.y());
    if (m_model.region(LED_REGION_TEXT).Contains(x, y)) {
        m_model.MoveCaretToPoint(x);
        m_model.UpdateVisibleWindow();
        update();
    }
    const int nKey = m_model.ArrowKeyAt(x, y);
    if (nKey >= 0) {
        m_nCurCommandInput = nKey;
        if (!_touchHoldTimer)
            _touchHoldTimer = UITimer::scheduledTimer(kArrowRepeatSeconds, true, this, [this] { onHoldTouchTimer(); });
    }
}

void MyLedViewLite::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bLButtonDown)
        return;
    const QPointF point = event->position();
    if (m_model.ScrollByDrag(static_cast<float>(point.x() - _curPointTouch.x()))) {
        _curPointTouch = point;
        m_model.UpdateVisibleWindow();
        update();
    }
}

void MyLedViewLite::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_bLButtonDown)
        return;
    m_bLButtonDown = false;
    stopTouchHoldTimer();
    m_nCurCommandInput = -1;
    m_model.UpdateVisibleWindow();
    const int nKey = m_model.ArrowKeyAt(static_cast<float>(_FirstTouchBeginPoint.x()),
                                        static_cast<float>(_FirstTouchBeginPoint.y()));
    if (nKey >= 0)
        InputCommand(nKey);
    event->accept();
}

void MyLedViewLite::hideEvent(QHideEvent*)
{
    // A line that leaves the screen under the finger gets no release: the
    // arrow must not go on repeating.
    m_bLButtonDown = false;
    m_nCurCommandInput = -1;
    stopTouchHoldTimer();
}

// ---------------------------------------------------------------- drawing

void MyLedViewLite::paintEvent(QPaintEvent*)
{
    m_model.UpdateVisibleWindow();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawLEDContent(painter);
}

void MyLedViewLite::DrawLEDContent(QPainter& painter)
{
    // The display: a white rounded panel with a black outline.
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath panel;
    panel.addRoundedRect(frame, 8, 8);
    painter.fillPath(panel, Qt::white);
    // The line that has the keyboard shows it with a coloured outline.
    if (hasFocus())
        painter.setPen(QPen(UIStyle::tintColor(), 2));
    else if (m_bKeyboardHint)
        painter.setPen(QPen(UIStyle::tintColor(), 1.5, Qt::DashLine));
    else
        painter.setPen(QPen(Qt::black, 1));
    painter.drawPath(panel);

    const _FULL_EXPRESSION_INPUT& in = m_model.content();
    const QRectF textArea = toQRectF(m_model.region(LED_REGION_TEXT));
    const QFontMetricsF fm(_fontInputExpStr);
    painter.setFont(_fontInputExpStr);
    const std::vector<led::LED_COLOR_CLASS> classes = led::ClassifyLedCharacters(in.strMutRawInput);

    const int nCount = m_model.TokenCount();
    const int nEnd = std::min(in.iEndIndexVisPart, nCount - 1);
    const QColor caretColour = QColor::fromRgbF(0.5, 0.0, 1.0);
    const bool bShowCaret = blSelected && m_bShowCaret;
    qreal x = textArea.left();
    qreal fCaretX = in.iCaretIndex <= in.iBeginIndexVisPart ? x : -1;
    for (int k = in.iBeginIndexVisPart; k <= nEnd && k >= 0; ++k) {
        const qreal tokenLeft = x;
        const int nLoc = in.arrObjLoc[k];
        for (int j = 0; j < in.arrObjLen[k]; ++j) {
            const QChar c(in.strMutRawInput[static_cast<size_t>(nLoc + j)]);
            const qreal w = fm.horizontalAdvance(c);
            const QRectF box(x, textArea.top(), w, textArea.height());
            painter.save();
            painter.setClipRect(box.intersected(textArea));
            painter.setPen(colourOf(classes[static_cast<size_t>(nLoc + j)]));
            painter.drawText(box, Qt::AlignCenter, QString(c));
            painter.restore();
            x += w;
        }
        if (k + 1 == in.iCaretIndex)
            fCaretX = x;
        if (bShowCaret && k == in.iCaretIndex) {
            painter.setPen(QPen(caretColour, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(tokenLeft, textArea.top() + 3, x - tokenLeft, textArea.height() - 6));
        }
    }
    if (bShowCaret && in.iCaretIndex >= nCount) {
        // After the last token the caret is a narrow block.
        const qreal w = fm.horizontalAdvance(QLatin1Char('8')) * 2.0 / 3.0;
        painter.setPen(QPen(caretColour, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(x, textArea.top() + 3, w, textArea.height() - 6));
    }

    auto drawArrow = [&painter](const QPixmap& image, const QRectF& area) {
        if (image.isNull())
            return;
        const QSizeF size = UIImage::logicalSize(image);
        UIImage::draw(painter, QRectF(area.center().x() - size.width() / 2, area.center().y() - size.height() / 2,
                                      size.width(), size.height()),
                      image);
    };
    if (m_model.HasHiddenLeft())
        drawArrow(_leftArrowImage, toQRectF(m_model.region(LED_REGION_LEFT_ARROW)));
    if (m_model.HasHiddenRight())
        drawArrow(_rightArrowImage, toQRectF(m_model.region(LED_REGION_RIGHT_ARROW)));
    if (m_typing.IsPending() && fCaretX >= 0)
        DrawPendingTyping(painter, fCaretX);
}
