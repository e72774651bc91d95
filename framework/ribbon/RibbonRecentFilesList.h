#pragma once

#include "framework/ribbon/RibbonElement.h"

#include <QStringList>

// The list of recently used documents in the application button's main
// panel: a heading, then one numbered entry per document. Choosing entry i
// issues the command of recent-file slot i.
class RibbonRecentFilesList : public RibbonElement {
    Q_OBJECT
public:
    explicit RibbonRecentFilesList(const QString& label, int width = 300);

    int ListWidth() const { return m_width; }
    void SetFiles(const QStringList& paths);
    QStringList Files() const { return m_files; }

    bool AcceptsKeyTip() const override { return false; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int HeadingHeight() const;
    int EntryAt(const QPoint& pos) const;

    int m_width;
    QStringList m_files;
    int m_hot = -1;
};
