#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

class RibbonBar;
class RibbonCategory;
class RibbonElement;

// A captioned group of elements in a category. Elements that can show large
// take a column of their own; the others stack in columns of up to three.
// The icon stands for the panel where it is shown collapsed.
class RibbonPanel : public QWidget {
    Q_OBJECT
public:
    // `name` follows "caption\nkey tip".
    explicit RibbonPanel(const QString& name, const QIcon& icon = QIcon(),
                         QWidget* parent = nullptr);

    QString Name() const { return m_name; }
    QString KeyTip() const { return m_keys; }
    QIcon Icon() const { return m_icon; }

    // Takes ownership of `element`.
    void Add(RibbonElement* element);
    QList<RibbonElement*> Elements() const { return m_elements; }

    void Attach(RibbonBar* bar, const RibbonCategory* category);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Column {
        QList<RibbonElement*> elements;
        int width = 0;
    };
    QList<Column> Columns() const;
    void Relayout();

    QString m_name;
    QString m_keys;
    QIcon m_icon;
    QList<RibbonElement*> m_elements;
    RibbonBar* m_bar = nullptr;
    const RibbonCategory* m_category = nullptr;
};
