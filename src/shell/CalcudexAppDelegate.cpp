#include "shell/CalcudexAppDelegate.h"

#include "auxiliary/MoreViewController.h"
#include "browser/EditFavoritesViewController.h"
#include "browser/FavoritesViewController.h"
#include "browser/FormulaViewController.h"
#include "calc/CalculateViewController.h"
#include "editor/NewFormulaViewController.h"
#include "shell/AppStartup.h"
#include "shell/CalcudexKeyboardController.h"
#include "shell/Global.h"
#include "shell/ImageSupport.h"
#include "storage/FavoritesHistory.h"
#include "ui/GlobalDisplay.h"
#include "ui/UIAlertView.h"
#include "ui/UIImage.h"
#include "ui/UILogging.h"
#include "ui/UINavigationController.h"
#include "ui/UINotificationCenter.h"
#include "ui/UITimer.h"
#include "ui/UIWindow.h"
#include "ui/UIWindowHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QFileDialog>
#include <QImageReader>
#include <QStandardPaths>
#include <cstdio>

FrameRect g_rWindow;
FrameRect g_rTrans;
FrameRect g_rTabbar;

namespace {

CalcudexAppDelegate* g_pAppDelegate = nullptr;

constexpr double kTransitionSeconds = 0.3;
constexpr double kPickerReleaseSeconds = 3.0;

QRect toQRect(const FrameRect& r)
{
    return QRect(r.x, r.y, r.width, r.height);
}

FrameRect toFrameRect(const QRect& r)
{
    return FrameRect{r.x(), r.y(), r.width(), r.height()};
}

// The window's size and state, saved at termination beside the session.
QString windowStatePath()
{
    return QString::fromStdString(getDocumentsFolder()) + QStringLiteral("/WindowState.sav");
}

// The program's icon, in the sizes the artwork generator painted into the
// icon theme folder beside the resource folder (share/icons/hicolor).
QIcon applicationIcon()
{
    QIcon icon;
    const QDir theme(QString::fromStdString(g_sAppPath) + QStringLiteral("/../icons/hicolor"));
    for (const QString& size : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = theme.filePath(size + QStringLiteral("/apps/calcudex.png"));
        if (QFile::exists(file))
            icon.addFile(file);
    }
    return icon;
}

} // namespace

CalcudexAppDelegate::CalcudexAppDelegate()
{
    g_pAppDelegate = this;
}

CalcudexAppDelegate::~CalcudexAppDelegate()
{
    UINotificationCenter::defaultCenter().removeObserver(this);
    delete m_pImagePicker.data();
    // The editor's stack belongs to no tab, and the window owns the rest.
    if (m_navFavoritesEditViewCtrler && !m_navFavoritesEditViewCtrler->view()->parentWidget())
        delete m_navFavoritesEditViewCtrler;
    delete m_tabbarCtrler;
    // The host lets go of the screen before either goes.
    delete m_pWindowHost;
    delete window;
    if (g_pAppDelegate == this)
        g_pAppDelegate = nullptr;
}

CalcudexAppDelegate* CalcudexAppDelegate::sharedDelegate()
{
    return g_pAppDelegate;
}

void CalcudexAppDelegate::applicationDidFinishLaunching()
{
    UIInstallDiagnosticSink();
    initAppPaths();
    UIImage::setResourcePath(QString::fromStdString(g_sAppPath));
    g_pAppDelegate = this;
    makeShared();

    copyResourceToDocumentFolder();
    initApplication();
    initNotifications();

    window = new UIWindow;
    window->setWindowTitle(QStringLiteral("Calcudex"));
    m_transitionView = new TransitionView(window);
    m_transitionView->setGeometry(window->applicationFrame());
    m_transitionView->delegate = this;

    m_formulaViewCtrler = new FormulaViewController;
    m_navFormulaViewCtrler = new UINavigationController(m_formulaViewCtrler);
    m_favoritesViewCtrler = new FavoritesViewController;
    m_navFavoritesViewCtrler = new UINavigationController(m_favoritesViewCtrler);
    m_favoritesEditViewCtrler = new EditFavoritesViewController;
    m_navFavoritesEditViewCtrler = new UINavigationController(m_favoritesEditViewCtrler);
    m_calculateViewCtrler = new CalculateViewController;
    m_navCalculateViewCtrler = new UINavigationController(m_calculateViewCtrler);
    auto* more = new MoreViewController;
    more->makeNewFormulaViewController = [] { return new NewFormulaViewController; };
    m_moreViewCtrler = more;
    m_navMoreViewCtrler = new UINavigationController(m_moreViewCtrler);

    m_tabbarCtrler = new UITabBarController;
    m_tabbarCtrler->setViewControllers({m_navFormulaViewCtrler, m_navFavoritesViewCtrler, m_navCalculateViewCtrler, m_navMoreViewCtrler});
    m_tabbarCtrler->setDelegate(this);
    m_tabbarCtrler->setHidesBottomBarWhenPushed(true);
    m_tabbarCtrler->setSelectedIndex(0);

    QWidget* tabView = m_tabbarCtrler->view();
    tabView->setParent(m_transitionView);
    tabView->setGeometry(m_transitionView->rect());
    tabView->show();
    m_tabbarCtrler->viewWillAppear(false);

    window->setStatusBarHidden(false);
    m_pWindowHost = new UIWindowHost(window);
    m_pWindowHost->setWindowIcon(applicationIcon());
    restoreWindowState();
    m_pKeyboardController = new CalcudexKeyboardController(this, m_pWindowHost);
    window->makeKeyAndVisible();
    m_tabbarCtrler->focusShownScreen();

    QObject::connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { applicationWillTerminate(); });
}

void CalcudexAppDelegate::copyResourceToDocumentFolder()
{
    ::copyResourceToDocumentFolder();
}

void CalcudexAppDelegate::initApplication()
{
    g_sFormulasFolder.clear();
    g_sOutputMode = "English (US)";
    initDisplayGlobals();
    loadFavoritesAndHistory();
}

void CalcudexAppDelegate::initNotifications()
{
    UINotificationCenter& center = UINotificationCenter::defaultCenter();
    center.addObserver(this, "FavoritesToEditFavorites", nullptr, [this](const UINotification&) { onEditFavHis(); });
    center.addObserver(this, "EditFavoritesToFavorites", nullptr, [this](const UINotification&) { onFavHis(); });
    center.addObserver(this, "openImagePicker", nullptr, [this](const UINotification&) { openImagePicker(); });
}

// ---------------------------------------------------------------- Favorites editor swap

void CalcudexAppDelegate::onEditFavHis()
{
    if (m_transitionView->isTransitioning())
        return;
    QWidget* editor = m_navFavoritesEditViewCtrler->view();
    m_navFavoritesEditViewCtrler->viewWillAppear(true);
    m_transitionView->replaceSubview(m_tabbarCtrler->view(), editor, TransitionView::Push, TransitionView::FromLeft,
                                     kTransitionSeconds);
    m_navFavoritesEditViewCtrler->focusShownScreen();
}

void CalcudexAppDelegate::onFavHis()
{
    if (m_transitionView->isTransitioning())
        return;
    m_tabbarCtrler->viewWillAppear(true);
    m_transitionView->replaceSubview(m_navFavoritesEditViewCtrler->view(), m_tabbarCtrler->view(), TransitionView::Push,
                                     TransitionView::FromLeft, kTransitionSeconds);
    m_tabbarCtrler->focusShownScreen();
}

// ---------------------------------------------------------------- full-screen mode

void CalcudexAppDelegate::onFullScreen(bool fullScreen)
{
    QWidget* tabView = m_tabbarCtrler->view();
    if (fullScreen) {
        window->setStatusBarHidden(true);
        g_rWindow = toFrameRect(QRect(QPoint(0, 0), window->size()));
        g_rTrans = toFrameRect(m_transitionView->geometry());
        g_rTabbar = toFrameRect(tabView->geometry());
        const QRect screen(0, 0, UIWindow::kScreenWidth, UIWindow::kScreenHeight);
        m_transitionView->setGeometry(screen);
        tabView->setGeometry(screen);
    } else {
        window->setStatusBarHidden(false);
        // The desktop window keeps its place; only the screen-sized frames move.
        m_transitionView->setGeometry(toQRect(g_rTrans));
        tabView->setGeometry(toQRect(g_rTabbar));
    }
    window->statusBar()->raise();
}

// ---------------------------------------------------------------- window size

void CalcudexAppDelegate::restoreWindowState()
{
    QFile file(windowStatePath());
    if (file.open(QIODevice::ReadOnly) && file.size() < 4096)
        m_pWindowHost->restoreState(file.readAll());
}

void CalcudexAppDelegate::saveWindowState()
{
    if (!m_pWindowHost)
        return;
    QSaveFile file(windowStatePath());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(m_pWindowHost->saveState());
        file.commit();
    }
}

// ---------------------------------------------------------------- image picker

void CalcudexAppDelegate::openImagePicker()
{
    if (m_pImagePicker)
        return;
    auto* picker = new QFileDialog(window, QStringLiteral("Choose a Picture"),
                                   QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                                   QStringLiteral("Images (*.png *.jpg *.jpeg *.bmp *.gif)"));
    picker->setOption(QFileDialog::DontUseNativeDialog);
    // A dialog of its own on the desktop, not a part of the scaled screen.
    picker->setWindowFlag(Qt::BypassGraphicsProxyWidget);
    picker->setFileMode(QFileDialog::ExistingFile);
    picker->setAcceptMode(QFileDialog::AcceptOpen);
    picker->setWindowModality(Qt::WindowModal);
    m_pImagePicker = picker;
    connect(picker, &QFileDialog::fileSelected, this, [this](const QString& path) {
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (image.isNull()) {
            imagePickerControllerDidCancel();
            auto* alert = new UIAlertView(QStringLiteral("Warning!"), QStringLiteral("The picture could not be read!"),
                                          QStringLiteral("OK"));
            alert->show();
            return;
        }
        imagePickerControllerDidFinishPickingImage(image);
    });
    connect(picker, &QFileDialog::rejected, this, [this] { imagePickerControllerDidCancel(); });
    picker->open();
}

void CalcudexAppDelegate::imagePickerControllerDidFinishPickingImage(const QImage& image)
{
    const int n = getNextImageId();
    std::snprintf(g_sSaveFile, SAVE_FILE_SIZE, "UserDefineImage_%d.png", n);
    const QString path = QString::fromStdString(getDocumentsFolder()) + QStringLiteral("/Image/") + QString::fromUtf8(g_sSaveFile);
    if (!savePNGImage(image, path)) {
        // Nothing was stored: the id stays free and the wizard is not told of a file that does not exist.
        g_sSaveFile[0] = '\0';
        dismissImagePicker();
        auto* alert = new UIAlertView(QStringLiteral("Warning!"), QStringLiteral("The picture could not be saved!"),
                                      QStringLiteral("OK"));
        alert->show();
        return;
    }
    saveCurrentImageId(n);
    UINotificationCenter::defaultCenter().postNotification(m_bOpenInCreateMode ? "closeImagePicker" : "closeImagePickerEdit", this);
    dismissImagePicker();
}

void CalcudexAppDelegate::imagePickerControllerDidCancel()
{
    if (!m_pImagePicker)
        return;
    QFileDialog* picker = m_pImagePicker;
    m_pImagePicker = nullptr;
    picker->hide();
    picker->deleteLater();
}

void CalcudexAppDelegate::dismissImagePicker()
{
    if (!m_pImagePicker)
        return;
    QFileDialog* picker = m_pImagePicker;
    m_pImagePicker = nullptr;
    picker->hide();
    // Released a little later, after the dialog has finished closing.
    UITimer::scheduledTimer(kPickerReleaseSeconds, false, picker, [picker] { picker->deleteLater(); });
}

int CalcudexAppDelegate::getNextImageId()
{
    return ::getNextImageId();
}

void CalcudexAppDelegate::saveCurrentImageId(int n)
{
    ::saveCurrentImageId(n);
}

// ---------------------------------------------------------------- termination

void CalcudexAppDelegate::applicationWillTerminate()
{
    cleanupApplication();
}

void CalcudexAppDelegate::cleanupApplication()
{
    if (m_bTerminated)
        return;
    m_bTerminated = true;
    saveFavoritesAndHistory();
    saveWindowState();
    // What is typed in the calculation rows survives a quit from that screen too.
    if (auto* calculate = qobject_cast<CalculateViewController*>(m_calculateViewCtrler))
        calculate->saveLines();
    if (m_formulaViewCtrler)
        m_formulaViewCtrler->saveCurrentSession();
}
