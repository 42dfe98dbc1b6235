// The shell's and the browser's small widgets: the TeX view, the transition
// view, the image helpers, the touch guard and the browser row view.

#include "browser/FormulaContentView.h"
#include "shell/ImageSupport.h"
#include "shell/SafeTouchesView.h"
#include "shell/TransitionView.h"
#include "ui/GlobalDisplay.h"
#include "ui/MIMEView.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A raster `width` x `height` with the given ink pixels.
std::vector<std::uint8_t> raster(int width, int height, const QList<QPoint>& ink)
{
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(width / 8 * height), 0);
    for (const QPoint& p : ink)
        bits[static_cast<std::size_t>(p.y() * (width / 8) + p.x() / 8)] |= static_cast<std::uint8_t>(1u << (p.x() % 8));
    return bits;
}

QList<QPoint> blackPixels(QWidget* view)
{
    const QImage image = view->grab().toImage();
    QList<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 60)
                points << QPoint(x, y);
    return points;
}

// A white host, so that the clear TeX view shows ink as black on white.
class WhiteHost : public QWidget {
public:
    WhiteHost()
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }
};

class TransitionRecorder : public TransitionViewDelegate {
public:
    QStringList events;
    void transitionViewDidStart(TransitionView*) override { events << "start"; }
    void transitionViewDidFinish(TransitionView*) override { events << "finish"; }
    void transitionViewDidCancel(TransitionView*) override { events << "cancel"; }
};

} // namespace

class TestShellWidgets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initDisplayGlobals(); }
    void mimeViewPlacesImageByAlignment();
    void mimeViewDrawsBitsLeastSignificantFirst();
    void mimeViewEmptiesOnReleaseAndOnFailure();
    void mimeViewIsSharpWhenScaled();
    void mimeViewNamesUnknownCommands();
    void mimeViewRendersTex();
    void transitionReplacesViewInPlace();
    void transitionIgnoresRequestWhileRunning();
    void cancelledTransitionTellsDelegate();
    void savePNGImageCreatesFoldersAndReplacesWhole();
    void createSubImageClipsToImage();
    void drawRoundRectFillsInsideOnly();
    void safeTouchesViewIgnoresFirstHalfSecond();
    void contentViewMeasuresWithCharacterTable();
    void contentViewKeepsSizeForEmptyContent();
};

void TestShellWidgets::mimeViewPlacesImageByAlignment()
{
    MIMEView view(QRect(0, 0, 300, 40));
    QVERIFY(view.setRaster(104, 20, raster(104, 20, {})));
    view.setBmWidth(100); // the width the placement works from
    const struct {
        int alignment;
        QPoint origin;
    } cases[] = {{0, {10, 10}}, {2, {198, 10}}, {1, {100, 10}}, {-3, {100, 10}}};
    for (const auto& c : cases) {
        view.setAlignment(c.alignment);
        QCOMPARE(view.imageOrigin(), c.origin);
    }
    view.resize(300, 25);
    QCOMPARE(view.imageOrigin().y(), 2); // (25 - 20) / 2 cut toward zero
}

void TestShellWidgets::mimeViewDrawsBitsLeastSignificantFirst()
{
    WhiteHost host;
    host.resize(100, 40);
    auto* view = new MIMEView(QRect(0, 0, 100, 40), &host);
    QVERIFY(view->setRaster(16, 4, raster(16, 4, {{0, 0}, {9, 1}, {15, 3}})));
    host.show();
    // Alignment 0: x0 = 10, y0 = (40 - 4) / 2 = 18.
    QCOMPARE(blackPixels(&host), QList<QPoint>({{10, 18}, {19, 19}, {25, 21}}));
}

void TestShellWidgets::mimeViewEmptiesOnReleaseAndOnFailure()
{
    WhiteHost host;
    host.resize(100, 40);
    auto* view = new MIMEView(QRect(0, 0, 100, 40), &host);
    host.show();
    QVERIFY(view->setRaster(8, 1, raster(8, 1, {{3, 0}})));
    QCOMPARE(blackPixels(&host).size(), 1);
    view->releaseData();
    QCOMPARE(view->bmWidth(), 0);
    QCOMPARE(view->bmHeight(), 0);
    QVERIFY(blackPixels(&host).isEmpty());

    // Rasters that break the contract are refused and leave the view empty.
    QVERIFY(view->setRaster(8, 1, raster(8, 1, {{3, 0}})));
    QVERIFY(!view->setRaster(10, 1, std::vector<std::uint8_t>(2)));  // width not a multiple of 8
    QVERIFY(!view->hasImage());
    QVERIFY(!view->setRaster(16, 2, std::vector<std::uint8_t>(3))); // too few bytes
    QVERIFY(!view->setRaster(0, 0, {}));
    QVERIFY(blackPixels(&host).isEmpty());
}

// The host painted into an image `scale` times larger, as a 2x screen or a zoomed window shows it.
QImage paintedAt(QWidget* host, qreal scale)
{
    QImage image(host->size() * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    host->render(&image);
    return image;
}

// Grey pixels (anti-aliased edges) and the bounding box of the darker ones.
int greyPixels(const QImage& image, QRect& ink)
{
    int grey = 0;
    ink = QRect();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int g = qGray(image.pixel(x, y));
            grey += g > 40 && g < 215;
            if (g < 128)
                ink |= QRect(x, y, 1, 1);
        }
    return grey;
}

void TestShellWidgets::mimeViewIsSharpWhenScaled()
{
    WhiteHost host;
    host.resize(200, 60);
    auto* view = new MIMEView(QRect(0, 0, 200, 60), &host);
    view->setAlignment(1);
    view->renderExpression("x = \\frac{1}{2}", "\\large");
    QRect ink1;
    QCOMPARE(greyPixels(paintedAt(&host, 1), ink1), 0);  // one bit per pixel at 1x
    for (qreal scale : {1.5, 2.0, 3.0}) {
        // At a higher device pixel ratio: anti-aliased, not pixel-doubled, in the same place.
        QRect ink;
        QVERIFY2(greyPixels(paintedAt(&host, scale), ink) > 20, qPrintable(QString::number(scale)));
        QVERIFY(std::abs(ink.left() - ink1.left() * scale) <= 2 * scale);
        QVERIFY(std::abs(ink.top() - ink1.top() * scale) <= 2 * scale);
        QVERIFY(std::abs(ink.width() - ink1.width() * scale) <= 2 * scale);
    }
    // The process-wide zoom draws the formula larger within the view, as sharp.
    MIMEView::setZoom(2);
    host.resize(400, 120);
    view->resize(400, 120);
    QRect zoomed;
    const int grey = greyPixels(paintedAt(&host, 1), zoomed);
    MIMEView::setZoom(1);
    QVERIFY(grey > 20);
    QVERIFY(std::abs(zoomed.width() - ink1.width() * 2) <= 4);
}

void TestShellWidgets::mimeViewNamesUnknownCommands()
{
    MIMEView view(QRect(0, 0, 300, 40));
    view.renderExpression("a \\foo b \\begin{bar} c \\end{bar} \\foo", "\\large");
    QVERIFY(view.hasImage());
    QCOMPARE(view.unknownCommands(), QStringList({"\\foo", "\\begin{bar}"}));
    QCOMPARE(view.unknownCommandsMessage(),
             QString("Unknown TeX command: \\foo\nUnknown TeX command: \\begin{bar}"));
    view.renderExpression("a + b", "\\large");
    QVERIFY(view.unknownCommands().isEmpty());
    QVERIFY(view.unknownCommandsMessage().isEmpty());
}

void TestShellWidgets::mimeViewRendersTex()
{
    WhiteHost host;
    host.resize(300, 60);
    auto* view = new MIMEView(QRect(0, 0, 300, 60), &host);
    host.show();
    view->renderExpression("f(x) = \\frac{1}{2} m v^2", "\\large");
    QVERIFY(view->hasImage());
    QCOMPARE(view->bmWidth() % 8, 0);
    const int firstWidth = view->bmWidth();
    QVERIFY(!blackPixels(&host).isEmpty());

    // A second render replaces the first image completely.
    view->renderExpression("x", "\\normalsize");
    QVERIFY(view->bmWidth() < firstWidth);

    // A text the renderer refuses leaves the view blank.
    view->renderExpression(QString(9000, 'x'), "\\large");
    QVERIFY(!view->hasImage());
    QVERIFY(blackPixels(&host).isEmpty());
}

void TestShellWidgets::transitionReplacesViewInPlace()
{
    TransitionView transition;
    transition.resize(320, 460);
    auto* below = new QWidget(&transition);
    auto* oldView = new QWidget(&transition);
    auto* above = new QWidget(&transition);
    transition.show();
    TransitionRecorder recorder;
    transition.delegate = &recorder;
    QWidget* newView = new QWidget;

    QVERIFY(transition.replaceSubview(oldView, newView, TransitionView::Push, TransitionView::FromLeft, 0.3));
    QVERIFY(transition.isTransitioning());
    QVERIFY(!transition.isEnabled());
    QCOMPARE(oldView->parentWidget(), nullptr);
    QCOMPARE(newView->parentWidget(), &transition);
    QCOMPARE(newView->geometry(), QRect(0, 0, 320, 460));
    QTRY_VERIFY(!transition.isTransitioning());
    QVERIFY(transition.isEnabled());
    QCOMPARE(recorder.events, QStringList({"start", "finish"}));
    // The new view took the old one's place among its siblings.
    const QObjectList order = transition.children();
    QVERIFY(order.indexOf(below) < order.indexOf(newView));
    QVERIFY(order.indexOf(newView) < order.indexOf(above));
    QVERIFY(newView->isVisible());
    delete oldView;
}

void TestShellWidgets::transitionIgnoresRequestWhileRunning()
{
    TransitionView transition;
    transition.resize(320, 460);
    auto* first = new QWidget(&transition);
    transition.show();
    auto* second = new QWidget;
    auto* third = new QWidget;
    QVERIFY(transition.replaceSubview(first, second, TransitionView::Push, TransitionView::FromLeft, 0.3));
    QVERIFY(!transition.replaceSubview(second, third, TransitionView::Fade, TransitionView::FromLeft, 0.3));
    QCOMPARE(third->parentWidget(), nullptr);
    QTRY_VERIFY(!transition.isTransitioning());
    QCOMPARE(second->parentWidget(), &transition);
    delete first;
    delete third;
}

void TestShellWidgets::cancelledTransitionTellsDelegate()
{
    TransitionView transition;
    transition.resize(320, 460);
    auto* first = new QWidget(&transition);
    transition.show();
    transition.setEnabled(false); // interaction was off before: it stays off
    TransitionRecorder recorder;
    transition.delegate = &recorder;
    auto* second = new QWidget;
    QVERIFY(transition.replaceSubview(first, second, TransitionView::MoveIn, TransitionView::FromBottom, 5.0));
    transition.cancelTransition();
    QVERIFY(!transition.isTransitioning());
    QCOMPARE(recorder.events, QStringList({"start", "cancel"}));
    QVERIFY(!transition.isEnabled());
    QCOMPARE(second->parentWidget(), &transition);
    delete first;
}

void TestShellWidgets::savePNGImageCreatesFoldersAndReplacesWhole()
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/Image/deeper/UserDefineImage_0.png";
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(savePNGImage(red, path));
    QCOMPARE(QImage(path).size(), QSize(20, 10));
    QImage blue(5, 5, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QVERIFY(savePNGImage(blue, path));
    QCOMPARE(QImage(path).pixelColor(0, 0), QColor(Qt::blue));
    QVERIFY(QDir(dir.path() + "/Image/deeper").entryList(QDir::Files) == QStringList({"UserDefineImage_0.png"}));
    // A null image or an impossible place writes nothing and says so.
    QVERIFY(!savePNGImage(QImage(), dir.path() + "/x.png"));
    QVERIFY(!QFile::exists(dir.path() + "/x.png"));
    QVERIFY(!savePNGImage(red, path + "/inside-a-file.png"));
}

void TestShellWidgets::createSubImageClipsToImage()
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixelColor(9, 9, Qt::black);
    const struct {
        QRect rect;
        QSize size;
    } cases[] = {{QRect(0, 0, 4, 3), QSize(4, 3)}, {QRect(8, 8, 10, 10), QSize(2, 2)}, {QRect(20, 20, 5, 5), QSize(0, 0)},
                 {QRect(-5, -5, 7, 7), QSize(2, 2)}};
    for (const auto& c : cases)
        QCOMPARE(createSubImage(image, c.rect).size(), c.size);
    QCOMPARE(createSubImage(image, QRect(8, 8, 2, 2)).pixelColor(1, 1), QColor(Qt::black));
}

void TestShellWidgets::drawRoundRectFillsInsideOnly()
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    drawRoundRect(p, QRectF(5, 5, 30, 30), 10);
    p.end();
    QCOMPARE(image.pixelColor(20, 20), QColor(Qt::white)); // inside
    QCOMPARE(image.pixelColor(20, 6), QColor(Qt::white));  // edge middle
    QCOMPARE(image.pixelColor(6, 6), QColor(Qt::black));   // cut corner
    QCOMPARE(image.pixelColor(2, 20), QColor(Qt::black));  // outside
}

void TestShellWidgets::safeTouchesViewIgnoresFirstHalfSecond()
{
    SafeTouchesView view;
    view.resize(100, 100);
    int clicks = 0;
    auto* item = new QPushButton(&view);
    item->resize(100, 100);
    connect(item, &QPushButton::clicked, [&] { ++clicks; });
    view.show();
    QVERIFY(!view.touchesEnabled());
    QTest::mouseClick(item, Qt::LeftButton);
    QCOMPARE(clicks, 0);
    QTRY_VERIFY_WITH_TIMEOUT(view.touchesEnabled(), 2000);
    QTest::mouseClick(item, Qt::LeftButton);
    QCOMPARE(clicks, 1);
}

void TestShellWidgets::contentViewMeasuresWithCharacterTable()
{
    QCOMPARE(g_arrCharacterSize.size(), 71);
    const qreal h = g_arrCharacterSize[0].height();
    // One line: the height of one character, so the row is 40.
    QCOMPARE(FormulaContentView::getSize("Ohm's law").height(), h);
    FormulaContentView view(QRect(5, 0, 283, 40));
    view.setContent("Ohm's law", "OHM");
    QCOMPARE(view.height(), 40);
    QCOMPARE(view.highlightRanges().size(), std::size_t(1));
    QCOMPARE(view.highlightRanges()[0].length, 3);
    // Characters outside the table are measured alone.
    QVERIFY(FormulaContentView::getSize(QString::fromUtf8("Ω")).width() > 0);
    // A long name wraps and the view grows to the text plus 10.
    const QString longName = "Relativistic Doppler effect for a source moving away from the observer";
    view.setContent(longName, QString());
    QVERIFY(view.height() >= 50);
    QCOMPARE(view.height(), int(FormulaContentView::getSize(longName).height() + 10));
    QVERIFY(view.highlightRanges().empty());
}

void TestShellWidgets::contentViewKeepsSizeForEmptyContent()
{
    FormulaContentView view(QRect(5, 0, 283, 77));
    view.setContent(QString(), "x"); // absent: nothing changes
    QCOMPARE(view.height(), 77);
    view.setContent(QStringLiteral(""), "x");
    QCOMPARE(view.height(), 77);
    QVERIFY(view.content().isEmpty());
}

#include "test_shell_widgets.moc"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestShellWidgets tests;
    return QTest::qExec(&tests, argc, argv) ? 1 : 0;
}
