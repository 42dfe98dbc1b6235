#include "calc/FormulaKeyboardView.h"

#include "ui/UIImage.h"
#include "ui/UITimer.h"

#include <QMouseEvent>
#include <QPainter>

using namespace keypad;

namespace {

// Order of the background images in m_arrImages, after the three strips.
constexpr int kImageBig = 3;
constexpr int kImageNormal = 4;
constexpr int kImageFunction = 5;

// A part of an image given in points.
QPixmap cropLogical(const QPixmap& image, const BUTTON_RECT& r)
{
    return UIImage::part(image, QRectF(r.x, r.y, r.width, r.height));
}

} // namespace

// ---------------------------------------------------------------- FormulaKeyboardButton

FormulaKeyboardButton::FormulaKeyboardButton(int nNumber, const QRect& frame, QWidget* parent)
    : QWidget(parent), m_nNumber(nNumber)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    setProperty("tag", tag());
}

void FormulaKeyboardButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    UIImage::draw(p, QRectF(rect()), m_pixBackground);
    // The face moves down a little with the pressed key.
    UIImage::draw(p, QRectF(rect()).translated(0, m_bShowsPressed ? 1 : 0), m_pixFace);
}

void FormulaKeyboardButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_bTracking = true;
    m_bInside = true;
    emit touchDown(this);
}

void FormulaKeyboardButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bTracking)
        return;
    const bool bInside = rect().contains(event->position().toPoint());
    if (m_bInside && !bInside)
        emit touchEndedElsewhere(this);  // dragged off the key
    m_bInside = bInside;
}

void FormulaKeyboardButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_bTracking || event->button() != Qt::LeftButton)
        return;
    m_bTracking = false;
    if (rect().contains(event->position().toPoint()))
        emit touchUpInside(this);
    emit touchEndedElsewhere(this);
}

void FormulaKeyboardButton::hideEvent(QHideEvent*)
{
    // A key that leaves the screen under the finger is cancelled.
    if (m_bTracking) {
        m_bTracking = false;
        emit touchEndedElsewhere(this);
    }
}

// ---------------------------------------------------------------- FormulaKeyboardView

FormulaKeyboardView::FormulaKeyboardView(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    m_pixBackground = UIImage::imageNamed(QStringLiteral("background.png"));
    m_touchCycle.setMode(0);
    initImages();
    createButtons();
}

FormulaKeyboardView::~FormulaKeyboardView()
{
    stopTimers();
}

void FormulaKeyboardView::initImages()
{
    m_arrImages.clear();
    for (const char* pszName : g_arrKeyboardImageNames)
        m_arrImages << UIImage::imageNamed(QString::fromLatin1(pszName));
}

QPixmap FormulaKeyboardView::backgroundHalf(int nButtonID, bool bPressed) const
{
    const int nImage = nButtonID == BUTTON_STYLE_BIG        ? kImageBig
                       : nButtonID == BUTTON_STYLE_FUNCTION ? kImageFunction
                                                            : kImageNormal;
    const QPixmap& image = m_arrImages.value(nImage);
    const QSize size = UIImage::logicalSize(image);
    return cropLogical(image, BackgroundHalfRect(static_cast<float>(size.width()),
                                                 static_cast<float>(size.height()), bPressed));
}

QPixmap FormulaKeyboardView::faceOf(int nButton) const
{
    const QPixmap& strip = m_arrImages.value(m_touchCycle.mode());
    const QSize size = UIImage::logicalSize(strip);
    const BUTTON_INFO& info = m_touchCycle.button(nButton);
    return cropLogical(strip, GlyphCellRect(static_cast<float>(size.width()), static_cast<float>(size.height()),
                                            info.nImagePosID, nButton == 0));
}

void FormulaKeyboardView::createButtons()
{
    for (int k = 0; k < KEYBOARD_BUTTONS; ++k) {
        if (IsShownButton(k))
            addOneButton(k, m_touchCycle.button(k));
    }
}

void FormulaKeyboardView::addOneButton(int nNumber, const BUTTON_INFO& info)
{
    const QRect frame = QRectF(info.rcRect.x, info.rcRect.y, info.rcRect.width, info.rcRect.height).toRect();
    auto* button = new FormulaKeyboardButton(nNumber, frame, this);
    button->setBackground(backgroundHalf(info.nButtonID, false));
    button->setFace(faceOf(nNumber));
    connect(button, &FormulaKeyboardButton::touchDown, this, &FormulaKeyboardView::setImageForEvenTouchDown);
    connect(button, &FormulaKeyboardButton::touchUpInside, this, &FormulaKeyboardView::pressButton);
    connect(button, &FormulaKeyboardButton::touchEndedElsewhere, this, &FormulaKeyboardView::setImageForEvenOther);
    m_arrButtons << button;
}

FormulaKeyboardButton* FormulaKeyboardView::button(int nNumber) const
{
    for (FormulaKeyboardButton* button : m_arrButtons)
        if (button->number() == nNumber)
            return button;
    return nullptr;
}

void FormulaKeyboardView::refreshFaces()
{
    for (FormulaKeyboardButton* button : m_arrButtons)
        button->setFace(faceOf(button->number()));
}

void FormulaKeyboardView::switchKeyboard()
{
    m_touchCycle.setMode(NextKeyboard(m_touchCycle.mode()));
    refreshFaces();
}

void FormulaKeyboardView::paintEvent(QPaintEvent*)
{
    if (m_pixBackground.isNull())
        return;
    QPainter p(this);
    UIImage::draw(p, QRectF(0, 0, kPanelWidth, kPanelHeight), m_pixBackground);
}

// ---------------------------------------------------------------- touch cycle

void FormulaKeyboardView::send(int nCode)
{
    if (nCode != KeyboardTouchCycle::NO_CODE && m_eventReceiver)
        m_eventReceiver->keyPressed(nCode);
}

void FormulaKeyboardView::stopTimers()
{
    if (m_timerTrigger)
        m_timerTrigger->invalidate();
    if (m_timerRepeater)
        m_timerRepeater->invalidate();
    m_timerTrigger = nullptr;
    m_timerRepeater = nullptr;
}

void FormulaKeyboardView::setImageForEvenTouchDown(FormulaKeyboardButton* button)
{
    // A new touch forgets whatever an earlier one left running.
    stopTimers();
    m_touchCycle.touchDown(button->number());
    button->setBackground(backgroundHalf(m_touchCycle.button(button->number()).nButtonID, true));
    button->setShowingPressed(true);
    m_timerTrigger = UITimer::scheduledTimer(HOLD_DELAY_MS / 1000.0, false, this, [this] { triggerOn(); });
}

void FormulaKeyboardView::triggerOn()
{
    if (m_timerTrigger)
        m_timerTrigger->invalidate();
    m_timerTrigger = nullptr;
    const bool bRepeats = m_touchCycle.triggerOn();
    m_timerRepeater = UITimer::scheduledTimer(REPEAT_INTERVAL_MS / 1000.0, bRepeats, this, [this] { keyRepeats(); });
}

void FormulaKeyboardView::keyRepeats()
{
    send(m_touchCycle.keyRepeats());
}

void FormulaKeyboardView::pressButton(FormulaKeyboardButton* button)
{
    if (m_touchCycle.currentKeyId() != button->number())
        return;
    const int nMode = m_touchCycle.mode();
    const int nCode = m_touchCycle.touchUpInside();
    if (m_touchCycle.mode() != nMode)
        refreshFaces();  // the switch key
    else
        send(nCode);
}

void FormulaKeyboardView::setImageForEvenOther(FormulaKeyboardButton* button)
{
    stopTimers();
    button->setBackground(backgroundHalf(m_touchCycle.button(button->number()).nButtonID, false));
    button->setShowingPressed(false);
}
