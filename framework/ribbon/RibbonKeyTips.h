#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QKeyEvent;
class RibbonBar;
class RibbonElement;
class RibbonKeyTipBadge;

// Keyboard access to the ribbon. Pressing and releasing Alt shows the key
// tips of the first level (application button, quick access, tabs, the tab
// row's elements); typing a key tip acts on its element. An element that
// opens something (the main panel, a tab's category, a list of sub-items)
// leads to the next level; any other ends the key tips. Escape goes back one
// level, and ends them at the first; Alt or a mouse click ends them at once.
// Alt with a first-level key tip goes there directly.
//
// Elements without a key tip of their own get the first free letter of their
// label.
class RibbonKeyTips : public QObject {
    Q_OBJECT
public:
    explicit RibbonKeyTips(RibbonBar& bar);
    ~RibbonKeyTips() override;

    bool IsActive() const { return m_active; }
    // Shows the first level.
    void Start();
    // Hides the key tips; the popups they opened stay open.
    void End();
    // Acts as typing `text`; false when no key tip of the level matches.
    bool Type(const QString& text);
    // Escape: closes the current level and shows the one before.
    void Back();

    // The key tips of the level shown, in the order of their elements.
    QStringList ShownKeyTips() const;
    RibbonElement* ElementOf(const QString& keys) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tip {
        QString keys;
        QPointer<RibbonElement> element;
        bool menuKeys = false;
    };

    QList<RibbonElement*> LevelElements() const;
    std::vector<Tip> TipsOf(const QList<RibbonElement*>& elements) const;
    void ShowLevel();
    void ClearBadges();
    void Activate(const Tip& tip);
    void CloseLevels();
    bool HandleKey(QKeyEvent* event);
    bool BelongsToRibbon(QObject* object) const;
    void SetActive(bool active);

    RibbonBar& m_bar;
    std::vector<Tip> m_tips;
    QList<RibbonKeyTipBadge*> m_badges;
    // The elements that opened the levels after the first.
    QList<QPointer<RibbonElement>> m_levels;
    QString m_typed;
    bool m_active = false;
    bool m_altPending = false;
};
