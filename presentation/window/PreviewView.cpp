#include "presentation/window/PreviewView.h"

#include "presentation/window/PreviewAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

PreviewView::PreviewView(QWidget* parent) : QWidget(parent) {
    InstallPreviewAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(32, 32);
}

void PreviewView::SetPicture(const QImage& image, bool keepPlace) {
    // The point of the photo in the middle of the view, as a share of its size.
    const QRectF before = PictureRect();
    const QPointF middle(width() / 2.0, height() / 2.0);
    const QPointF share =
        before.isEmpty()
            ? QPointF(0.5, 0.5)
            : QPointF(std::clamp((middle.x() - before.left()) / before.width(), 0.0, 1.0),
                      std::clamp((middle.y() - before.top()) / before.height(), 0.0, 1.0));
    m_image = image;
    m_fitted = QImage();
    m_message.clear();
    if (!keepPlace) {
        m_pan = {};
        m_zoom = Zoom::Fitted;
    } else {
        // A sharper picture of the same photo: the same point stays in the middle.
        const QSizeF after = ActualSize();
        m_pan = QPointF(share.x() * after.width(), share.y() * after.height()) - middle;
    }
    SetPan(m_pan);
    UpdateCursor();
    update();
}

void PreviewView::SetMessage(const QString& text) {
    m_image = QImage();
    m_fitted = QImage();
    m_message = text;
    m_pan = {};
    m_zoom = Zoom::Fitted;
    UpdateCursor();
    update();
}

void PreviewView::SetZoom(Zoom zoom) {
    if (zoom == m_zoom)
        return;
    // The middle of what is shown stays in the middle.
    const QRectF shown = PictureRect();
    const QSizeF actual = ActualSize();
    QPointF centre(actual.width() / 2, actual.height() / 2);
    if (zoom == Zoom::Actual && !shown.isEmpty()) {
        const QPointF middle = QRectF(rect()).center() - shown.topLeft();
        centre = {middle.x() * actual.width() / shown.width(),
                  middle.y() * actual.height() / shown.height()};
    }
    m_zoom = zoom;
    SetPan(centre - QPointF(width() / 2.0, height() / 2.0));
    UpdateCursor();
    update();
    emit zoomChanged(zoom);
}

void PreviewView::ToggleZoom() {
    SetZoom(m_zoom == Zoom::Fitted ? Zoom::Actual : Zoom::Fitted);
}

QSizeF PreviewView::ActualSize() const {
    if (m_image.isNull())
        return {};
    return QSizeF(m_image.size()) / m_image.devicePixelRatio();
}

QPointF PreviewView::MaxPan() const {
    const QSizeF actual = ActualSize();
    return {std::max(0.0, actual.width() - width()), std::max(0.0, actual.height() - height())};
}

void PreviewView::SetPan(QPointF pan) {
    const QPointF most = MaxPan();
    m_pan = {std::clamp(pan.x(), 0.0, most.x()), std::clamp(pan.y(), 0.0, most.y())};
    update();
}

QRectF PreviewView::PictureRect() const {
    const QSizeF actual = ActualSize();
    if (actual.isEmpty())
        return {};
    if (m_zoom == Zoom::Fitted) {
        const double scale = std::min({1.0, width() / actual.width(), height() / actual.height()});
        const QSizeF shown = actual * scale;
        return {QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown};
    }
    // A picture smaller than the view stays in its middle.
    const double x = actual.width() < width() ? (width() - actual.width()) / 2 : -m_pan.x();
    const double y = actual.height() < height() ? (height() - actual.height()) / 2 : -m_pan.y();
    return {QPointF(x, y), actual};
}

void PreviewView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (m_image.isNull()) {
        painter.setPen(palette().color(QPalette::BrightText));
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         m_message);
    } else {
        const QRectF target = PictureRect();
        if (m_zoom == Zoom::Fitted) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            const qreal ratio = devicePixelRatioF();
            painter.drawImage(target, FittedImage((target.size() * ratio).toSize()));
        } else {
            painter.drawImage(target, m_image);
        }
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

const QImage& PreviewView::FittedImage(QSize deviceSize) {
    if (m_image.width() <= deviceSize.width() * 2 && m_image.height() <= deviceSize.height() * 2)
        return m_image; // little to gain, painting scales it well enough
    if (m_fitted.isNull() || m_fitted.size() != deviceSize)
        m_fitted = m_image.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return m_fitted;
}

void PreviewView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SetPan(m_pan);
    UpdateCursor();
}

void PreviewView::keyPressEvent(QKeyEvent* event) {
    if (m_zoom != Zoom::Actual || m_image.isNull()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const QPointF most = MaxPan();
    switch (event->key()) {
    case Qt::Key_Left:
        SetPan(m_pan - QPointF(kArrowStep, 0));
        break;
    case Qt::Key_Right:
        SetPan(m_pan + QPointF(kArrowStep, 0));
        break;
    case Qt::Key_Up:
        SetPan(m_pan - QPointF(0, kArrowStep));
        break;
    case Qt::Key_Down:
        SetPan(m_pan + QPointF(0, kArrowStep));
        break;
    case Qt::Key_PageUp:
        SetPan(m_pan - QPointF(0, height() * 0.9));
        break;
    case Qt::Key_PageDown:
        SetPan(m_pan + QPointF(0, height() * 0.9));
        break;
    case Qt::Key_Home:
        SetPan({0, 0});
        break;
    case Qt::Key_End:
        SetPan(most);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PreviewView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_zoom == Zoom::Actual && !m_image.isNull()) {
        m_dragging = true;
        m_dragFrom = event->position();
        m_panAtDrag = m_pan;
        UpdateCursor();
    }
    QWidget::mousePressEvent(event);
}

void PreviewView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging)
        SetPan(m_panAtDrag - (event->position() - m_dragFrom));
    QWidget::mouseMoveEvent(event);
}

void PreviewView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        UpdateCursor();
    }
    QWidget::mouseReleaseEvent(event);
}

void PreviewView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !m_image.isNull())
        ToggleZoom();
    QWidget::mouseDoubleClickEvent(event);
}

void PreviewView::UpdateCursor() {
    const QPointF most = MaxPan();
    if (m_zoom == Zoom::Actual && (most.x() > 0 || most.y() > 0))
        setCursor(m_dragging ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    else
        unsetCursor();
}
