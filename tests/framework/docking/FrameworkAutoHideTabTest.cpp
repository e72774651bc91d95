#include "framework/docking/AutoHideBar.h"
#include "framework/docking/AutoHideTab.h"
#include "framework/docking/PaneStyle.h"
#include "framework/styles/VisualStyles.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMainWindow>
#include <QStyleOptionTab>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

// The tab of a collapsed pane shows its whole caption, on every edge, in
// every theme and with fonts of any size.

namespace {

using Look = std::pair<DrawingTheme, std::optional<Office2007Style>>;

const std::vector<Look>& NineLooks() {
    static const std::vector<Look> looks = {
        {DrawingTheme::Windows2000, std::nullopt},
        {DrawingTheme::OfficeXP, std::nullopt},
        {DrawingTheme::WindowsXP, std::nullopt},
        {DrawingTheme::Office2003, std::nullopt},
        {DrawingTheme::VisualStudio2005, std::nullopt},
        {DrawingTheme::Office2007, Office2007Style::Blue},
        {DrawingTheme::Office2007, Office2007Style::Black},
        {DrawingTheme::Office2007, Office2007Style::Silver},
        {DrawingTheme::Office2007, Office2007Style::Aqua},
    };
    return looks;
}

std::vector<QFont> SomeFonts() {
    QFont small(QStringLiteral("DejaVu Sans"), 7);
    QFont serif(QStringLiteral("DejaVu Serif"), 14);
    QFont bold = QApplication::font();
    bold.setPointSize(11);
    bold.setBold(true);
    QFont wide(QStringLiteral("DejaVu Sans Mono"), 20);
    return {QApplication::font(), small, serif, bold, wide};
}

constexpr Qt::DockWidgetArea kEdges[] = {Qt::LeftDockWidgetArea, Qt::RightDockWidgetArea,
                                         Qt::TopDockWidgetArea, Qt::BottomDockWidgetArea};

// Puts the application back as the other tests expect it.
class AutoHideTabLooks : public ::testing::Test {
protected:
    void TearDown() override {
        qApp->setStyleSheet(QString());
        qApp->setPalette(QPalette());
    }
    VisualStyles styles;
};

// Where the style draws the caption of `tab` at its size hint, measured
// along the text (the style lays vertical tabs out turned).
int TextRoom(AutoHideTab& tab) {
    tab.ensurePolished();
    tab.resize(tab.sizeHint());
    QStyleOptionTab option;
    tab.initStyleOption(&option);
    const QRect text = tab.style()->subElementRect(QStyle::SE_TabBarTabText, &option, &tab);
    return text.width();
}

} // namespace

TEST_F(AutoHideTabLooks, TheCaptionFitsOnEveryEdgeInEveryThemeAndFont) {
    const QString caption = QStringLiteral("Folders");
    for (const auto& [theme, office] : NineLooks()) {
        styles.ApplyVisualStyle(theme, office);
        for (const QFont& font : SomeFonts()) {
            for (const Qt::DockWidgetArea edge : kEdges) {
                AutoHideTab tab(caption, edge);
                tab.setFont(font);
                const QFontMetrics metrics(tab.font());
                const QSize hint = tab.sizeHint();
                const int along = tab.IsVertical() ? hint.height() : hint.width();
                const int across = tab.IsVertical() ? hint.width() : hint.height();
                const std::string where = "theme " + std::to_string(int(theme)) + " edge " +
                                          std::to_string(int(edge)) + " font " +
                                          font.toString().toStdString();
                EXPECT_GE(TextRoom(tab), metrics.horizontalAdvance(caption)) << where;
                EXPECT_GT(along, metrics.horizontalAdvance(caption)) << where;
                EXPECT_GE(across, metrics.height()) << where;
            }
        }
    }
}

// The bar gives each tab the room its hint asks for.
TEST_F(AutoHideTabLooks, TheBarGivesTheTabItsSize) {
    styles.ApplyVisualStyle(DrawingTheme::Office2007, Office2007Style::Silver);
    QMainWindow frame;
    frame.setCentralWidget(new QWidget);
    frame.resize(800, 600);
    EnableAutoHidePanes(&frame, PaneStyle::AlignAny);
    std::vector<AutoHideTab*> tabs;
    for (const Qt::DockWidgetArea edge : kEdges) {
        AutoHideBar* bar = AutoHideBar::ForEdge(&frame, edge);
        ASSERT_NE(bar, nullptr);
        tabs.push_back(bar->AddTab(QStringLiteral("Properties")));
    }
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    for (AutoHideTab* tab : tabs) {
        const QSize hint = tab->sizeHint();
        if (tab->IsVertical())
            EXPECT_GE(tab->height(), hint.height()) << int(tab->Edge());
        else
            EXPECT_GE(tab->width(), hint.width()) << int(tab->Edge());
    }
}
