#include "framework/docking/AutoHideBar.h"
#include "framework/docking/AutoHideOverlay.h"
#include "framework/docking/AutoHideTab.h"
#include "framework/docking/DockablePane.h"
#include "framework/docking/DockingState.h"
#include "framework/docking/PaneStyle.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Creation styles of the two panes of the main window.
constexpr quint32 kLeftPaneStyle = 0x50C01408;
constexpr quint32 kRightPaneStyle = 0x56004140;
constexpr int kSlideTimeoutMs = 3000;

// A pane with one edit field, counting its layout passes.
class TestPane : public DockablePane {
public:
    explicit TestPane(bool createSucceeds = true) : m_createSucceeds(createSucceeds) {}
    QLineEdit* edit = nullptr;
    int layouts = 0;

protected:
    bool OnCreate() override {
        if (!m_createSucceeds)
            return false;
        edit = new QLineEdit(ClientArea());
        ClientArea()->setFocusProxy(edit);
        return true;
    }
    void AdjustLayout() override {
        ++layouts;
        DockablePane::AdjustLayout();
    }

private:
    bool m_createSucceeds;
};

class PanesFixture : public ::testing::Test {
protected:
    void SetUp() override {
        frame.setObjectName("MainFrame");
        central = new QLineEdit;
        frame.setCentralWidget(central);
        frame.resize(900, 600);
        EnableAutoHidePanes(&frame, PaneStyle::AlignAny);
        ASSERT_TRUE(
            left.Create("Folders", &frame, QRect(0, 0, 200, 200), true, 32822, kLeftPaneStyle));
        left.EnableDocking(0x5500);
        left.DockToFrame();
        ASSERT_TRUE(
            right.Create("Properties", &frame, QRect(0, 0, 250, 200), true, 157, kRightPaneStyle));
        right.EnableDocking(PaneStyle::AlignAny);
        right.DockToFrame();
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        // Keep the pointer off every tab and panel.
        QCursor::setPos(frame.mapToGlobal(QPoint(frame.width() / 2, frame.height() - 5)));
    }

    AutoHideBar* Bar(Qt::DockWidgetArea edge) { return AutoHideBar::ForEdge(&frame, edge); }

    QMainWindow frame;
    QLineEdit* central = nullptr;
    TestPane left;
    TestPane right;
};

} // namespace

TEST(PaneStyle, TranslatesEdgeMasksAndCreationStyles) {
    EXPECT_EQ(DockAreasFromMask(0x5500), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    EXPECT_EQ(DockAreasFromMask(0xF000), Qt::AllDockWidgetAreas);
    EXPECT_EQ(DockAreasFromMask(0), Qt::DockWidgetAreas());
    EXPECT_EQ(ToolBarAreasFromMask(0x2800), Qt::TopToolBarArea);
    EXPECT_EQ(DockAreaFromStyle(kLeftPaneStyle), Qt::LeftDockWidgetArea);
    EXPECT_EQ(DockAreaFromStyle(kRightPaneStyle), Qt::RightDockWidgetArea);
    EXPECT_EQ(DockAreaFromStyle(0x50000000), Qt::NoDockWidgetArea);
}

TEST_F(PanesFixture, CreationAppliesCaptionIdEdgesAndBehaviour) {
    EXPECT_EQ(left.windowTitle(), "Folders");
    EXPECT_EQ(left.TitleBar()->Caption(), "Folders");
    EXPECT_EQ(left.objectName(), "Pane32822");
    EXPECT_EQ(left.PaneId(), 32822);
    EXPECT_EQ(frame.dockWidgetArea(&left), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.dockWidgetArea(&right), Qt::RightDockWidgetArea);
    EXPECT_EQ(left.allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    EXPECT_TRUE(left.features().testFlag(QDockWidget::DockWidgetFloatable));
    EXPECT_TRUE(left.features().testFlag(QDockWidget::DockWidgetClosable));
    EXPECT_TRUE(left.IsPaneVisible());
    EXPECT_NEAR(left.width(), 200, 10);
    EXPECT_NEAR(right.width(), 250, 10);
    EXPECT_TRUE(left.TitleBar()->PinButton()->isVisible());
    EXPECT_TRUE(left.TitleBar()->CloseButton()->isVisible());

    // The edit field fills the client area, through the layout hook.
    EXPECT_GT(left.layouts, 0);
    EXPECT_EQ(left.edit->geometry(), left.ClientRect());
    left.setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return left.edit->hasFocus(); }, 1000));

    // No float, no close, no auto-hide: none offered; no Visible bit: hidden.
    TestPane plain;
    ASSERT_TRUE(plain.Create("Plain", &frame, QRect(0, 0, 100, 100), true, 7, 0x00008000,
                             PaneBehaviour::Resize));
    plain.DockToFrame();
    EXPECT_EQ(frame.dockWidgetArea(&plain), Qt::BottomDockWidgetArea);
    EXPECT_FALSE(plain.features().testFlag(QDockWidget::DockWidgetFloatable));
    EXPECT_FALSE(plain.features().testFlag(QDockWidget::DockWidgetClosable));
    EXPECT_FALSE(plain.IsPaneVisible());
    plain.show();
    QApplication::processEvents();
    EXPECT_FALSE(plain.TitleBar()->PinButton()->isVisible());
    EXPECT_FALSE(plain.TitleBar()->CloseButton()->isVisible());
    EXPECT_FALSE(plain.CanAutoHide());
    EXPECT_FALSE(plain.Create("Again", &frame, QRect(), true, 8, 0)); // only once

    TestPane failing(false);
    EXPECT_FALSE(failing.Create("Failing", &frame, QRect(0, 0, 100, 100), true, 9, 0));
}

TEST_F(PanesFixture, ClosingFromTheCaptionHidesThePane) {
    QTest::mouseClick(left.TitleBar()->CloseButton(), Qt::LeftButton);
    EXPECT_TRUE(left.isHidden());
    EXPECT_FALSE(left.IsPaneVisible());
    left.ShowPane(true, true);
    EXPECT_TRUE(left.IsPaneVisible());
    EXPECT_EQ(frame.dockWidgetArea(&left), Qt::LeftDockWidgetArea);
}

TEST_F(PanesFixture, PinCollapsesToATabAndPinningAgainRestoresTheDock) {
    ASSERT_FALSE(Bar(Qt::LeftDockWidgetArea)->isVisible());
    const int dockedWidth = left.width();
    QSignalSpy modeChanged(&left, &DockablePane::autoHideModeChanged);

    QTest::mouseClick(left.TitleBar()->PinButton(), Qt::LeftButton);
    ASSERT_TRUE(left.IsAutoHideMode());
    EXPECT_EQ(modeChanged.count(), 1);
    EXPECT_EQ(left.AutoHideEdge(), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(left.isHidden()); // gives its room to the centre
    EXPECT_TRUE(left.IsPaneVisible());
    AutoHideBar* bar = Bar(Qt::LeftDockWidgetArea);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }, 1000));
    EXPECT_EQ(frame.toolBarArea(bar), Qt::LeftToolBarArea);
    AutoHideTab* tab = left.AutoHideTabButton();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->text(), "Folders");
    EXPECT_TRUE(tab->isVisible());
    EXPECT_FALSE(left.IsSlidIn());

    // A click on the tab slides the pane in, focused, next to the bar.
    QTest::mouseClick(tab, Qt::LeftButton);
    AutoHideOverlay* overlay = left.Overlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return left.IsSlidIn() && overlay->width() == dockedWidth; },
                                kSlideTimeoutMs));
    EXPECT_EQ(overlay->geometry().left(), bar->geometry().right() + 1);
    EXPECT_TRUE(overlay->isAncestorOf(left.edit));
    EXPECT_TRUE(left.edit->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return left.edit->hasFocus(); }, 1000));
    EXPECT_TRUE(tab->isChecked());
    // With the focus inside, it stays although the pointer is elsewhere.
    QTest::qWait(AutoHideOverlay::kHideDelayMilliseconds + 200);
    EXPECT_TRUE(left.IsSlidIn());

    // Focus elsewhere: it slides away.
    central->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !overlay->isVisible(); }, kSlideTimeoutMs));
    EXPECT_FALSE(tab->isChecked());

    // Pinned from the slid-in caption: docked where it was, at its width.
    QTest::mouseClick(tab, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return left.IsSlidIn() && overlay->width() == dockedWidth; },
                                kSlideTimeoutMs));
    QTest::mouseClick(overlay->TitleBar()->PinButton(), Qt::LeftButton);
    EXPECT_FALSE(left.IsAutoHideMode());
    EXPECT_EQ(modeChanged.count(), 2);
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_FALSE(left.isHidden());
    EXPECT_EQ(frame.dockWidgetArea(&left), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(left.isAncestorOf(left.edit));
    EXPECT_EQ(left.AutoHideTabButton(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible(); }, 1000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return qAbs(left.width() - dockedWidth) <= 10; }, 1000));
    EXPECT_EQ(left.edit->geometry(), left.ClientRect());
}

TEST_F(PanesFixture, HoveringTheTabShowsThePaneUntilThePointerLeaves) {
    right.SetAutoHideMode(true);
    ASSERT_TRUE(right.IsAutoHideMode());
    AutoHideTab* tab = right.AutoHideTabButton();
    ASSERT_NE(tab, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tab->isVisible(); }, 1000));

    const QPointF inside(tab->rect().center());
    QEnterEvent enter(inside, tab->mapTo(&frame, inside), tab->mapToGlobal(inside));
    QApplication::sendEvent(tab, &enter);
    ASSERT_TRUE(QTest::qWaitFor([&] { return right.IsSlidIn(); }, kSlideTimeoutMs));
    // Slides in from the right edge, next to the bar there.
    const QRect bar = Bar(Qt::RightDockWidgetArea)->geometry();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return right.Overlay()->geometry().right() == bar.left() - 1; }, kSlideTimeoutMs));
    EXPECT_FALSE(right.edit->hasFocus());

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(tab, &leave);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !right.Overlay()->isVisible(); },
                                AutoHideOverlay::kHideDelayMilliseconds + kSlideTimeoutMs));
}

TEST_F(PanesFixture, ACollapsedPaneHidesAndShowsThroughItsTab) {
    left.SetAutoHideMode(true);
    AutoHideBar* bar = Bar(Qt::LeftDockWidgetArea);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }, 1000));
    QTest::mouseClick(left.AutoHideTabButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return left.IsSlidIn() && left.Overlay()->width() == left.DockedExtent(); },
        kSlideTimeoutMs));

    // The slid-in caption's close button hides pane and tab.
    QTest::mouseClick(left.Overlay()->TitleBar()->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(left.IsPaneVisible());
    EXPECT_FALSE(left.Overlay()->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !bar->isVisible(); }, 1000));
    EXPECT_TRUE(left.IsAutoHideMode());

    left.ShowPane(true, true);
    EXPECT_TRUE(left.IsPaneVisible());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return bar->isVisible() && left.IsSlidIn(); }, kSlideTimeoutMs));
    EXPECT_TRUE(left.isHidden()); // still collapsed, not docked
}

TEST_F(PanesFixture, AutoHideNeedsABarOnTheEdgeAndADockedPane) {
    QMainWindow other;
    other.setCentralWidget(new QWidget);
    EnableAutoHidePanes(&other, PaneStyle::AlignLeft);
    TestPane pane;
    ASSERT_TRUE(pane.Create("Right", &other, QRect(0, 0, 150, 150), true, 1, kRightPaneStyle));
    pane.DockToFrame();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    EXPECT_FALSE(pane.CanAutoHide());
    EXPECT_FALSE(pane.TitleBar()->PinButton()->isVisible());
    pane.SetAutoHideMode(true);
    EXPECT_FALSE(pane.IsAutoHideMode());

    other.addDockWidget(Qt::LeftDockWidgetArea, &pane);
    EXPECT_TRUE(pane.CanAutoHide());
    pane.setFloating(true);
    EXPECT_FALSE(pane.CanAutoHide());
    pane.SetAutoHideMode(true);
    EXPECT_FALSE(pane.IsAutoHideMode());
}

TEST_F(PanesFixture, APaneCollapsedFromATabGroupReturnsToIt) {
    TestPane third;
    ASSERT_TRUE(third.Create("Third", &frame, QRect(0, 0, 200, 200), true, 3, kLeftPaneStyle));
    third.DockToFrame();
    frame.tabifyDockWidget(&left, &third);
    ASSERT_TRUE(frame.tabifiedDockWidgets(&left).contains(&third));

    left.SetAutoHideMode(true);
    EXPECT_FALSE(frame.tabifiedDockWidgets(&third).contains(&left) && !left.isHidden());
    left.SetAutoHideMode(false);
    EXPECT_TRUE(frame.tabifiedDockWidgets(&third).contains(&left));
    EXPECT_FALSE(left.isHidden());
    EXPECT_FALSE(left.visibleRegion().isEmpty() && third.visibleRegion().isEmpty());
}

TEST_F(PanesFixture, DockingStateRoundTripsWithCollapsedPanes) {
    const QByteArray docked = SaveDockingState(frame);

    // Rearranged: right pane at the bottom, left pane collapsed.
    frame.addDockWidget(Qt::BottomDockWidgetArea, &right);
    left.SetAutoHideMode(true);
    ASSERT_TRUE(RestoreDockingState(frame, docked));
    EXPECT_FALSE(left.IsAutoHideMode());
    EXPECT_FALSE(left.isHidden());
    EXPECT_EQ(frame.dockWidgetArea(&left), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.dockWidgetArea(&right), Qt::RightDockWidgetArea);
    EXPECT_TRUE(left.isAncestorOf(left.edit));

    // Saved while collapsed (its tab hidden, too): collapsed again after restoring.
    right.SetAutoHideMode(true);
    right.SetDockedExtent(222);
    left.SetAutoHideMode(true);
    left.hide();
    const QByteArray collapsed = SaveDockingState(frame);
    left.SetAutoHideMode(false);
    right.SetAutoHideMode(false);
    ASSERT_TRUE(RestoreDockingState(frame, collapsed));
    EXPECT_TRUE(right.IsAutoHideMode());
    EXPECT_EQ(right.AutoHideEdge(), Qt::RightDockWidgetArea);
    EXPECT_TRUE(right.IsPaneVisible());
    EXPECT_EQ(right.DockedExtent(), 222);
    EXPECT_TRUE(left.IsAutoHideMode());
    EXPECT_FALSE(left.IsPaneVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Bar(Qt::RightDockWidgetArea)->isVisible(); }, 1000));
    EXPECT_FALSE(Bar(Qt::LeftDockWidgetArea)->isVisible());
    right.SetAutoHideMode(false);
    EXPECT_EQ(frame.dockWidgetArea(&right), Qt::RightDockWidgetArea);
    EXPECT_FALSE(right.isHidden());

    EXPECT_FALSE(RestoreDockingState(frame, QByteArray("not a state")));
    EXPECT_FALSE(RestoreDockingState(frame, docked, 5)); // other version
    EXPECT_FALSE(right.IsAutoHideMode());
}
