#include "presentation/window/BarChartAccessible.h"

#include "presentation/window/BarChartView.h"

#include <QAccessibleWidget>
#include <QLocale>
#include <QPointer>

#include <vector>

namespace {

class BarAccessible;

// The chart: a list whose items are its bars.
class ChartAccessible final : public QAccessibleWidget {
public:
    explicit ChartAccessible(BarChartView* chart) : QAccessibleWidget(chart, QAccessible::List) {}
    // The bars' interfaces go with the chart's.
    ~ChartAccessible() override {
        for (const QAccessible::Id id : m_bars)
            QAccessible::deleteAccessibleInterface(id);
    }

    BarChartView* Chart() const { return static_cast<BarChartView*>(widget()); }
    int childCount() const override { return int(Chart()->Bars().size()); }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override {
        return Chart()->hasFocus() ? child(Chart()->CurrentBar()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return child(Chart()->BarAt(Chart()->mapFromGlobal(QPoint(x, y))));
    }

private:
    // Qt keeps interfaces by id: each bar's is made once, when first asked.
    mutable std::vector<QAccessible::Id> m_bars;
};

// One bar: an item named "label: count", pressed as a click on it would.
class BarAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    BarAccessible(BarChartView* chart, int index) : m_chart(chart), m_index(index) {}

    bool isValid() const override { return m_chart && m_index < int(m_chart->Bars().size()); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_chart ? m_chart->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_chart);
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name)
            return {};
        const BarChartView::Bar& bar = m_chart->Bars()[size_t(m_index)];
        QLocale locale;
        locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
        return QStringLiteral("%1: %2").arg(bar.label, locale.toString(qulonglong(bar.count)));
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect row = m_chart->RowRect(m_index);
        return {m_chart->mapToGlobal(row.topLeft()), row.size()};
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.focusable = true;
        s.selectable = true;
        const bool current = m_chart->CurrentBar() == m_index;
        s.selected = current;
        s.focused = current && m_chart->hasFocus();
        s.invisible = !m_chart->isVisible();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    // QAccessibleActionInterface
    QStringList actionNames() const override {
        if (!isValid() || !m_chart->Bars()[size_t(m_index)].active)
            return {QAccessibleActionInterface::setFocusAction()};
        return {QAccessibleActionInterface::pressAction(),
                QAccessibleActionInterface::setFocusAction()};
    }
    void doAction(const QString& name) override {
        if (!isValid())
            return;
        if (name == QAccessibleActionInterface::setFocusAction()) {
            m_chart->setFocus(Qt::OtherFocusReason);
            m_chart->SetCurrentBar(m_index);
        } else if (name == QAccessibleActionInterface::pressAction() &&
                   m_chart->Bars()[size_t(m_index)].active) {
            m_chart->SetCurrentBar(m_index);
            emit m_chart->barActivated(m_index);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int Index() const { return m_index; }

private:
    QPointer<BarChartView> m_chart;
    int m_index;
};

QAccessibleInterface* ChartAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    while (m_bars.size() <= size_t(index))
        m_bars.push_back(QAccessible::registerAccessibleInterface(
            new BarAccessible(Chart(), int(m_bars.size()))));
    return QAccessible::accessibleInterface(m_bars[size_t(index)]);
}

int ChartAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* bar = dynamic_cast<const BarAccessible*>(child);
    return bar && bar->parent() == this ? bar->Index() : -1;
}

QAccessibleInterface* BarChartFactory(const QString&, QObject* object) {
    if (auto* chart = qobject_cast<BarChartView*>(object))
        return new ChartAccessible(chart);
    return nullptr;
}

} // namespace

void InstallBarChartAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(BarChartFactory);
        return true;
    }();
    (void)installed;
}
