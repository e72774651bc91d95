#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>
#include <vector>

// One chart of the "Overview" pane: its title over horizontal bars, each
// with its label at the left and its count after it, the longest bar
// reaching across. Painted by us, and only the rows a paint exposes, so a
// paint costs the same for ten photos or thirty thousand. It is as high as
// its rows and as wide as it is made.
//
// A bar that leads somewhere (Bar::active) is clicked, or reached with the
// arrow keys (Home, End, Page Up and Down too) and chosen with Enter or
// Space: barActivated. To assistive technology the chart is a list named by
// its title and described by its bars as text ("35 mm: 120, 50 mm: 80"),
// each bar an item, the current one announced as it moves.
class BarChartView : public QWidget {
    Q_OBJECT
public:
    struct Bar {
        QString label;
        uint64_t count = 0;
        bool active = true;
    };

    explicit BarChartView(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    const QString& Title() const { return m_title; }
    // Shows `bars` in their order; the current bar stays where it was, as
    // far as there are bars.
    void SetBars(std::vector<Bar> bars);
    const std::vector<Bar>& Bars() const { return m_bars; }
    // "35 mm: 120, 50 mm: 80"; empty without bars.
    QString BarsText() const;

    // The bar the keyboard is on; -1 when none.
    int CurrentBar() const { return m_current; }
    void SetCurrentBar(int index);
    // The row of bar `index` (label, bar and count) in the chart; empty for
    // no such bar.
    QRect RowRect(int index) const;
    // The bar whose row holds `point`; -1 for none.
    int BarAt(const QPoint& point) const;

    // The width the longest label takes; the label column is at least
    // `width` wide (so that the charts of a pane line up), never more than
    // about half the chart.
    int LabelsWidth() const { return m_labelWidth; }
    void SetLeastLabelWidth(int width);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // An active bar was clicked, or chosen with Enter or Space.
    void barActivated(int index);
    // The keyboard moved to bar `index`; its row is RowRect(index).
    void currentBarChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int TitleHeight() const;
    int RowHeight() const;
    void Measure();
    void Announce();
    void SetHovered(int index);

    QString m_title;
    std::vector<Bar> m_bars;
    uint64_t m_peak = 0;
    // The counts as shown, made with the bars.
    std::vector<QString> m_countTexts;
    // Widths, measured when the bars or the font change (never in a paint).
    int m_labelWidth = 0;
    int m_leastLabelWidth = 0;
    int m_countWidth = 0;
    int m_current = -1;
    int m_hovered = -1;
    int m_pressed = -1;
};
