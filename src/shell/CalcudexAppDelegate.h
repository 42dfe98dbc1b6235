#pragma once
// The application object: brings the system up (resource folder, book copies,
// shared state, Favorites and History, notifications, the window with its
// four tabs and the Favorites editor), switches full-screen mode, runs the
// picture picker for the formula editor, and saves at termination.

#include "shell/TransitionView.h"
#include "ui/UIApplicationDelegate.h"
#include "ui/UITabBarController.h"

#include <QImage>
#include <QObject>
#include <QPointer>

#include <QFileDialog>
class UINavigationController;
class UIViewController;
class UIWindow;
class UIWindowHost;
class CalcudexKeyboardController;
class FormulaViewController;
class FavoritesViewController;
class EditFavoritesViewController;

// Frames saved while full-screen mode is on (window, transition view, tab bar).
struct FrameRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
extern FrameRect g_rWindow;
extern FrameRect g_rTrans;
extern FrameRect g_rTabbar;

class CalcudexAppDelegate : public QObject,
                            public UIApplicationDelegate,
                            public TransitionViewDelegate,
                            public UITabBarControllerDelegate {
    Q_OBJECT
public:
    CalcudexAppDelegate();
    ~CalcudexAppDelegate() override;

    // The one application object, reachable from every screen.
    static CalcudexAppDelegate* sharedDelegate();

    void applicationDidFinishLaunching();
    void applicationWillTerminate();

    void onFullScreen(bool fullScreen) override;
    void onEditFavHis();
    void onFavHis();

    void openImagePicker();
    void imagePickerControllerDidFinishPickingImage(const QImage& image);
    void imagePickerControllerDidCancel();
    int getNextImageId();
    void saveCurrentImageId(int n);

    // Parts of the window, for the screens that need them.
    UIWindow* window = nullptr;
    UITabBarController* m_tabbarCtrler = nullptr;
    UIViewController* m_calculateViewCtrler = nullptr;

    TransitionView* transitionView() const { return m_transitionView; }
    // The desktop window that shows the screen scaled, and the window-wide keys.
    UIWindowHost* windowHost() const { return m_pWindowHost; }
    CalcudexKeyboardController* keyboardController() const { return m_pKeyboardController; }
    FormulaViewController* formulaViewController() const { return m_formulaViewCtrler; }
    FavoritesViewController* favoritesViewController() const { return m_favoritesViewCtrler; }
    EditFavoritesViewController* favoritesEditViewController() const { return m_favoritesEditViewCtrler; }
    UINavigationController* favoritesEditNavigationController() const { return m_navFavoritesEditViewCtrler; }
    QFileDialog* imagePicker() const { return m_pImagePicker; }

private:
    void copyResourceToDocumentFolder();
    void initApplication();
    void initNotifications();
    void cleanupApplication();
    void dismissImagePicker();
    void restoreWindowState();
    void saveWindowState();

    TransitionView* m_transitionView = nullptr;
    FormulaViewController* m_formulaViewCtrler = nullptr;
    UINavigationController* m_navFormulaViewCtrler = nullptr;
    FavoritesViewController* m_favoritesViewCtrler = nullptr;
    UINavigationController* m_navFavoritesViewCtrler = nullptr;
    EditFavoritesViewController* m_favoritesEditViewCtrler = nullptr;
    UINavigationController* m_navFavoritesEditViewCtrler = nullptr;
    UINavigationController* m_navCalculateViewCtrler = nullptr;
    UIViewController* m_moreViewCtrler = nullptr;
    UINavigationController* m_navMoreViewCtrler = nullptr;
    QPointer<QFileDialog> m_pImagePicker;
    UIWindowHost* m_pWindowHost = nullptr;
    CalcudexKeyboardController* m_pKeyboardController = nullptr;
    bool m_bTerminated = false;
};
