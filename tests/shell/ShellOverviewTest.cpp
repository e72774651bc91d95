#include "resources/ApplicationIds.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/shell/ShellTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTabBar>

// The "Overview" pane in the frame: where a first start puts it, filled from
// the file list's own reading of a folder, cleared for another, a bar's
// click searching for its photos (narrowing the search shown), and Ctrl+C.

namespace {

fixture::Bytes Photo(const std::string& model, uint32_t focalMm, const std::string& date) {
    fixture::CameraPicture camera = fixture::TypicalCamera();
    camera.first = fixture::FirstDirectory("Velmora", model, 1, 72);
    camera.first[0x0132] = fixture::Ascii(date);
    camera.exif[0x9003] = fixture::Ascii(date);
    camera.exif[0x920A] = fixture::Rational(focalMm, 1);
    // No sensor size: focal lengths count as recorded.
    camera.exif.erase(0xA20E);
    camera.exif.erase(0xA20F);
    camera.exif.erase(0xA210);
    return fixture::CameraJpeg(camera);
}

class ShellOverview : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("empty")));
        Write("a.jpg", Photo("One", 50, "2023:05:14 09:10:00"));
        Write("b.jpg", Photo("One", 35, "2023:05:14 18:00:00"));
        Write("c.jpg", Photo("Two", 50, "2023:06:02 09:30:00"));
        Write("notes.txt", {'h', 'i'});
        frame = MakeFrame();
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        Pane().ShowPane(true, true);
    }
    void Write(const char* name, const fixture::Bytes& bytes) {
        ASSERT_TRUE(fixture::WriteFile(QFile::encodeName(PathOf(name)).toStdString(), bytes));
    }
    COverviewWnd& Pane() { return frame->OverviewPane(); }
    ShellFileList& List() { return ViewOf(*frame).FileList(); }
    // Waits until the pane shows `photos` photos counted.
    bool WaitForPhotos(uint64_t photos) {
        return QTest::qWaitFor(
            [&] {
                return Pane().Stats().Photos() == photos && !Pane().Shown().empty() &&
                       Pane().Header().text().startsWith(QString::number(photos) + " photo");
            },
            kLoadTimeoutMs);
    }
    QStringList Names() {
        QStringList names;
        for (int row = 0; row < List().GetItemCount(); ++row)
            names << List().GetItemText(row, 0);
        names.sort();
        return names;
    }
    // Clicks bar `label` of chart `key`.
    void ClickBar(const char* key, const QString& label) {
        BarChartView* chart = Pane().ChartView(key);
        ASSERT_NE(chart, nullptr) << key;
        for (size_t i = 0; i < chart->Bars().size(); ++i)
            if (chart->Bars()[i].label == label) {
                Pane().Scroller().ensureWidgetVisible(chart);
                QTest::mouseClick(chart, Qt::LeftButton, {}, chart->RowRect(int(i)).center());
                return;
            }
        FAIL() << "no bar " << label.toStdString();
    }
    bool WaitForSearchEnd() {
        return QTest::qWaitFor([&] { return !ViewOf(*frame).Searching().IsRunning(); },
                               kLoadTimeoutMs);
    }

    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ShellOverview, StartsAsATabBehindMetadata) {
    EXPECT_EQ(Pane().windowTitle(), QStringLiteral("Overview"));
    EXPECT_EQ(Pane().objectName(), QStringLiteral("Pane163"));
    EXPECT_EQ(frame->dockWidgetArea(&Pane()), Qt::RightDockWidgetArea);
    EXPECT_TRUE(frame->tabifiedDockWidgets(&frame->MetadataPane()).contains(&Pane()));
    QStringList tabs;
    for (QTabBar* bar : frame->findChildren<QTabBar*>())
        for (int i = 0; i < bar->count(); ++i)
            tabs << bar->tabText(i);
    EXPECT_EQ(tabs, QStringList({"Properties", "Metadata", "Overview"}));
}

TEST_F(ShellOverview, FillsFromTheFolderListedAndStartsAgainForAnother) {
    ASSERT_TRUE(ShowFolder(ViewOf(*frame), m_dir.path(), 4));
    ASSERT_TRUE(WaitForPhotos(3));
    EXPECT_EQ(Pane().Header().text(),
              QStringLiteral(u"3 photos \u00b7 2 cameras \u00b7 14 May 2023 \u2013 2 June 2023"));
    EXPECT_EQ(Pane().ChartView("camera")->accessibleDescription(),
              QStringLiteral("Velmora One: 2, Velmora Two: 1"));
    EXPECT_EQ(Pane().ChartView("focal")->accessibleDescription(),
              QStringLiteral("35 mm: 1, 50 mm: 2"));
    EXPECT_EQ(Pane().ChartView("day")->accessibleDescription(),
              QStringLiteral("2023-05-14: 2, 2023-06-02: 1"));
    EXPECT_EQ(Pane().ChartView("lens"), nullptr) << "a chart without bins is left out";

    // Nothing of the last folder stays on show.
    ASSERT_TRUE(ShowFolder(ViewOf(*frame), PathOf("empty"), 0));
    EXPECT_EQ(Pane().Stats().Photos(), 0u);
    EXPECT_EQ(Pane().Header().text(), QStringLiteral("No photos listed"));
    EXPECT_TRUE(Pane().Shown().empty());
}

TEST_F(ShellOverview, ABarSearchesForItsPhotosAndTheNextNarrowsThatSearch) {
    ASSERT_TRUE(ShowFolder(ViewOf(*frame), m_dir.path(), 4));
    ASSERT_TRUE(WaitForPhotos(3));
    ClickBar("focal", QStringLiteral("50 mm"));
    EXPECT_EQ(frame->SearchField().currentText(), QStringLiteral("focal:50"));
    ASSERT_TRUE(WaitForSearchEnd());
    EXPECT_EQ(Names(), QStringList({"a.jpg", "c.jpg"}));
    ASSERT_TRUE(WaitForPhotos(2)) << "the pane draws the results";

    ClickBar("camera", QStringLiteral("Velmora Two"));
    ASSERT_TRUE(WaitForSearchEnd());
    EXPECT_TRUE(frame->SearchField().currentText().startsWith("focal:50 camera:"))
        << frame->SearchField().currentText().toStdString();
    EXPECT_EQ(Names(), QStringList({"c.jpg"}));
}

TEST_F(ShellOverview, ControlCCopiesTheNumbersFromAnyChart) {
    ASSERT_TRUE(ShowFolder(ViewOf(*frame), m_dir.path(), 4));
    ASSERT_TRUE(WaitForPhotos(3));
    BarChartView* focal = Pane().ChartView("focal");
    focal->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return focal->hasFocus(); }));
    // The commands' states follow the focus once the window is idle.
    QTest::qWait(20);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(focal, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("Cameras\tVelmora One\t2\n")) << copied.toStdString();
    EXPECT_TRUE(copied.contains("\nFocal length\t50 mm\t2\n")) << copied.toStdString();
    EXPECT_TRUE(copied.contains("\nFormat\tJPEG\t3\n")) << copied.toStdString();
}

} // namespace
