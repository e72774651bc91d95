#pragma once

#include <QList>
#include <QWidget>

class RibbonBar;
class RibbonButton;

// The quick-access toolbar: small image-only buttons for a list of commands,
// each showing the small image of the first ribbon element that issues the
// same command. Their key tips are 1, 2, 3 and on.
class RibbonQuickAccessBar : public QWidget {
    Q_OBJECT
public:
    explicit RibbonQuickAccessBar(RibbonBar* bar);

    void SetCommands(const QList<unsigned>& ids);
    QList<unsigned> Commands() const { return m_ids; }
    QList<RibbonButton*> Buttons() const { return m_buttons; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Relayout();

    RibbonBar* m_bar;
    QList<unsigned> m_ids;
    QList<RibbonButton*> m_buttons;
};
