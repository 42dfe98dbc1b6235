#include "calc/UIImageControl.h"

#include "ui/UIImage.h"

#include <QMouseEvent>

UIImageControl::UIImageControl(const QRect& frame, QWidget* parent) : QWidget(parent)
{
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    m_pImageView = new UIImageView(this);
    m_pImageView->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pImageView->hide();
}

void UIImageControl::addTarget(QObject* target, std::function<void(UIImageControl*)> action)
{
    m_Target = target;
    m_Action = std::move(action);
}

void UIImageControl::setImage(const QPixmap& image)
{
    m_pixImage = image;
    m_pImageView->setPixmap(image);
    m_pImageView->setGeometry(QRect(QPoint(0, 0), UIImage::logicalSize(image)));
    m_pImageView->setVisible(!image.isNull());
}

void UIImageControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_Target && m_Action) {
        // The action may rebuild the rows; keep a copy while it runs.
        std::function<void(UIImageControl*)> action = m_Action;
        action(this);
    }
    // The touch carries on to the row behind, as on the phone.
    event->ignore();
}
