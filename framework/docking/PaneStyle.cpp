#include "framework/docking/PaneStyle.h"

Qt::DockWidgetAreas DockAreasFromMask(quint32 mask) {
    Qt::DockWidgetAreas areas;
    if (mask & PaneStyle::AlignLeft)
        areas |= Qt::LeftDockWidgetArea;
    if (mask & PaneStyle::AlignTop)
        areas |= Qt::TopDockWidgetArea;
    if (mask & PaneStyle::AlignRight)
        areas |= Qt::RightDockWidgetArea;
    if (mask & PaneStyle::AlignBottom)
        areas |= Qt::BottomDockWidgetArea;
    return areas;
}

Qt::ToolBarAreas ToolBarAreasFromMask(quint32 mask) {
    Qt::ToolBarAreas areas;
    if (mask & PaneStyle::AlignLeft)
        areas |= Qt::LeftToolBarArea;
    if (mask & PaneStyle::AlignTop)
        areas |= Qt::TopToolBarArea;
    if (mask & PaneStyle::AlignRight)
        areas |= Qt::RightToolBarArea;
    if (mask & PaneStyle::AlignBottom)
        areas |= Qt::BottomToolBarArea;
    return areas;
}

Qt::DockWidgetArea DockAreaFromStyle(quint32 style) {
    if (style & PaneStyle::AlignLeft)
        return Qt::LeftDockWidgetArea;
    if (style & PaneStyle::AlignTop)
        return Qt::TopDockWidgetArea;
    if (style & PaneStyle::AlignRight)
        return Qt::RightDockWidgetArea;
    if (style & PaneStyle::AlignBottom)
        return Qt::BottomDockWidgetArea;
    return Qt::NoDockWidgetArea;
}

Qt::ToolBarArea ToolBarAreaFor(Qt::DockWidgetArea area) {
    switch (area) {
    case Qt::LeftDockWidgetArea:
        return Qt::LeftToolBarArea;
    case Qt::RightDockWidgetArea:
        return Qt::RightToolBarArea;
    case Qt::TopDockWidgetArea:
        return Qt::TopToolBarArea;
    case Qt::BottomDockWidgetArea:
        return Qt::BottomToolBarArea;
    default:
        return Qt::NoToolBarArea;
    }
}
