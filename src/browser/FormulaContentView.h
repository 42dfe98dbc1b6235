#pragma once
// Draws the text of one browser row (a book, folder or formula name) in the
// row font, wrapped at 283 points, with every occurrence of the search text
// on a highlight colour. Measuring uses the same character-by-character rules
// so the browser can size its rows before they are drawn.

#include "browser/FormulaTextLayout.h"

#include <QSizeF>
#include <QString>
#include <QWidget>
#include <vector>

class FormulaContentView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTag = 7282;

    explicit FormulaContentView(const QRect& frame, QWidget* parent = nullptr);

    // Does nothing for a null content. Otherwise takes the text, finds the
    // highlight ranges and, for a non-empty text, fits the view's height.
    void setContent(const QString& content, const QString& highlight);
    QString content() const { return m_sContent; }
    const std::vector<HighlightRange>& highlightRanges() const { return m_arrHighlightRange; }

    static QSizeF getSize(const QString& text);
    static QSizeF getSize2(const QString& text);
    // The character sizes of the row font, for the Qt-free layout.
    static CharSizeFunction charSizeFunction();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_sContent;
    std::vector<HighlightRange> m_arrHighlightRange;
};
