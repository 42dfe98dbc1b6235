#pragma once
// A plain screen that shows its tab's title; it holds the place of a tab whose
// screen is not built yet.

#include "ui/UIViewController.h"

class PlaceholderViewController : public UIViewController {
    Q_OBJECT
public:
    PlaceholderViewController(const QString& title, const QString& imageName, int tag, QObject* parent = nullptr);

protected:
    void loadView() override;
};
