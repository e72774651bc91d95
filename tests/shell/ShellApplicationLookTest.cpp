#include "framework/styles/StyleRoles.h"
#include "framework/styles/VisualStyles.h"
#include "resources/ApplicationIds.h"
#include "shell/ApplicationLook.h"

#include <QApplication>
#include <QCursor>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// The styles change the whole application; put it back for the other tests.
struct VisualStylesFixture : ::testing::Test {
    void TearDown() override {
        qApp->setStyleSheet(QString());
        qApp->setPalette(savedPalette);
    }
    QPalette savedPalette = QApplication::palette();
    VisualStyles styles;
};

struct Expected {
    unsigned id;
    DrawingTheme theme;
};

TEST_F(VisualStylesFixture, NineStylesGiveNineDistinctLooks) {
    const Expected table[] = {
        {210, DrawingTheme::Windows2000},      {211, DrawingTheme::OfficeXP},
        {212, DrawingTheme::WindowsXP},        {213, DrawingTheme::Office2003},
        {214, DrawingTheme::VisualStudio2005}, {215, DrawingTheme::Office2007},
        {216, DrawingTheme::Office2007},       {217, DrawingTheme::Office2007},
        {218, DrawingTheme::Office2007},
    };
    QSet<QRgb> windows;
    QSet<QString> sheets;
    for (const Expected& e : table) {
        ApplyApplicationLook(styles, e.id);
        EXPECT_EQ(styles.Theme(), e.theme) << e.id;
        const QPalette applied = QApplication::palette();
        EXPECT_EQ(applied.color(QPalette::Window), styles.Palette().color(QPalette::Window))
            << e.id;
        windows.insert(applied.color(QPalette::Window).rgb());
        sheets.insert(qApp->styleSheet());
        EXPECT_TRUE(qApp->styleSheet().contains(StyleRole::kProperty)) << e.id;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "wait cursor ended";
    }
    EXPECT_EQ(windows.size(), 9);
    EXPECT_EQ(sheets.size(), 9);
}

TEST_F(VisualStylesFixture, Office2007StyleValuesFollowTheTableNotTheMenuOrder) {
    const std::pair<unsigned, Office2007Style> table[] = {
        {215, Office2007Style::Blue},
        {216, Office2007Style::Black},
        {217, Office2007Style::Silver},
        {218, Office2007Style::Aqua},
    };
    for (const auto& [id, style] : table) {
        ApplyApplicationLook(styles, id);
        EXPECT_EQ(styles.OfficeStyle(), style) << id;
    }
    EXPECT_EQ(int(Office2007Style::Silver), 3);
    EXPECT_EQ(int(Office2007Style::Aqua), 2);

    // The other themes keep the Office 2007 style in force; an unknown id
    // returns to Office 2007 in that style.
    ApplyApplicationLook(styles, CommandId::AppLookOffice2007Black);
    ApplyApplicationLook(styles, CommandId::AppLookOfficeXP);
    EXPECT_EQ(styles.OfficeStyle(), Office2007Style::Black);
    const QRgb xpWindow = QApplication::palette().color(QPalette::Window).rgb();
    ApplyApplicationLook(styles, 0);
    EXPECT_EQ(styles.Theme(), DrawingTheme::Office2007);
    EXPECT_EQ(styles.OfficeStyle(), Office2007Style::Black);
    EXPECT_NE(QApplication::palette().color(QPalette::Window).rgb(), xpWindow);
}

TEST_F(VisualStylesFixture, UnknownIdAtStartGivesTheInitialOfficeStyle) {
    ApplyApplicationLook(styles, 0);
    EXPECT_EQ(styles.Theme(), DrawingTheme::Office2007);
    EXPECT_EQ(styles.OfficeStyle(), Office2007Style::Blue);
    EXPECT_EQ(styles.Docking(), DockingMode::Smart);
}

TEST_F(VisualStylesFixture, OnlyTheLaterThemesSetSmartDocking) {
    for (unsigned id : {210u, 211u, 212u}) {
        VisualStyles fresh;
        ApplyApplicationLook(fresh, id);
        EXPECT_EQ(fresh.Docking(), DockingMode::Standard) << id;
    }
    for (unsigned id : {213u, 214u, 215u, 216u, 217u, 218u, 219u}) {
        VisualStyles fresh;
        ApplyApplicationLook(fresh, id);
        EXPECT_EQ(fresh.Docking(), DockingMode::Smart) << id;
    }
    // Going back to an older theme leaves smart docking on.
    ApplyApplicationLook(styles, CommandId::AppLookOffice2007Silver);
    for (unsigned id : {210u, 211u, 212u}) {
        ApplyApplicationLook(styles, id);
        EXPECT_EQ(styles.Docking(), DockingMode::Smart) << id;
    }
    EXPECT_EQ(int(DockingMode::Smart), 128);
}

TEST_F(VisualStylesFixture, WindowsXPSwitchesOnThemedTabsForGood) {
    EXPECT_FALSE(styles.XpThemed3dTabs());
    ApplyApplicationLook(styles, CommandId::AppLookWindowsXP);
    EXPECT_TRUE(styles.XpThemed3dTabs());
    ApplyApplicationLook(styles, CommandId::AppLookOffice2003);
    EXPECT_TRUE(styles.XpThemed3dTabs());
}

TEST_F(VisualStylesFixture, ShowsTheWaitCursorWhileApplying) {
    bool waitShown = false;
    QObject::connect(&styles, &VisualStyles::ThemeChanged, [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        waitShown = cursor && cursor->shape() == Qt::WaitCursor;
    });
    ApplyApplicationLook(styles, CommandId::AppLookOffice2003);
    EXPECT_TRUE(waitShown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
