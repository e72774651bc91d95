#pragma once

#include "framework/ribbon/RibbonElement.h"

#include <QFrame>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QPointer>

class QVBoxLayout;

// A push button of the ribbon. Its images are indices into the small and
// large image strips of its category (-1: no image of that size), or one icon
// of its own. A button with a large image shows large in a panel.
//
// It may drop down either a menu or a list of sub-items (other elements).
// With a command of its own and the default-command option on, it is a split
// button: the arrow part drops down, the rest issues the command. In the main
// panel of the application button the sub-items show to the right of the
// column instead of in a popup.
class RibbonButton : public RibbonElement {
    Q_OBJECT
public:
    RibbonButton(unsigned id, const QString& text, int smallImage = -1, int largeImage = -1,
                 bool alwaysShowDescription = false);
    RibbonButton(unsigned id, const QString& text, const QIcon& icon,
                 bool alwaysShowDescription = false);

    int SmallImageIndex() const { return m_smallIndex; }
    int LargeImageIndex() const { return m_largeIndex; }
    QIcon Icon() const { return m_icon; }
    // The images as shown; null when the button has none of that size.
    QPixmap SmallImage() const { return m_small; }
    QPixmap LargeImage() const { return m_large; }
    bool IsAlwaysShowDescription() const { return m_alwaysShowDescription; }

    // Takes ownership of `item`; -1 appends.
    void AddSubItem(RibbonElement* item, int index = -1);
    QList<RibbonElement*> SubItems() const;
    // The widget holding the sub-items, one under the other.
    QWidget* SubItemsView();

    // Takes ownership of `menu`. Without a default command the whole button
    // drops the menu down; right-aligned menus end at the button's right edge.
    void SetMenu(QMenu* menu, bool isDefaultCommand = false, bool rightAlign = false);
    QMenu* Menu() const { return m_menu; }
    bool IsDefaultCommand() const { return m_defaultCommand; }
    bool IsMenuRightAligned() const { return m_rightAlign; }
    bool HasDropDown() const;
    bool IsSplit() const;
    void ShowDropDown();
    bool IsDropDownShown() const;

    void Attach(RibbonBar* bar, const RibbonCategory* category) override;
    // The command, or the drop-down of a button that has no command part.
    void Click() override;
    bool CanBeLarge() const override { return m_largeIndex >= 0; }
    bool AcceptsKeyTip() const override;
    bool ActivateKeyTip(bool menuKeys) override;
    QList<RibbonElement*> KeyTipChildren() const override;
    void CloseKeyTipLevel() override;
    QPoint KeyTipAnchor(bool menuKeys) const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

    // The part of a split button that drops down.
    QRect DropDownRect() const;
    // Lit: under the mouse, pressed, or showing its drop-down.
    bool IsLit() const;
    void UpdateImages();

private:
    void PaintLarge(QPainter& painter);
    void DrawSplitLine(QPainter& painter, const QLine& line) const;
    void PaintSmall(QPainter& painter);
    void PaintMenuItem(QPainter& painter);
    void PaintDescribed(QPainter& painter);
    QStringList LargeLabelLines() const;
    void ForwardMenuStatus(const QString& text);

    int m_smallIndex = -1;
    int m_largeIndex = -1;
    QIcon m_icon;
    QPixmap m_small;
    QPixmap m_large;
    bool m_alwaysShowDescription = false;

    QList<QPointer<RibbonElement>> m_subItems;
    QPointer<QWidget> m_subItemsView;
    QVBoxLayout* m_subItemsLayout = nullptr;
    QPointer<QFrame> m_popup;

    QPointer<QMenu> m_menu;
    bool m_defaultCommand = true;
    bool m_rightAlign = false;
    bool m_menuShown = false;
};
