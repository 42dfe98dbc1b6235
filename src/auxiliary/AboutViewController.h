#pragma once
// The About page: the product's name and version, and who made it.

#include "ui/UIViewController.h"

class QLabel;

class AboutViewController : public UIViewController {
    Q_OBJECT
public:
    explicit AboutViewController(QObject* parent = nullptr);
    ~AboutViewController() override;

    QLabel* productNameLabel() const { return m_lblProductName; }
    QLabel* aboutInfoLabel() const { return m_lblAboutInfo; }

protected:
    void loadView() override;

private:
    QLabel* m_lblProductName = nullptr;
    QLabel* m_lblAboutInfo = nullptr;
};
