#pragma once

#include "presentation/window/Histogram.h"

#include <QWidget>

// The histogram under the "Preview" pane's picture: luminance as a grey
// area, red, green and blue as lines over it, each level's count against the
// largest. Empty without a picture. A chart to assistive technology.
class HistogramView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 64;

    explicit HistogramView(QWidget* parent = nullptr);

    void SetHistogram(const Histogram& histogram);
    void Clear();
    const Histogram& Shown() const { return m_histogram; }

    QSize sizeHint() const override { return {256, kHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Histogram m_histogram;
};
