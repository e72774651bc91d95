#pragma once

#include "framework/docking/DockablePane.h"
#include "framework/views/WorkQueue.h"
#include "presentation/window/HistogramView.h"
#include "presentation/window/PreviewPicture.h"
#include "presentation/window/PreviewView.h"

#include <QByteArray>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <memory>

class PictureDecoder;

// The "Preview" pane: the chosen photo fitted into the pane and upright, its
// histogram under it, and a line saying what is shown with the button that
// toggles between fitted and 100% (as a double-click on the picture does).
//
// ShowFile returns at once: the picture is made on a thread of the pane's
// own, the newest request first, and a request that a newer one overtook is
// dropped unmade, or its picture dropped when it was being made. So the rows
// of the other panes are painted first and never wait, and moving through
// the list makes only the pictures it stops at. Pictures are asked at the
// screen's device pixel ratio; a pane hidden asks for none until shown.
class CPreviewWnd : public DockablePane {
    Q_OBJECT
public:
    // Makes the picture of a file for a box of device pixels (an empty box:
    // the photo at its own size); runs on the pane's thread.
    using Source = std::function<PreviewPicture(const QByteArray& path, QSize box)>;
    // How long the pane's size must stay still before a sharper picture is asked.
    static constexpr int kResizeSettleMs = 150;
    // How long after a photo is chosen its picture is asked for: a frame.
    static constexpr int kAfterRowsMs = 16;

    explicit CPreviewWnd(QWidget* parent = nullptr);
    ~CPreviewWnd() override;

    // Shows the picture of `path` (the name's bytes) once it is made.
    void ShowFile(const QByteArray& path);
    // Shows nothing, and drops what was asked.
    void Clear();
    // Where pictures come from. Until the frame hands one over (DecodedBy
    // its view's decoder) every file shows that there is no decoder.
    void SetSource(Source source);
    // PictureForPreview through `decoder`, which the source keeps alive.
    static Source DecodedBy(std::shared_ptr<PictureDecoder> decoder);

    // The file shown or being made; empty when none.
    const QByteArray& ShownPath() const { return m_path; }
    // What the picture shown came from, and the photo's own size.
    const PreviewPicture& Shown() const { return m_shown; }
    // Requests being made or waiting.
    int Pending() const { return m_queue.Pending(); }
    // The box, in device pixels, a fitted picture is asked for now.
    QSize FittedBox() const;

    PreviewView& Picture() { return m_view; }
    HistogramView& HistogramChart() { return m_histogram; }
    QToolButton& ZoomButton() { return m_zoomButton; }
    QLabel& Note() { return m_note; }

    // The text shown in place of a picture for `gap`.
    static QString GapText(PreviewGap gap);

signals:
    // A picture, or the text in its place, was shown for ShownPath().
    void pictureShown();

protected:
    void ClientShown() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Request(bool full);
    void Receive(quint64 ticket, const QByteArray& path, QSize box, PreviewPicture picture,
                 const Histogram& histogram);
    void OnZoomChanged(PreviewView::Zoom zoom);
    void SharpenAfterResize();
    void UpdateNote();

    QWidget m_body;
    PreviewView m_view;
    HistogramView m_histogram;
    QWidget m_bar;
    QLabel m_note;
    QToolButton m_zoomButton;
    QTimer m_resizeSettle;
    // A chosen photo is asked for once the window has painted its rows.
    QTimer m_afterRows;
    Source m_source;
    QByteArray m_path;
    PreviewPicture m_shown;
    QByteArray m_shownPath;
    // The box the shown picture was asked for (empty: the photo's own size).
    QSize m_shownBox;
    quint64 m_ticket = 0;
    // A file chosen while the pane was hidden: asked for once it shows.
    bool m_stale = false;
    // Last: its jobs end before the rest goes.
    WorkQueue m_queue;
};
