#include "resources/ApplicationIds.h"
#include "shell/AboutDlg.h"
#include "tests/shell/ShellAppTestSupport.h"

#include <QPointer>

// The About box: its texts, icon and button, a layout in dialog units of its
// own font, and a fresh modal dialog for every About command.

namespace {

using ShellAppAbout = ShellAppFixture;

TEST_F(ShellAppAbout, EachAboutCommandRunsAFreshModalBox) {
    ASSERT_TRUE(Start());
    QPointer<CAboutDlg> first;
    const bool shown =
        WithModalDialog([] { Execute(CommandId::AppAbout); },
                        [&](QWidget* modal) {
                            auto* about = qobject_cast<CAboutDlg*>(modal);
                            ASSERT_NE(about, nullptr);
                            first = about;
                            EXPECT_EQ(about->windowTitle(), QStringLiteral("About Velmora"));
                            EXPECT_EQ(about->parentWidget(), Frame());
                            EXPECT_EQ(about->VersionText().text(),
                                      QStringLiteral("Velmora, Version " VELMORA_VERSION_TEXT));
                            EXPECT_FALSE(about->CopyrightText().text().isEmpty());
                            EXPECT_EQ(about->VersionText().textFormat(), Qt::PlainText);
                            EXPECT_FALSE(about->Icon().pixmap().isNull());
                            EXPECT_EQ(about->OkButton().text(), QStringLiteral("OK"));
                            EXPECT_TRUE(about->OkButton().isDefault());
                            about->OkButton().click();
                        });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(first.isNull()); // gone once closed

    QPointer<CAboutDlg> second;
    EXPECT_TRUE(WithModalDialog([] { Execute(CommandId::AppAbout); },
                                [&](QWidget* modal) {
                                    second = qobject_cast<CAboutDlg*>(modal);
                                    QTest::keyClick(modal, Qt::Key_Escape);
                                }));
    EXPECT_TRUE(second.isNull());
}

TEST(ShellAppAboutLayout, ControlsSitOnTheDialogUnitsOfTheDialogFont) {
    for (const int points : {9, 18}) {
        CAboutDlg about;
        QFont font = about.font();
        font.setPointSize(points);
        about.setFont(font);

        const QSize base = CAboutDlg::BaseUnits(font);
        const QFontMetrics metrics(font);
        EXPECT_EQ(base.height(), metrics.height());
        EXPECT_NEAR(base.width(),
                    metrics.horizontalAdvance(
                        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                        52.0,
                    0.5);

        // Quarter widths and eighth heights, rounded.
        auto px = [&](int x, int y) {
            return QPoint((x * base.width() + 2) / 4, (y * base.height() + 4) / 8);
        };
        EXPECT_EQ(about.size(), QSize(px(170, 62).x(), px(170, 62).y()));
        EXPECT_EQ(about.Icon().pos(), px(14, 14));
        EXPECT_EQ(about.VersionText().geometry(),
                  QRect(px(42, 14), QSize(px(114, 8).x(), px(114, 8).y())));
        EXPECT_EQ(about.CopyrightText().pos(), px(42, 26));
        EXPECT_EQ(about.OkButton().geometry(),
                  QRect(px(113, 41), QSize(px(50, 14).x(), px(50, 14).y())));
        // Each text is one line high and fits its width; the button is inside.
        for (QLabel* line : {&about.VersionText(), &about.CopyrightText()}) {
            EXPECT_EQ(line->height(), metrics.height());
            EXPECT_LE(metrics.horizontalAdvance(line->text()), line->width())
                << line->text().toStdString();
        }
        EXPECT_TRUE(about.rect().contains(about.OkButton().geometry()));
    }
}

} // namespace
