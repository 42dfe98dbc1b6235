#pragma once
// Shows one TeX math expression as a black one-bit image on a clear
// background. The renderer's raster has rows top to bottom, width / 8 bytes a
// row, least significant bit first, a set bit being ink. The image is placed
// 10 pixels from the left (alignment 0), 2 pixels from the right (2), or
// centred (anything else), and centred vertically.

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

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
    // the sizes do not match the data.
    bool setRaster(int width, int height, std::vector<std::uint8_t> data);

    int bmWidth() const { return m_bmWidth; }
    int bmHeight() const { return m_bmHeight; }
    void setBmWidth(int width) { m_bmWidth = width; }
    void setBmHeight(int height) { m_bmHeight = height; }
    bool hasImage() const { return !m_pData.empty(); }
    // Top-left corner where the image is drawn, from the view's size and the alignment.
    QPoint imageOrigin() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void render(const QString& expression, const QString& sizeCommand, bool processBrackets);

    std::vector<std::uint8_t> m_pData;
    std::int32_t m_bmWidth = 0;
    std::int32_t m_bmHeight = 0;
    std::int32_t m_nAlignment = 0;
};
