#pragma once

#include <QImage>
#include <QPointF>
#include <QString>
#include <QWidget>

// The picture of the "Preview" pane: fitted into the view (never enlarged),
// or at 100%, one of its pixels to each pixel of the screen, panned by
// dragging it or by the keyboard (arrows, Page Up/Down, Home, End).
// A double-click toggles between the two. Without a picture it shows a
// short text in its place. It takes the keyboard focus, and reports itself
// to assistive technology as a graphic named by its accessible name.
class PreviewView : public QWidget {
    Q_OBJECT
public:
    enum class Zoom { Fitted, Actual };
    // How far an arrow key moves the picture at 100%, in view pixels.
    static constexpr int kArrowStep = 48;

    explicit PreviewView(QWidget* parent = nullptr);

    // Shows `image`, whose device pixel ratio tells how many of its pixels
    // make one of the view's at 100%. `keepPlace` keeps the zoom and the
    // part shown (a sharper picture of the same photo); otherwise the
    // picture starts from its top left corner.
    void SetPicture(const QImage& image, bool keepPlace = false);
    // No picture: `text` in its place.
    void SetMessage(const QString& text);
    const QImage& Picture() const { return m_image; }
    const QString& Message() const { return m_message; }

    Zoom GetZoom() const { return m_zoom; }
    void SetZoom(Zoom zoom);
    void ToggleZoom();
    // The top left corner of the part shown at 100%, in view pixels from the
    // picture's top left corner.
    QPointF Pan() const { return m_pan; }
    void SetPan(QPointF pan);
    // Where the picture is painted, in the view's coordinates.
    QRectF PictureRect() const;

    QSize sizeHint() const override { return {240, 180}; }

signals:
    void zoomChanged(PreviewView::Zoom zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The picture's size in view pixels at 100%.
    QSizeF ActualSize() const;
    QPointF MaxPan() const;
    void UpdateCursor();

    // The picture scaled once for the fitted view: a 100% picture fitted
    // again is not scaled down from its full size on every paint.
    const QImage& FittedImage(QSize deviceSize);

    QImage m_image;
    QImage m_fitted;
    QString m_message;
    Zoom m_zoom = Zoom::Fitted;
    QPointF m_pan;
    QPointF m_dragFrom;
    QPointF m_panAtDrag;
    bool m_dragging = false;
};
