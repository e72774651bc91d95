#include "presentation/window/PreviewAccessible.h"

#include "presentation/window/HistogramView.h"
#include "presentation/window/PreviewView.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface* PreviewAccessibleFactory(const QString&, QObject* object) {
    if (auto* view = qobject_cast<PreviewView*>(object))
        return new QAccessibleWidget(view, QAccessible::Graphic);
    if (auto* chart = qobject_cast<HistogramView*>(object))
        return new QAccessibleWidget(chart, QAccessible::Chart);
    return nullptr;
}

} // namespace

void InstallPreviewAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(PreviewAccessibleFactory);
        return true;
    }();
    (void)installed;
}
