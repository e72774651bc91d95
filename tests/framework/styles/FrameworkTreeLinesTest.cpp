#include "framework/styles/StyleRoles.h"
#include "framework/styles/ThemeColours.h"
#include "framework/styles/TreeLinesStyle.h"
#include "framework/styles/VisualStyles.h"
#include "framework/views/ShellFolderTree.h"

#include <QApplication>
#include <QImage>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <optional>

// Lines between the items of trees that ask for them, in the themes that draw
// them, with the expand arrows still visible in the dark ones.

namespace {

class TreeLines : public ::testing::Test {
protected:
    void SetUp() override {
        // Two parents, the first open with two children, the second closed
        // with one.
        for (const char* name : {"Alpha", "Beta"}) {
            auto* parent = new QStandardItem(QString::fromLatin1(name));
            parent->appendRow(new QStandardItem(QStringLiteral("one")));
            parent->appendRow(new QStandardItem(QStringLiteral("two")));
            model.appendRow(parent);
        }
        tree.setModel(&model);
        tree.setHeaderHidden(true);
        tree.setAnimated(false);
        tree.expand(model.index(0, 0));
        tree.setProperty(StyleRole::kTreeLines, true);
        tree.setStyle(&style);
        tree.resize(200, 150);
    }
    void TearDown() override {
        qApp->setStyleSheet(QString());
        qApp->setPalette(QPalette());
        qApp->setProperty(StyleRole::kTreeLines, QVariant());
    }

    // Renders the tree in `theme` and counts, in the indentation left of the
    // texts, the pixels in the line colour and those dark enough for an arrow.
    struct Counts {
        int line = 0;
        int dark = 0;
    };
    Counts Render(DrawingTheme theme, std::optional<Office2007Style> office = std::nullopt) {
        styles.ApplyVisualStyle(theme, office);
        tree.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&tree));
        const QImage image = tree.viewport()->grab().toImage();
        const QPalette palette = tree.viewport()->palette();
        const QColor text = palette.color(QPalette::Text);
        const QColor base = palette.color(QPalette::Base);
        const QColor line = Mix(text, base);
        Counts counts;
        const int indent = tree.indentation() * 2;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < indent && x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.rgb() == line.rgb())
                    ++counts.line;
                if (qAbs(pixel.lightness() - base.lightness()) > 120)
                    ++counts.dark;
            }
        }
        return counts;
    }

    QStandardItemModel model;
    TreeLinesStyle style; // outlives the tree that uses it
    QTreeView tree;
    VisualStyles styles;
};

} // namespace

TEST_F(TreeLines, ClassicThemesDrawThemAndOffice2007DoesNot) {
    for (const DrawingTheme theme :
         {DrawingTheme::Windows2000, DrawingTheme::OfficeXP, DrawingTheme::WindowsXP,
          DrawingTheme::Office2003, DrawingTheme::VisualStudio2005}) {
        const Counts counts = Render(theme);
        // Three rows' worth of dotted line at least.
        EXPECT_GT(counts.line, tree.sizeHintForRow(0) * 3 / 2) << int(theme);
    }
    const Counts office = Render(DrawingTheme::Office2007, Office2007Style::Silver);
    EXPECT_LT(office.line, 3);
    EXPECT_GT(office.dark, 0); // the arrows
}

TEST_F(TreeLines, OnlyATreeThatAsksGetsThem) {
    tree.setProperty(StyleRole::kTreeLines, false);
    EXPECT_LT(Render(DrawingTheme::Windows2000).line, 3);
}

TEST_F(TreeLines, TheArrowsStayVisibleInTheDarkTheme) {
    const Counts black = Render(DrawingTheme::Office2007, Office2007Style::Black);
    EXPECT_GT(black.dark, 6);
    const Counts classic = Render(DrawingTheme::Windows2000);
    EXPECT_GT(classic.dark, 6);
}

TEST_F(TreeLines, TheFolderTreeAsksForLinesAndDrawsThemInClassicThemes) {
    ShellFolderTree folders;
    EXPECT_TRUE(folders.property(StyleRole::kTreeLines).toBool());
    styles.ApplyVisualStyle(DrawingTheme::Windows2000);
    EXPECT_TRUE(TreeLinesStyle::LinesWanted(&folders));
    styles.ApplyVisualStyle(DrawingTheme::Office2007, Office2007Style::Black);
    EXPECT_FALSE(TreeLinesStyle::LinesWanted(&folders));
}
