#include "ui/UIApplicationDelegate.h"

namespace {
UIApplicationDelegate* g_pApplicationDelegate = nullptr;
}

UIApplicationDelegate* UIApplicationDelegate::sharedApplicationDelegate()
{
    return g_pApplicationDelegate;
}

UIApplicationDelegate::UIApplicationDelegate()
{
    makeShared();
}

UIApplicationDelegate::~UIApplicationDelegate()
{
    if (g_pApplicationDelegate == this)
        g_pApplicationDelegate = nullptr;
}

void UIApplicationDelegate::makeShared()
{
    g_pApplicationDelegate = this;
}
