#pragma once
// A row of mutually exclusive segments. A tap selects a segment and calls
// onValueChanged; setting the index from code does not.

#include <QStringList>
#include <QWidget>
#include <functional>

class UISegmentedControl : public QWidget {
    Q_OBJECT
public:
    explicit UISegmentedControl(const QStringList& items, QWidget* parent = nullptr);

    int numberOfSegments() const { return static_cast<int>(m_vecItems.size()); }
    QString titleForSegment(int index) const { return m_vecItems.value(index); }
    int selectedSegmentIndex() const { return m_nSelected; }
    void setSelectedSegmentIndex(int index);
    void setMomentary(bool momentary) { m_bMomentary = momentary; }
    QRect segmentRect(int index) const;
    QSize sizeHint() const override;

    std::function<void(UISegmentedControl*)> onValueChanged;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    // Tab reaches the control; Left and Right choose the segment beside.
    void keyPressEvent(QKeyEvent*) override;

private:
    int segmentAt(QPoint pos) const;
    QStringList m_vecItems;
    int m_nSelected = -1;
    int m_nPressed = -1;
    bool m_bMomentary = false;
};
