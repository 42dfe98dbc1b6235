#pragma once
// The application object as the screens see it. The object itself
// (CalcudexAppDelegate) sits above every screen, which reaches it through this
// interface and one global reference, as the phone's screens reach their
// application's delegate. Screens ask it only for what belongs to the window.

class UIApplicationDelegate {
public:
    // The application object; null while there is none.
    static UIApplicationDelegate* sharedApplicationDelegate();

    // Hides the status bar and the tab bar (true) or shows them again.
    virtual void onFullScreen(bool fullScreen) = 0;

    // Set by the formula wizard before it asks for the picture picker: the
    // picked picture goes back to the new-formula wizard (true) or to the
    // edit wizard.
    bool m_bOpenInCreateMode = false;

protected:
    // The object made last is the shared one, until it is destroyed.
    UIApplicationDelegate();
    ~UIApplicationDelegate();

    // Makes this object the shared one again.
    void makeShared();
};
