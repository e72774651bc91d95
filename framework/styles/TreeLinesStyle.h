#pragma once

#include <QProxyStyle>

// Draws the dotted lines that join the items of a tree view to their parent,
// in trees that ask for them, under the themes that draw them; the expand
// arrows stay the base style's. A tree asks by setting
//
//     tree->setProperty(StyleRole::kTreeLines, true);
//
// and VisualStyles tells, through the same property on the application,
// whether the current theme draws such lines.
class TreeLinesStyle : public QProxyStyle {
    Q_OBJECT
public:
    TreeLinesStyle();

    // Whether lines are drawn in `widget` now.
    static bool LinesWanted(const QWidget* widget);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
