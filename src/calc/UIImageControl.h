#pragma once
// A plain tappable view with a target and an action: a touch that begins on
// it calls the action with the control, then goes on to the views behind as
// any touch would. The calculation rows use one as the tick box of each
// parameter; the tick image is a child image view, the control itself draws
// nothing.

#include "ui/UIImage.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>

class UIImageControl : public QWidget {
    Q_OBJECT
public:
    explicit UIImageControl(const QRect& frame = QRect(), QWidget* parent = nullptr);

    // The target is not owned; the action runs only while it exists.
    void addTarget(QObject* target, std::function<void(UIImageControl*)> action);

    // The image shown inside the control, drawn at its own size in the top left.
    void setImage(const QPixmap& image);
    QPixmap image() const { return m_pixImage; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPointer<QObject> m_Target;
    std::function<void(UIImageControl*)> m_Action;
    UIImageView* m_pImageView = nullptr;
    QPixmap m_pixImage;
};
