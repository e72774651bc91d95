#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonElement.h"
#include "resources/ApplicationIds.h"
#include "tests/shell/ShellTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QStatusBar>

// The whole frame as the pointer and assistive technology meet it: the
// status bar after a prompt, and the file list read item by item.

namespace {

using namespace CommandId;

class ShellAccessibility : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        frame = MakeFrame();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }

    void Hover(QWidget* widget) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(widget, &enter);
    }
    void Unhover(QWidget* widget) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }

    // The panes show their start-up texts and no message covers them.
    void ExpectPanesAsAtStartUp() {
        QLabel* left = frame->StatusPane(StatusPane1);
        QLabel* right = frame->StatusPane(StatusPane2);
        ASSERT_TRUE(left && right);
        EXPECT_EQ(frame->StatusBar().currentMessage(), QString());
        EXPECT_EQ(left->text(), QStringLiteral("Pane 1"));
        EXPECT_EQ(right->text(), QStringLiteral("Pane 2"));
        EXPECT_TRUE(left->isVisible());
        EXPECT_TRUE(right->isVisible());
    }

    static int CountNamed(QAccessibleInterface* root, const QString& name, int depth = 0) {
        if (!root || depth > 32)
            return 0;
        int count = root->text(QAccessible::Name) == name ? 1 : 0;
        for (int i = 0; i < root->childCount(); ++i)
            count += CountNamed(root->child(i), name, depth + 1);
        return count;
    }

    std::unique_ptr<CMainFrame> frame;
};

} // namespace

TEST_F(ShellAccessibility, ThePromptGoesWithThePointerAndThePanesComeBack) {
    ExpectPanesAsAtStartUp();
    for (unsigned id : {EditPaste, AppAbout, ViewStatusBar, FileNew}) {
        SCOPED_TRACE(id);
        RibbonElement* element = frame->Ribbon().FindById(id);
        ASSERT_NE(element, nullptr);
        Hover(element);
        EXPECT_FALSE(frame->StatusBar().currentMessage().isEmpty()) << "the prompt shows";
        EXPECT_EQ(frame->StatusBar().currentMessage(), element->statusTip());
        Unhover(element);
        ExpectPanesAsAtStartUp();
    }
    // Twice over the same element changes nothing either.
    RibbonElement* paste = frame->Ribbon().FindById(EditPaste);
    Hover(paste);
    Unhover(paste);
    ExpectPanesAsAtStartUp();
}

TEST_F(ShellAccessibility, TheApplicationButtonIsNamedForTheApplication) {
    QAccessibleInterface* iface =
        QAccessible::queryAccessibleInterface(frame->Ribbon().ApplicationButton());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::PushButton);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Velmora"));
    EXPECT_EQ(iface->text(QAccessible::Accelerator), QStringLiteral("f"));
}

TEST_F(ShellAccessibility, EachFileIsReadOnceInEveryLayout) {
    for (const char* name : {"one.jpg", "two.txt"}) {
        QFile file(PathOf(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }
    ASSERT_TRUE(ShowFolder(ViewOf(*frame), m_dir.path(), 2));
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&ViewOf(*frame));
    ASSERT_NE(view, nullptr);
    for (unsigned id : {ViewDetails, ViewLargeIcon, ViewSmallIcon, ViewList, ViewDetails}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(Router().Execute(id));
        EXPECT_EQ(CountNamed(view, QStringLiteral("one.jpg")), 1);
        EXPECT_EQ(CountNamed(view, QStringLiteral("two.txt")), 1);
    }
}
