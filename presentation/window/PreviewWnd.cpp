#include "presentation/window/PreviewWnd.h"

#include "presentation/window/PictureDecoder.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// The smallest box a picture is asked for, in view pixels: a pane not yet
// laid out still gets a picture worth showing.
constexpr int kMinimumBox = 64;

PreviewPicture WithoutDecoder(const QByteArray&, QSize) {
    PreviewPicture none;
    none.gap = PreviewGap::NoDecoder;
    return none;
}

} // namespace

CPreviewWnd::CPreviewWnd(QWidget* parent)
    : DockablePane(parent), m_body(ClientArea()), m_view(&m_body), m_histogram(&m_body),
      m_bar(&m_body), m_note(&m_bar), m_zoomButton(&m_bar), m_source(WithoutDecoder),
      m_queue(1, WorkQueue::Order::NewestFirst) {
    m_view.setObjectName(QStringLiteral("previewPicture"));
    m_view.setAccessibleName(QStringLiteral("Preview"));
    m_histogram.setObjectName(QStringLiteral("previewHistogram"));
    m_histogram.setAccessibleName(QStringLiteral("Histogram"));
    m_histogram.setAccessibleDescription(
        QStringLiteral("Luminance, red, green and blue levels of the picture shown"));
    m_note.setObjectName(QStringLiteral("previewNote"));
    m_note.setAccessibleName(QStringLiteral("Picture shown"));
    m_note.setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_note.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_zoomButton.setObjectName(QStringLiteral("previewZoom"));
    m_zoomButton.setText(QStringLiteral("100%"));
    m_zoomButton.setCheckable(true);
    m_zoomButton.setAccessibleName(QStringLiteral("Actual size"));
    m_zoomButton.setToolTip(
        QStringLiteral("Show the picture at 100% or fitted to the pane (double-click it)"));
    m_zoomButton.setFocusPolicy(Qt::StrongFocus);

    auto* bar = new QHBoxLayout(&m_bar);
    bar->setContentsMargins(4, 2, 2, 2);
    bar->addWidget(&m_note, 1);
    bar->addWidget(&m_zoomButton);
    auto* column = new QVBoxLayout(&m_body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(&m_view, 1);
    column->addWidget(&m_histogram);
    column->addWidget(&m_bar);
    setTabOrder(&m_view, &m_zoomButton);
    ClientArea()->setFocusProxy(&m_view);

    connect(&m_zoomButton, &QToolButton::toggled, this, [this](bool actual) {
        m_view.SetZoom(actual ? PreviewView::Zoom::Actual : PreviewView::Zoom::Fitted);
    });
    connect(&m_view, &PreviewView::zoomChanged, this, &CPreviewWnd::OnZoomChanged);
    // The decoder and the histogram take cores the click's rows and tags are
    // painted with: the picture is asked for a frame later (and only for the
    // last of photos chosen in quick succession).
    m_afterRows.setSingleShot(true);
    m_afterRows.setInterval(kAfterRowsMs);
    connect(&m_afterRows, &QTimer::timeout, this, [this] { Request(false); });
    m_resizeSettle.setSingleShot(true);
    m_resizeSettle.setInterval(kResizeSettleMs);
    connect(&m_resizeSettle, &QTimer::timeout, this, &CPreviewWnd::SharpenAfterResize);
    m_view.installEventFilter(this);
    Clear();
}

// The jobs end before the object goes; their results still queued go with it.
CPreviewWnd::~CPreviewWnd() {
    m_queue.Cancel();
    m_queue.WaitForDone();
}

void CPreviewWnd::SetSource(Source source) {
    if (source)
        m_source = std::move(source);
}

CPreviewWnd::Source CPreviewWnd::DecodedBy(std::shared_ptr<PictureDecoder> decoder) {
    if (!decoder)
        return WithoutDecoder;
    return [decoder = std::move(decoder)](const QByteArray& path, QSize box) {
        return PictureForPreview(*decoder, path, box);
    };
}

QString CPreviewWnd::GapText(PreviewGap gap) {
    switch (gap) {
    case PreviewGap::None:
        return {};
    case PreviewGap::Unreadable:
        return QStringLiteral("This file cannot be read.");
    case PreviewGap::RawWithoutPreview:
        return QStringLiteral("This raw file has no preview that can be shown.");
    case PreviewGap::VideoWithoutFrame:
        return QStringLiteral("No picture of this video can be shown.");
    case PreviewGap::Undecodable:
        return QStringLiteral("This picture cannot be decoded.");
    case PreviewGap::DecodeFailed:
        return OutcomeText(DecodeOutcome::Failed);
    case PreviewGap::NoDecoder:
        return OutcomeText(DecodeOutcome::Unavailable);
    }
    return {};
}

QSize CPreviewWnd::FittedBox() const {
    const QSize view = m_view.size().expandedTo({kMinimumBox, kMinimumBox});
    return (QSizeF(view) * m_view.devicePixelRatioF()).toSize();
}

void CPreviewWnd::Clear() {
    m_afterRows.stop();
    m_ticket = m_queue.Cancel();
    m_path.clear();
    m_shown = PreviewPicture();
    m_shownBox = QSize();
    m_stale = false;
    m_view.SetMessage(QStringLiteral("No photo chosen."));
    m_view.setAccessibleDescription(QString());
    m_histogram.Clear();
    m_zoomButton.setEnabled(false);
    UpdateNote();
}

void CPreviewWnd::ShowFile(const QByteArray& path) {
    m_path = path;
    m_view.setAccessibleName(QStringLiteral("Preview of ") +
                             QFileInfo(QFile::decodeName(path)).fileName());
    if (!IsPaneVisible() || !m_view.isVisible()) {
        // Nothing is decoded for a pane nobody sees; what it showed is stale.
        m_afterRows.stop();
        m_ticket = m_queue.Cancel();
        m_stale = true;
        return;
    }
    // Each photo starts fitted.
    m_afterRows.start();
}

void CPreviewWnd::Request(bool full) {
    m_afterRows.stop();
    m_stale = false;
    const QSize box = full ? QSize() : FittedBox();
    m_ticket = m_queue.Cancel();
    m_queue.Post([this, ticket = m_ticket, current = m_queue.GenerationCounter(), source = m_source,
                  path = m_path, box] {
        if (current->load() != ticket)
            return;
        PreviewPicture picture = source(path, box);
        if (current->load() != ticket)
            return;
        // Counted here, so the window thread only paints it.
        const Histogram histogram = HistogramOf(picture.image);
        QMetaObject::invokeMethod(
            this,
            [this, ticket, path, box, picture = std::move(picture), histogram] {
                Receive(ticket, path, box, picture, histogram);
            },
            Qt::QueuedConnection);
    });
}

void CPreviewWnd::Receive(quint64 ticket, const QByteArray& path, QSize box, PreviewPicture picture,
                          const Histogram& histogram) {
    if (ticket != m_ticket || path != m_path)
        return;
    const bool samePhoto = !m_shown.image.isNull() && m_shownPath == path;
    m_shown = std::move(picture);
    m_shownBox = box;
    m_shownPath = path;
    if (m_shown.image.isNull()) {
        m_view.SetMessage(GapText(m_shown.gap));
        m_view.setAccessibleDescription(m_view.Message());
        m_histogram.Clear();
        m_zoomButton.setEnabled(false);
    } else {
        m_shown.image.setDevicePixelRatio(m_view.devicePixelRatioF());
        m_view.SetPicture(m_shown.image, samePhoto);
        m_histogram.SetHistogram(histogram);
        m_zoomButton.setEnabled(true);
    }
    {
        const QSignalBlocker quiet(m_zoomButton);
        m_zoomButton.setChecked(m_view.GetZoom() == PreviewView::Zoom::Actual);
    }
    UpdateNote();
    emit pictureShown();
}

void CPreviewWnd::UpdateNote() {
    QString text;
    if (!m_shown.image.isNull()) {
        const QSize full = m_shown.fullSize.isValid() ? m_shown.fullSize : m_shown.image.size();
        text = QStringLiteral("%1 × %2").arg(full.width()).arg(full.height());
        if (m_shown.origin == PreviewOrigin::Embedded)
            text += QStringLiteral(", embedded preview %1 × %2")
                        .arg(m_shown.image.width())
                        .arg(m_shown.image.height());
    }
    m_note.setText(text);
    if (!text.isEmpty())
        m_view.setAccessibleDescription(text + (m_view.GetZoom() == PreviewView::Zoom::Actual
                                                    ? QStringLiteral(", at 100%")
                                                    : QStringLiteral(", fitted")));
}

void CPreviewWnd::OnZoomChanged(PreviewView::Zoom zoom) {
    {
        const QSignalBlocker quiet(m_zoomButton);
        m_zoomButton.setChecked(zoom == PreviewView::Zoom::Actual);
    }
    UpdateNote();
    // 100% wants the photo's own pixels, which a fitted picture does not have.
    if (zoom == PreviewView::Zoom::Actual && !m_path.isEmpty() && !m_shownBox.isEmpty())
        Request(true);
}

void CPreviewWnd::SharpenAfterResize() {
    if (m_path.isEmpty() || m_view.GetZoom() != PreviewView::Zoom::Fitted)
        return;
    if (m_stale) {
        Request(false);
        return;
    }
    // A larger pane wants a larger picture, when the photo has one.
    const QSize box = FittedBox();
    const QSize full = m_shown.fullSize;
    const QSize image = m_shown.image.size();
    if (!m_shown.image.isNull() && !m_shownBox.isEmpty() && !Covers(image, box) && full.isValid() &&
        (full.width() > image.width() || full.height() > image.height()))
        Request(false);
}

bool CPreviewWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_view && event->type() == QEvent::Resize)
        m_resizeSettle.start();
    return DockablePane::eventFilter(watched, event);
}

void CPreviewWnd::ClientShown() {
    if (m_stale && !m_path.isEmpty())
        Request(m_view.GetZoom() == PreviewView::Zoom::Actual);
}
