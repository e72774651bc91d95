#pragma once

#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonKeyTips.h"
#include "framework/styles/ThemeColours.h"

#include <QList>
#include <QPointer>
#include <QSize>
#include <QWidget>

class CommandRouter;
class RibbonCategory;
class RibbonElement;
class RibbonMainPanel;
class RibbonQuickAccessBar;
class VisualStyles;

// The ribbon: a row with the application button and the quick-access
// toolbar, the tab row with a tab per category and elements of its own at the
// right end, and under them the panels of the active category.
//
// Elements name their commands by id; the ribbon gives each the router's
// shared action for it, so set the router before adding elements. The colours
// follow the visual styles given to FollowVisualStyles.
class RibbonBar : public QWidget {
    Q_OBJECT
public:
    explicit RibbonBar(QWidget* parent = nullptr);
    ~RibbonBar() override;

    void SetCommandRouter(CommandRouter* router) { m_router = router; }
    CommandRouter* Router() const { return m_router; }

    void SetColours(const ThemeColours& colours);
    const ThemeColours& Colours() const { return m_colours; }
    void FollowVisualStyles(const VisualStyles& styles);

    // The button stays owned by the caller; the ribbon shows it at `size`.
    void SetApplicationButton(RibbonApplicationButton* button, QSize size);
    RibbonApplicationButton* ApplicationButton() const { return m_appButton; }

    // The category behind the application button; returns its main panel.
    RibbonMainPanel* AddMainCategory(const QString& name, unsigned smallBitmap,
                                     unsigned largeBitmap, QSize smallSize = QSize(16, 16),
                                     QSize largeSize = QSize(32, 32));
    RibbonCategory* MainCategory() const { return m_mainCategory; }

    // A category with a tab, inserted at `index` (-1: after the last one).
    RibbonCategory* AddCategory(const QString& name, unsigned smallBitmap, unsigned largeBitmap,
                                QSize smallSize = QSize(16, 16), QSize largeSize = QSize(32, 32),
                                int index = -1);
    QList<RibbonCategory*> Categories() const { return m_categories; }
    RibbonCategory* ActiveCategory() const { return m_active; }
    void SetActiveCategory(RibbonCategory* category);

    // Takes ownership of `element` and puts it at the right end of the tab row.
    void AddToTabs(RibbonElement* element);
    QList<RibbonElement*> TabElements() const { return m_tabElements; }

    void SetQuickAccessCommands(const QList<unsigned>& ids, bool recalcLayout = true);
    QList<unsigned> QuickAccessCommands() const;
    RibbonQuickAccessBar* QuickAccessBar() const { return m_quickAccess; }

    // The first element issuing `id`: main panel, categories, then the tab row.
    RibbonElement* FindById(unsigned id) const;

    // The elements whose key tips show first: application button, quick
    // access, tabs, tab row.
    QList<RibbonElement*> KeyTipElements() const;
    RibbonKeyTips& KeyTips() { return m_keyTips; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Relayout();
    int TabsLeft() const;
    void RepaintAll();

    CommandRouter* m_router = nullptr;
    ThemeColours m_colours;
    QPointer<RibbonApplicationButton> m_appButton;
    QSize m_appButtonSize;
    RibbonCategory* m_mainCategory = nullptr;
    QList<RibbonCategory*> m_categories;
    RibbonCategory* m_active = nullptr;
    QList<RibbonElement*> m_tabElements;
    RibbonQuickAccessBar* m_quickAccess;
    RibbonKeyTips m_keyTips;
};
