#pragma once

#include "framework/styles/ThemeColours.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class QAction;
class RibbonBar;
class RibbonCategory;

// How a container shows an element: in a panel at full height (Large) or in
// a row of up to three (Small); in the column of the application button's
// main panel (Menu: large image, label beside it); or as a drop-down entry
// that always shows its description (Described).
enum class RibbonLook { Small, Large, Menu, Described };

// One element of the ribbon: a widget that issues a command through the
// router's shared QAction for its id, follows that action's enabled and check
// state, shows its title and description as a tooltip, puts the command's
// prompt on the status bar while the mouse is over it, and can be reached by
// its key tip.
//
// Texts follow the resource convention "label\nkey tip": "Paste\nv" shows
// "Paste" with the key tip "v"; "\nf" shows no label. An ampersand marks the
// access letter ("&New"); it also serves as key tip when none is given.
class RibbonElement : public QWidget {
    Q_OBJECT
public:
    static constexpr unsigned kNoCommand = 0;

    explicit RibbonElement(unsigned id = kNoCommand, const QString& text = QString(),
                           QWidget* parent = nullptr);

    unsigned Id() const { return m_id; }

    // Splits `text` into label and key tip (when it has one).
    void SetText(const QString& text);
    // The label as given, access mark included ("&New").
    QString Text() const { return m_label; }
    // The label as shown: access marks removed.
    QString DisplayText() const;
    // `label` without its access marks ("&&" stays one "&").
    static QString WithoutAccessMarks(const QString& label);

    void SetKeys(const QString& keys, const QString& menuKeys = QString());
    // The key tip: the one given, else the access letter, else none.
    QString KeyTip() const;
    // The key tip that opens the element's drop-down, when it has one.
    QString MenuKeyTip() const { return m_menuKeys; }

    // The tooltip's title: the one given, else the command's tooltip, else
    // the label. Its description: the one given, else the command's prompt.
    void SetToolTipText(const QString& title);
    QString ToolTipText() const;
    void SetDescription(const QString& description);
    QString Description() const;
    // Bold title over the description, as the tooltip shows them.
    QString ToolTipHtml() const;

    // The command's shared action. Attaching to a ribbon with a router sets it
    // from the element's id.
    void SetAction(QAction* action);
    QAction* Action() const { return m_action; }

    RibbonBar* Bar() const { return m_bar; }
    const RibbonCategory* Category() const { return m_category; }
    // Places the element in `category` of `bar`; elements it holds follow.
    virtual void Attach(RibbonBar* bar, const RibbonCategory* category);

    void SetLook(RibbonLook look);
    RibbonLook Look() const { return m_look; }
    virtual bool CanBeLarge() const { return false; }

    // Key tips. ActivateKeyTip does what typing the key tip does; it returns
    // true when the element opened a level of key tips of its own, listed by
    // KeyTipChildren and closed again by CloseKeyTipLevel.
    virtual bool AcceptsKeyTip() const { return isEnabled(); }
    virtual bool ActivateKeyTip(bool menuKeys);
    virtual QList<RibbonElement*> KeyTipChildren() const { return {}; }
    virtual void CloseKeyTipLevel() {}
    // Where the key tip's badge is centred, in global coordinates.
    virtual QPoint KeyTipAnchor(bool menuKeys) const;

    // Does what a left click on the element does; nothing when it is
    // disabled or does nothing when clicked. Assistive technology and the
    // keyboard (Enter or Space on the focused element) act through it.
    virtual void Click() {}

    const ThemeColours& Colours() const;

signals:
    // The element issued its command, or was chosen; popups close on it.
    void commandIssued();

protected:
    // Issues the element's command (when enabled) after telling its popup.
    void Issue();
    virtual void SyncFromAction();
    virtual void LookChanged() {}

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Lit as under the mouse: pointed at, or given the keyboard focus.
    bool IsHot() const { return (underMouse() || hasFocus()) && isEnabled(); }

    // A left press arms the element; releasing the button over it issues
    // the command. Elements that act on clicks call Press from their press
    // handler.
    void Press();
    void CancelPress();
    bool IsPressed() const { return m_pressed; }
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    unsigned m_id;
    QString m_label;
    QString m_keys;
    QString m_menuKeys;
    QString m_toolTip;
    QString m_description;
    QPointer<QAction> m_action;
    RibbonBar* m_bar = nullptr;
    const RibbonCategory* m_category = nullptr;
    RibbonLook m_look = RibbonLook::Small;
    bool m_pressed = false;
    // The action's check mark as last told to assistive technology.
    bool m_checked = false;
};
