#pragma once
// Shows one TeX math expression as a black image on a clear background. The
// renderer's one-bit raster has rows top to bottom, width / 8 bytes a row,
// least significant bit first, a set bit being ink. The image is placed 10
// pixels from the left (alignment 0), 2 pixels from the right (2), or
// centred (anything else), and centred vertically.
//
// On a screen that shows the view larger than its logical pixels (a device
// pixel ratio above 1, a painter that scales, or the process-wide zoom) the
// view paints the renderer's coverage raster at that scale instead, on the
// same place and layout, so that formulas stay sharp rather than
// pixel-doubled. At exactly one device pixel per logical pixel it paints the
// one-bit raster.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "tex/TexRender.h"

class MIMEView : public QWidget {
    Q_OBJECT
public:
    explicit MIMEView(const QRect& frame = QRect(), QWidget* parent = nullptr);
    ~MIMEView() override;

    // Renders `expression` at `sizeCommand` ("\\normalsize", "\\large") and
    // keeps the new image; a text the renderer refuses leaves the view empty.
    void renderExpression(const QString& expression, const QString& sizeCommand);
    // The same without the bracket processing step.
    void renderExpression2(const QString& expression, const QString& sizeCommand);
    void setAlignment(int alignment);
    int alignment() const { return m_nAlignment; }
    void releaseData();

    // Takes a raster as the renderer delivers it; false (view emptied) when
    // the sizes do not match the data. Such an image has no coverage form.
    bool setRaster(int width, int height, std::vector<std::uint8_t> data);

    int bmWidth() const { return m_bmWidth; }
    int bmHeight() const { return m_bmHeight; }
    void setBmWidth(int width) { m_bmWidth = width; }
    void setBmHeight(int height) { m_bmHeight = height; }
    bool hasImage() const { return !m_pData.empty(); }
    // Top-left corner where the image is drawn, from the view's size and the
    // alignment, in the view's unzoomed coordinates.
    QPoint imageOrigin() const;

    // The TeX commands and environments of the last render that the renderer
    // does not know ("\foo", "\begin{foo}"), each once.
    QStringList unknownCommands() const { return m_arrUnknown; }
    // One line "Unknown TeX command: \foo" per unknown command; empty when there is none.
    QString unknownCommandsMessage() const;

    // The zoom of every formula view in the process: a window that shows its
    // screens larger by resizing the widgets sets it, and each view draws its
    // formula that much larger (and sharp). Views repaint with their window.
    static void setZoom(qreal zoom);
    static qreal zoom();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void render(const QString& expression, const QString& sizeCommand, bool processBrackets);
    void paintBits(class QPainter& painter, QPoint origin) const;
    bool paintCoverage(class QPainter& painter, QPoint origin, qreal scale);
    const tex::TEX_GRAY_RASTER* coverageAt(qreal scale);

    std::vector<std::uint8_t> m_pData;
    std::int32_t m_bmWidth = 0;
    std::int32_t m_bmHeight = 0;
    std::int32_t m_nAlignment = 0;
    // Where the formula's baseline and left edge lie in the one-bit image,
    // so that the coverage image lands on the same place.
    std::int32_t m_nBaseline = 0;
    std::int32_t m_nOriginX = 0;
    QStringList m_arrUnknown;
    // What was rendered, to render it again as coverage at another scale.
    QString m_strExpression;
    QString m_strSizeCommand;
    bool m_bProcessBrackets = true;
    bool m_bHasText = false;
    tex::TEX_GRAY_RASTER m_grayRaster;
};
