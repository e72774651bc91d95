#include "shell/CommandLine.h"
#include "shell/StartupSelection.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/presentation/window/PresentationTestSupport.h"
#include "tests/shell/ShellAppTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

// The command line: what it parses to, what start-up makes of it, and the
// program itself run as a user runs it.

namespace {

using Action = CommandLineInfo::Action;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

CommandLineInfo Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("velmora"));
    return ParseCommandLine(arguments);
}

TEST(ShellAppCommandLineParse, ReadsTheDocumentAndTheOptionsAsAbsolutePaths) {
    const CommandLineInfo none = Parse({});
    EXPECT_EQ(none.action, Action::Run);
    EXPECT_TRUE(none.fileName.isEmpty());
    EXPECT_TRUE(none.folder.isEmpty());

    const CommandLineInfo all =
        Parse({"--folder", "pictures/", "--screenshot", "out.png", "a.jpg"});
    EXPECT_EQ(all.action, Action::Run);
    EXPECT_EQ(all.fileName, QDir::current().absoluteFilePath("a.jpg"));
    EXPECT_EQ(all.folder, QDir::current().absoluteFilePath("pictures"));
    EXPECT_EQ(all.screenshot, QDir::current().absoluteFilePath("out.png"));

    // --select starts in the file's folder.
    const CommandLineInfo select = Parse({"--select", "/p/q/r.jpg"});
    EXPECT_EQ(select.selectFile, QStringLiteral("/p/q/r.jpg"));
    EXPECT_EQ(select.folder, QStringLiteral("/p/q"));
    EXPECT_EQ(Parse({"--folder", "/p/q/", "--select", "/p/q/r.jpg"}).action, Action::Run);
}

TEST(ShellAppCommandLineParse, AnswersHelpAndVersionAndRefusesWhatItCannotDo) {
    const CommandLineInfo help = Parse({"--help"});
    EXPECT_EQ(help.action, Action::ShowHelp);
    EXPECT_TRUE(help.message.startsWith(QStringLiteral("Usage: velmora [options] [FILE]")));
    for (const char* option : {"--folder", "--select", "--screenshot", "--version"})
        EXPECT_TRUE(help.message.contains(QLatin1String(option))) << option;
    // Found even among options only the window system knows.
    EXPECT_EQ(Parse({"-platform", "xcb", "-h"}).action, Action::ShowHelp);
    EXPECT_EQ(Parse({"--version"}).message, QStringLiteral("Velmora " VELMORA_VERSION_TEXT "\n"));

    EXPECT_EQ(Parse({"--bogus"}).action, Action::Fail);
    EXPECT_EQ(Parse({"a.jpg", "b.jpg"}).action, Action::Fail);
    EXPECT_EQ(Parse({"--folder"}).action, Action::Fail);
    EXPECT_EQ(Parse({"--folder", "/a", "--select", "/b/c.jpg"}).action, Action::Fail);
}

class ShellAppCommandLine : public ShellAppFixture {
protected:
    QString WritePicture(const QString& name) {
        const QString path = PathOf(name);
        EXPECT_TRUE(
            fixture::WriteFile(QFile::encodeName(path).toStdString(), fixture::CameraLikeJpeg()));
        return path;
    }
};

TEST_F(ShellAppCommandLine, AFileBecomesTheDocumentUnread) {
    const QString photo = WritePicture("photo.jpg");
    const QByteArray before = ReadAll(photo);
    ASSERT_TRUE(Start({photo}));
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("photo.jpg - Velmora"));
    EXPECT_EQ(Doc()->GetPathName(), photo);
    EXPECT_EQ(Frame()->PropertiesPane().TagList().topLevelItemCount(), 0);
    EXPECT_EQ(ReadAll(photo), before);
}

TEST_F(ShellAppCommandLine, AFileThatCannotBeOpenedEndsTheProgramWithoutAWindow) {
    for (const QString& path : {PathOf("missing.jpg"), m_dir.path()}) {
        EXPECT_FALSE(Start({path})) << path.toStdString();
        EXPECT_EQ(Frame(), nullptr);
        EXPECT_EQ(Doc(), nullptr);
        EXPECT_FALSE(AnyMainWindowLeft());
        EXPECT_NE(App().StartupStatus(), 0);
    }
    // Reported on the terminal, not in a box.
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ShellAppCommandLine, TheTreeAndTheListStartInTheFolderGiven) {
    WritePicture("a.jpg");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(Start({QStringLiteral("--folder"), m_dir.path()}));
    QString shown;
    ASSERT_TRUE(Frame()->GetActiveView()->FileList().GetCurrentFolder(shown));
    EXPECT_EQ(shown, QDir::cleanPath(m_dir.path()));
    EXPECT_EQ(Frame()->FolderPane().ShellTree().SelectedFolder(), shown);
    EXPECT_EQ(Frame()->AddressBox().currentText(), shown);
    EXPECT_EQ(Frame()->windowTitle(), QStringLiteral("Untitled - Velmora"));
    App().ExitInstance();

    EXPECT_FALSE(Start({QStringLiteral("--folder"), PathOf("nowhere")}));
    EXPECT_FALSE(AnyMainWindowLeft());
}

TEST_F(ShellAppCommandLine, SelectShowsTheFilesTagsAsAClickWould) {
    const QString photo = WritePicture("b.jpg");
    WritePicture("a.jpg");
    ASSERT_TRUE(Start({QStringLiteral("--select"), photo}));
    CPropertiesWnd& pane = Frame()->PropertiesPane();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pane.TagList().topLevelItemCount() > 0; }, kLoadTimeoutMs));
    EXPECT_EQ(RowsOf(pane).front(),
              std::make_pair(QStringLiteral("Camera make"), QStringLiteral("Velmora")));
    ShellFileList& list = Frame()->GetActiveView()->FileList();
    const QModelIndex current = list.CurrentView()->currentIndex();
    EXPECT_EQ(list.GetItemText(current.row(), 0), QStringLiteral("b.jpg"));
    App().ExitInstance();

    // A file the list hides still has its tags shown, soon after its folder.
    const QString hidden = WritePicture(".hidden.jpg");
    ASSERT_TRUE(Start({QStringLiteral("--select"), hidden}));
    CPropertiesWnd& again = Frame()->PropertiesPane();
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.TagList().topLevelItemCount() > 0; },
                                StartupSelection::kTimeoutMs / 2));
    App().ExitInstance();

    EXPECT_FALSE(Start({QStringLiteral("--select"), PathOf("missing.jpg")}));
    EXPECT_FALSE(AnyMainWindowLeft());
}

#ifdef VELMORA_EXECUTABLE
// The program as a user starts it, without a display.
class ShellAppProgram : public ::testing::Test {
protected:
    // Without a display; `platform` names Qt's platform if not empty.
    static int Run(const QStringList& arguments, QString* output = nullptr,
                   const QString& platform = QString()) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VELMORA_EXECUTABLE), arguments);
        if (!program.waitForFinished(30000)) {
            program.kill();
            program.waitForFinished();
            return -1;
        }
        if (output)
            *output = QString::fromLocal8Bit(program.readAllStandardOutput());
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }
    QTemporaryDir m_dir;
};

TEST_F(ShellAppProgram, HelpAndVersionNeedNoDisplayAndBadArgumentsFail) {
    QString output;
    EXPECT_EQ(Run({"--help"}, &output), 0);
    EXPECT_TRUE(output.startsWith(QStringLiteral("Usage: velmora")));
    EXPECT_EQ(Run({"--version"}, &output), 0);
    EXPECT_EQ(output, QStringLiteral("Velmora " VELMORA_VERSION_TEXT "\n"));
    EXPECT_EQ(Run({"--screenshot", m_dir.filePath("x.png"), m_dir.filePath("missing.jpg")}), 1);
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("x.png")));
    // Usage errors are found once Qt has taken its own options.
    const QString offscreen = QStringLiteral("offscreen");
    EXPECT_EQ(Run({"--bogus"}, nullptr, offscreen), 2);
    EXPECT_EQ(Run({"--folder", m_dir.filePath("nowhere")}, nullptr, offscreen), 2);
}

TEST_F(ShellAppProgram, TheScreenshotShowsTheSelectedFilesRows) {
    const QString photo = m_dir.filePath("photo.jpg");
    ASSERT_TRUE(
        fixture::WriteFile(QFile::encodeName(photo).toStdString(), fixture::CameraLikeJpeg()));
    const QString png = m_dir.filePath("shot.png");
    QString output;
    ASSERT_EQ(Run({"--select", photo, "--screenshot", png}, &output), 0);
    const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], png);
    EXPECT_EQ(lines[1], QStringLiteral("Camera make\tVelmora"));
    const QImage picture(png);
    EXPECT_EQ(picture.size(), QSize(1280, 800));
}
#endif

} // namespace
