#include "resources/ApplicationIds.h"
#include "tests/shell/ShellTestSupport.h"

#include <algorithm>
#include <vector>

// The visual style: read once when the frame is constructed, applied during
// its creation and stored each time it is applied.

namespace {

std::vector<unsigned> RadioMarked() {
    std::vector<unsigned> marked;
    for (unsigned id = CommandId::AppLookFirst; id <= CommandId::AppLookLast; ++id) {
        const CommandUI ui = CVelmoraApp::Instance()->Router().QueryState(id);
        EXPECT_TRUE(ui.IsEnabled()) << id;
        if (ui.IsMarkSet() && ui.IsRadio() && ui.IsChecked())
            marked.push_back(id);
    }
    return marked;
}

int StoredLook(QSettings settings) {
    return settings.value(QStringLiteral("ApplicationLook"), -1).toInt();
}

using ShellStyle = ShellFixture;

TEST_F(ShellStyle, AFirstStartUsesAndStoresOffice2007Silver) {
    const auto frame = MakeFrame();
    EXPECT_EQ(App().ApplicationLook(), 217u);
    EXPECT_EQ(StoredLook(Stored()), 217);
    EXPECT_EQ(App().Styles().Theme(), DrawingTheme::Office2007);
    EXPECT_EQ(App().Styles().OfficeStyle(), Office2007Style::Silver);
    EXPECT_EQ(RadioMarked(), std::vector<unsigned>{217});
}

TEST_F(ShellStyle, TheStoredStyleComesBackAtTheNextStart) {
    StoreLook(213);
    const auto frame = MakeFrame();
    EXPECT_EQ(App().ApplicationLook(), 213u);
    EXPECT_EQ(App().Styles().Theme(), DrawingTheme::Office2003);
    EXPECT_EQ(App().Styles().Docking(), DockingMode::Smart);
    EXPECT_EQ(RadioMarked(), std::vector<unsigned>{213});
}

TEST_F(ShellStyle, AStoredValueOutsideTheNineIsKeptAndWrittenBack) {
    StoreLook(216);
    MakeFrame().reset(); // leaves Office 2007 black in force
    StoreLook(0);
    const auto frame = MakeFrame();
    EXPECT_EQ(App().ApplicationLook(), 0u);
    EXPECT_EQ(StoredLook(Stored()), 0);
    EXPECT_EQ(App().Styles().Theme(), DrawingTheme::Office2007);
    EXPECT_EQ(App().Styles().OfficeStyle(), Office2007Style::Black);
    EXPECT_TRUE(RadioMarked().empty());
}

TEST_F(ShellStyle, ChoosingAStyleMovesTheRadioMarkAndStoresIt) {
    const auto frame = MakeFrame();
    for (unsigned id : {215u, 210u, 218u, 218u}) {
        ASSERT_TRUE(Router().Execute(id));
        EXPECT_EQ(App().ApplicationLook(), id);
        EXPECT_EQ(StoredLook(Stored()), int(id));
        EXPECT_EQ(RadioMarked(), std::vector<unsigned>{id});
    }
    // The styles of the Windows 2000 family leave smart docking on.
    ASSERT_TRUE(Router().Execute(CommandId::AppLookWindows2000));
    EXPECT_EQ(App().Styles().Docking(), DockingMode::Smart);
    EXPECT_TRUE(frame->dockOptions().testFlag(QMainWindow::AnimatedDocks));
}

} // namespace
