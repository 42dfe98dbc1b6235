// Paints the named images the screens load ("Formulas.png", "fx1.png", ...)
// into the resource folder given as the first argument. Every image is painted
// from vector shapes at 1x and again at 2x, 3x and 4x ("<name>@2x.png" ...),
// so nothing binary is kept in the sources and the artwork stays crisp in a
// zoomed window and on scaled screens (UIImage picks the variant).
//
// With a second argument, the application's icon is painted there as an icon
// theme folder: <folder>/<N>x<N>/apps/calcudex.png for the hicolor sizes.
//
// Tab icons are masks: only their alpha counts, the tab bar colours them.

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor kTint(0, 122, 255);
const QColor kInk(40, 40, 44);
const QColor kGrey(142, 142, 147);

struct Artwork {
    const char* name;
    int width;
    int height;
    std::function<void(QPainter&, QSizeF)> paint;
};

QFont artFont(qreal pixelSize, bool bold, bool italic = false, const char* family = "DejaVu Sans")
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPainterPath starPath(QPointF centre, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2) ? inner : outer;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const QPointF p(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

// ---------------------------------------------------------------- tab icons (30 x 30 masks)

void paintFormulasTab(QPainter& p, QSizeF)
{
    // An open book with "fx" on its right page.
    QPen pen(Qt::black, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    QPainterPath left;
    left.moveTo(15, 7);
    left.cubicTo(11, 4.5, 6, 4.5, 3, 6);
    left.lineTo(3, 25);
    left.cubicTo(6, 23.5, 11, 23.5, 15, 26);
    QPainterPath right;
    right.moveTo(15, 7);
    right.cubicTo(19, 4.5, 24, 4.5, 27, 6);
    right.lineTo(27, 25);
    right.cubicTo(24, 23.5, 19, 23.5, 15, 26);
    p.drawPath(left);
    p.drawPath(right);
    p.drawLine(QPointF(15, 7), QPointF(15, 26));
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap));
    for (qreal y : {10.5, 14.5, 18.5})
        p.drawLine(QPointF(6, y), QPointF(12, y));
    p.setFont(artFont(10, true, true, "DejaVu Serif"));
    p.setPen(Qt::black);
    p.drawText(QRectF(15.5, 8, 11, 14), Qt::AlignCenter, QStringLiteral("fx"));
}

void paintFavoritesTab(QPainter& p, QSizeF)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(starPath(QPointF(15, 15.5), 13.5, 5.6));
}

void paintCalculateTab(QPainter& p, QSizeF)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(5.5, 2.5, 19, 25), 3, 3);
    p.setPen(QPen(Qt::black, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(8.5, 5.5, 13, 5.5), 1, 1);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(8.5 + col * 4.6, 13.5 + row * 4.4, 3.4, 3.0), 0.8, 0.8);
}

void paintMoreTab(QPainter& p, QSizeF)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(6.5 + i * 8.5, 15), 2.8, 2.8);
}

// ---------------------------------------------------------------- list icons

// The formula icon at the right of a browser row: "fx" on a rounded tile,
// blue for a formula that calculates, grey for a theory formula.
void paintFormulaIcon(QPainter& p, QSizeF size, QColor colour)
{
    const QRectF tile(4, 6, size.width() - 8, size.height() - 12);
    QPainterPath path;
    path.addRoundedRect(tile, 5, 5);
    QLinearGradient g(tile.topLeft(), tile.bottomLeft());
    g.setColorAt(0, colour.lighter(112));
    g.setColorAt(1, colour);
    p.fillPath(path, g);
    p.setPen(Qt::white);
    p.setFont(artFont(12.5, true, true, "DejaVu Serif"));
    p.drawText(tile.adjusted(0, -1, 0, 0), Qt::AlignCenter, QStringLiteral("fx"));
}

void paintCheckBox(QPainter& p, QSizeF size, bool checked, QColor colour)
{
    const QPointF c(size.width() / 2, size.height() / 2);
    const qreal r = std::min(size.width(), size.height()) / 2 - 4;
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawEllipse(c, r, r);
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({c + QPointF(-r * 0.45, 0.3), c + QPointF(-r * 0.1, r * 0.38), c + QPointF(r * 0.48, -r * 0.34)}));
    } else {
        p.setPen(QPen(QColor(199, 199, 204), 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(c, r, r);
    }
}

// ---------------------------------------------------------------- bar icons (24 x 24)

void paintFavoriteStar(QPainter& p, QSizeF size, bool filled)
{
    const QPainterPath star = starPath(QPointF(size.width() / 2, size.height() / 2 + 0.5), 10, 4.2);
    if (filled) {
        p.setPen(QPen(QColor(230, 160, 0), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 184, 0));
    } else {
        p.setPen(QPen(kTint, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
    }
    p.drawPath(star);
}

void paintCalcToDetail(QPainter& p, QSizeF)
{
    // A page with text lines: "show the formula's detail pages".
    p.setPen(QPen(kTint, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 2.5, 14, 19), 2, 2);
    for (qreal y : {7.5, 11.5, 15.5})
        p.drawLine(QPointF(8, y), QPointF(16, y));
}

void paintDetailToCalc(QPainter& p, QSizeF)
{
    // A small calculator: "back to the calculation".
    p.setPen(QPen(kTint, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 2.5, 14, 19), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(kTint);
    p.drawRect(QRectF(7.5, 5, 9, 4));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRect(QRectF(7.5 + col * 3.3, 10.8 + row * 3.3, 2.2, 2.2));
}

void paintBackground(QPainter& p, QSizeF size)
{
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(246, 247, 250));
    g.setColorAt(1, QColor(232, 235, 241));
    p.fillRect(QRectF(QPointF(0, 0), size), g);
}

// ---------------------------------------------------------------- formula wizard

// The round help button of the wizard: a "?" in a ring; filled in the tint
// colour while pressed.
void paintHelpButton(QPainter& p, QSizeF size, bool pressed)
{
    const QRectF ring = QRectF(QPointF(0, 0), size).adjusted(4, 4, -4, -4);
    p.setPen(QPen(kTint, 1.6));
    p.setBrush(pressed ? kTint : QColor(255, 255, 255, 235));
    p.drawEllipse(ring);
    p.setPen(pressed ? Qt::white : kTint);
    p.setFont(artFont(14, true));
    p.drawText(ring, Qt::AlignCenter, QStringLiteral("?"));
}

// The framed text field of the wizard in three slices: the top with its
// rounded corners, a body slice that is stretched, and the bottom. Painted
// 300 wide; the field stretches them over its own width.
constexpr qreal kFieldRadius = 8;
const QColor kFieldBorder(188, 188, 194);

void paintFieldSlice(QPainter& p, QSizeF size, int slice)
{
    // One tall rounded field, of which each slice shows its part.
    const qreal w = size.width();
    const qreal h = size.height();
    QRectF field(0.5, 0.5, w - 1, 40);
    if (slice == 0)
        field.moveTop(0.5);
    else if (slice == 2)
        field.moveBottom(h - 0.5);
    else
        field = QRectF(0.5, -20, w - 1, h + 40);
    QPainterPath path;
    path.addRoundedRect(field, kFieldRadius, kFieldRadius);
    p.setPen(QPen(kFieldBorder, 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
    if (slice == 0) {
        // A faint inner shadow under the top edge.
        QLinearGradient g(0, 1, 0, 5);
        g.setColorAt(0, QColor(0, 0, 0, 18));
        g.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(QRectF(kFieldRadius / 2, 1, w - kFieldRadius, 4));
    }
}

// ---------------------------------------------------------------- keypad

// Keys are 53 x 46 points; a background image holds the normal look in its
// upper half and the pressed look in its lower half.
constexpr int kKeyWidth = 53;
constexpr int kKeyHeight = 46;
constexpr int kGlyphCells = 18;

struct KeyColours {
    QColor top, bottom, border;
};

void paintKeyHalf(QPainter& p, QRectF cell, const KeyColours& c)
{
    const QRectF body = cell.adjusted(2, 2, -2, -3);
    // A soft drop shadow under the key, then the key itself.
    QPainterPath shadow;
    shadow.addRoundedRect(body.translated(0, 1.2), 6, 6);
    p.fillPath(shadow, QColor(0, 0, 0, 45));
    QPainterPath path;
    path.addRoundedRect(body, 6, 6);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, c.top);
    g.setColorAt(1, c.bottom);
    p.fillPath(path, g);
    p.setPen(QPen(c.border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    // A thin highlight along the upper edge.
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(QPointF(body.left() + 6, body.top() + 1.5), QPointF(body.right() - 6, body.top() + 1.5));
}

void paintKeyBackground(QPainter& p, QSizeF size, const KeyColours& normal, const KeyColours& pressed)
{
    const qreal half = size.height() / 2;
    paintKeyHalf(p, QRectF(0, 0, size.width(), half), normal);
    paintKeyHalf(p, QRectF(0, half, size.width(), half), pressed);
}

const KeyColours kNormalKey{QColor(252, 252, 253), QColor(226, 229, 235), QColor(170, 175, 186)};
const KeyColours kNormalKeyDown{QColor(196, 201, 211), QColor(178, 184, 196), QColor(140, 146, 158)};
const KeyColours kFunctionKey{QColor(104, 111, 126), QColor(70, 76, 90), QColor(48, 52, 62)};
const KeyColours kFunctionKeyDown{QColor(58, 63, 75), QColor(44, 48, 58), QColor(30, 33, 40)};
const KeyColours kBigKey{QColor(255, 168, 40), QColor(240, 122, 0), QColor(196, 100, 0)};
const KeyColours kBigKeyDown{QColor(214, 120, 0), QColor(190, 96, 0), QColor(150, 76, 0)};

// Draws a key label; each '^' switches between the base line and a raised,
// smaller superscript ("x^2", "10^x", "sin^-1", "^3^√").
qreal labelWidth(const QString& text, const QFont& base, const QFont& sup)
{
    qreal width = 0;
    bool raised = false;
    for (const QString& part : text.split(QLatin1Char('^'))) {
        width += QFontMetricsF(raised ? sup : base).horizontalAdvance(part);
        raised = !raised;
    }
    return width;
}

void drawLabel(QPainter& p, const QString& text, QPointF centre, qreal pixelSize, bool bold, QColor colour,
               qreal limit)
{
    QFont base = artFont(pixelSize, bold);
    QFont sup = artFont(pixelSize * 0.62, bold);
    // Long labels shrink to stay inside the key.
    qreal width = labelWidth(text, base, sup);
    if (width > limit) {
        pixelSize *= limit / width;
        base = artFont(pixelSize, bold);
        sup = artFont(pixelSize * 0.62, bold);
        width = labelWidth(text, base, sup);
    }
    const QFontMetricsF fm(base);
    const qreal baseline = centre.y() + (fm.ascent() - fm.descent()) / 2;
    qreal x = centre.x() - width / 2;
    bool raised = false;
    p.setPen(colour);
    for (const QString& part : text.split(QLatin1Char('^'))) {
        p.setFont(raised ? sup : base);
        p.drawText(QPointF(x, raised ? baseline - fm.ascent() * 0.45 : baseline), part);
        x += QFontMetricsF(raised ? sup : base).horizontalAdvance(part);
        raised = !raised;
    }
}

// One key face: the label, and above it in small orange the function the key
// has when held, where that differs from a tap.
struct KeyFace {
    const char* label;
    const char* hold;
};

enum FaceStyle { FaceDark, FaceLight, FaceOperator };

FaceStyle faceStyleOfCell(int cell)
{
    if (cell <= 5)
        return FaceLight;  // white on the calculate key and the function keys
    return FaceDark;
}

void paintKeyFace(QPainter& p, QRectF cell, const KeyFace& face, FaceStyle style, bool operatorKey)
{
    const bool hasHold = face.hold && *face.hold;
    QColor ink = style == FaceLight ? QColor(Qt::white) : (operatorKey ? QColor(0, 84, 190) : QColor(28, 30, 36));
    QColor holdInk = style == FaceLight ? QColor(255, 196, 110) : QColor(214, 104, 0);
    const QString label = QString::fromUtf8(face.label);
    const bool word = label.size() > 2 && !label.contains(QLatin1Char('^'));
    const qreal size = word ? 16 : 20;
    const QPointF centre(cell.center().x(), cell.center().y() + (hasHold ? 5 : 0) - 1);
    const qreal room = cell.width() - 12;
    drawLabel(p, label, centre, size, cell.width() > kKeyWidth || style == FaceLight, ink, room);
    if (hasHold)
        drawLabel(p, QString::fromUtf8(face.hold), QPointF(cell.center().x(), cell.top() + 11), 10, true, holdInk, room);
}

// The glyph strip of one keyboard: 18 cells of one key each; cell 0 spans two
// cells for the double-width calculate key, cell 1 stays empty.
void paintGlyphStrip(QPainter& p, const KeyFace (&faces)[kGlyphCells])
{
    for (int cell = 0; cell < kGlyphCells; ++cell) {
        if (cell == 1 || !faces[cell].label)
            continue;
        const qreal width = cell == 0 ? 2 * kKeyWidth : kKeyWidth;
        const QRectF rect(cell * kKeyWidth, 0, width, kKeyHeight);
        const QString label = QString::fromUtf8(faces[cell].label);
        const bool operatorKey = cell >= 14 && (label == "+" || label == "−" || label == "×" || label == "÷");
        paintKeyFace(p, rect, faces[cell], faceStyleOfCell(cell), operatorKey);
    }
}

// Keys 2-5 are the same on every keyboard but for the switch key, which names
// the keyboard that comes next.
const KeyFace kDigitFaces[kGlyphCells] = {
    {"Calculate", nullptr}, {nullptr, nullptr}, {"f(x)", "AC"}, {"DEL", "CLR"}, {"◀", nullptr}, {"▶", nullptr},
    {"1", nullptr}, {"2", nullptr}, {"3", nullptr}, {"4", nullptr}, {"5", nullptr}, {"6", nullptr},
    {"7", nullptr}, {"8", nullptr}, {"9", nullptr}, {"0", nullptr}, {".", nullptr}, {"(−", nullptr},
};
const KeyFace kArithmeticFaces[kGlyphCells] = {
    {"Calculate", nullptr}, {nullptr, nullptr}, {"trig", "AC"}, {"DEL", "CLR"}, {"◀", nullptr}, {"▶", nullptr},
    {"log", "10^x"}, {"ln", "e^x"}, {"x^y", "√"}, {"x^2", "^2^√"}, {"x^3", "^3^√"}, {"π", "1/x"},
    {"(", nullptr}, {")", nullptr}, {"+", nullptr}, {"−", nullptr}, {"×", nullptr}, {"÷", nullptr},
};
const KeyFace kTrigonometryFaces[kGlyphCells] = {
    {"Calculate", nullptr}, {nullptr, nullptr}, {"123", "AC"}, {"DEL", "CLR"}, {"◀", nullptr}, {"▶", nullptr},
    {"sinh", "sinh^-1"}, {"cosh", "cosh^-1"}, {"tanh", "tanh^-1"}, {"sin", "sin^-1"}, {"cos", "cos^-1"},
    {"tan", "tan^-1"},
    {"(", nullptr}, {")", nullptr}, {"+", nullptr}, {"−", nullptr}, {"×", nullptr}, {"÷", nullptr},
};

// The scroll arrows of the input line, shown while text is hidden on that side.
void paintLineArrow(QPainter& p, QSizeF size, bool left)
{
    const qreal w = size.width();
    const qreal h = size.height();
    QPolygonF triangle = left ? QPolygonF({QPointF(w - 2, 2), QPointF(2, h / 2), QPointF(w - 2, h - 2)})
                              : QPolygonF({QPointF(2, 2), QPointF(w - 2, h / 2), QPointF(2, h - 2)});
    p.setPen(QPen(QColor(96, 40, 170), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(128, 64, 220));
    p.drawPolygon(triangle);
}

std::vector<Artwork> artworks()
{
    using namespace std::placeholders;
    return {
        {"Formulas.png", 30, 30, paintFormulasTab},
        {"Favorites.png", 30, 30, paintFavoritesTab},
        {"Calculate.png", 30, 30, paintCalculateTab},
        {"More.png", 30, 30, paintMoreTab},
        {"fx0.png", 32, 40, [](QPainter& p, QSizeF s) { paintFormulaIcon(p, s, QColor(150, 152, 160)); }},
        {"fx1.png", 32, 40, [](QPainter& p, QSizeF s) { paintFormulaIcon(p, s, kTint); }},
        {"Checked.png", 30, 30, [](QPainter& p, QSizeF s) { paintCheckBox(p, s, true, kTint); }},
        {"Unchecked.png", 30, 30, [](QPainter& p, QSizeF s) { paintCheckBox(p, s, false, kTint); }},
        {"CalcChecked.png", 30, 30, [](QPainter& p, QSizeF s) { paintCheckBox(p, s, true, QColor(52, 199, 89)); }},
        {"Favorite.png", 24, 24, [](QPainter& p, QSizeF s) { paintFavoriteStar(p, s, true); }},
        {"NotFavorite.png", 24, 24, [](QPainter& p, QSizeF s) { paintFavoriteStar(p, s, false); }},
        {"CalcToDetail.png", 24, 24, paintCalcToDetail},
        {"DetailToCalc.png", 24, 24, paintDetailToCalc},
        {"background.png", 320, 232, paintBackground},
        {"Button_Normal.png", kKeyWidth, 2 * kKeyHeight,
         [](QPainter& p, QSizeF s) { paintKeyBackground(p, s, kNormalKey, kNormalKeyDown); }},
        {"Button_Function.png", kKeyWidth, 2 * kKeyHeight,
         [](QPainter& p, QSizeF s) { paintKeyBackground(p, s, kFunctionKey, kFunctionKeyDown); }},
        {"Button_Big.png", 2 * kKeyWidth, 2 * kKeyHeight,
         [](QPainter& p, QSizeF s) { paintKeyBackground(p, s, kBigKey, kBigKeyDown); }},
        {"Font_Basic.png", kGlyphCells * kKeyWidth, kKeyHeight,
         [](QPainter& p, QSizeF) { paintGlyphStrip(p, kDigitFaces); }},
        {"Font_Arithmetic.png", kGlyphCells * kKeyWidth, kKeyHeight,
         [](QPainter& p, QSizeF) { paintGlyphStrip(p, kArithmeticFaces); }},
        {"Font_Geonometry.png", kGlyphCells * kKeyWidth, kKeyHeight,
         [](QPainter& p, QSizeF) { paintGlyphStrip(p, kTrigonometryFaces); }},
        {"arrow_left.png", 10, 16, [](QPainter& p, QSizeF s) { paintLineArrow(p, s, true); }},
        {"arrow_right.png", 10, 16, [](QPainter& p, QSizeF s) { paintLineArrow(p, s, false); }},
        {"help push.png", 30, 30, [](QPainter& p, QSizeF s) { paintHelpButton(p, s, false); }},
        {"help.png", 30, 30, [](QPainter& p, QSizeF s) { paintHelpButton(p, s, true); }},
        {"EditBkgr_Top.png", 300, 10, [](QPainter& p, QSizeF s) { paintFieldSlice(p, s, 0); }},
        {"EditBkgr_Body.png", 300, 4, [](QPainter& p, QSizeF s) { paintFieldSlice(p, s, 1); }},
        {"EditBkgr_Bottom.png", 300, 10, [](QPainter& p, QSizeF s) { paintFieldSlice(p, s, 2); }},
    };
}

// ---------------------------------------------------------------- application icon

// The icon of the program: a blue calculator tile with "fx" on its display
// and a row of keys, designed on a 64-unit square. Below 32 pixels the keys
// would blur into a smudge, so the small sizes show the display alone.
void paintApplicationIcon(QPainter& p, int size)
{
    p.scale(size / 64.0, size / 64.0);
    const bool small = size < 32;
    QPainterPath tile;
    tile.addRoundedRect(QRectF(4, 4, 56, 56), 12, 12);
    QLinearGradient g(QPointF(0, 4), QPointF(0, 60));
    g.setColorAt(0, QColor(52, 152, 255));
    g.setColorAt(1, QColor(0, 98, 214));
    p.fillPath(tile, g);
    const QRectF display = small ? QRectF(10, 12, 44, 40) : QRectF(10, 10, 44, 24);
    QPainterPath screen;
    screen.addRoundedRect(display, 5, 5);
    p.fillPath(screen, Qt::white);
    p.setPen(QColor(0, 70, 160));
    p.setFont(artFont(small ? 28 : 19, true, true, "DejaVu Serif"));
    p.drawText(display.adjusted(0, -1, 0, 0), Qt::AlignCenter, QStringLiteral("fx"));
    if (small)
        return;
    p.setPen(Qt::NoPen);
    for (int col = 0; col < 4; ++col) {
        p.setBrush(col == 3 ? QColor(255, 204, 0) : QColor(255, 255, 255, 215));
        p.drawRoundedRect(QRectF(10 + col * 11.5, 40, 9, 13), 2.5, 2.5);
    }
}

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

bool renderIcons(const QString& themeFolder)
{
    for (int size : kIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(themeFolder).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        paintApplicationIcon(p, size);
        p.end();
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/calcudex.png"), "PNG"))
            return false;
    }
    return true;
}

bool render(const Artwork& art, int scale, const QString& path)
{
    QImage image(art.width * scale, art.height * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    art.paint(p, QSizeF(art.width, art.height));
    p.end();
    return image.save(path, "PNG");
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: calcudex-artwork RESOURCE_FOLDER [ICON_THEME_FOLDER]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "calcudex-artwork: cannot create %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    for (const Artwork& art : artworks()) {
        const QString name = QString::fromLatin1(art.name);
        for (int scale : {1, 2, 3, 4}) {
            QString file = name;
            if (scale > 1)
                file.insert(file.size() - 4, QStringLiteral("@%1x").arg(scale));
            if (!render(art, scale, folder + QLatin1Char('/') + file)) {
                std::fprintf(stderr, "calcudex-artwork: cannot write %s\n", qPrintable(file));
                ++failures;
            }
        }
    }
    if (argc == 3 && !renderIcons(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "calcudex-artwork: cannot write the icons into %s\n", argv[2]);
        ++failures;
    }
    return failures ? 1 : 0;
}
