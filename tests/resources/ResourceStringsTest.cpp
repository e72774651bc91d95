#include "framework/commands/StringTable.h"
#include "resources/ApplicationIds.h"
#include "shell/DocTemplate.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTable, TemplateStringHasItsSevenFields) {
    EXPECT_EQ(DocString(DocField::WindowTitle), "Velmora");
    EXPECT_EQ(DocString(DocField::DocName), "");
    EXPECT_EQ(DocString(DocField::FileNewName), "Velmora");
    EXPECT_EQ(DocString(DocField::FilterName), "");
    EXPECT_EQ(DocString(DocField::FilterExtension), "");
    EXPECT_EQ(DocString(DocField::RegFileTypeId), "Velmora.Document");
    EXPECT_EQ(DocString(DocField::RegFileTypeName), "Velmora.Document");
    EXPECT_EQ(StringTable::Load(StringId::MainFrame).count(QLatin1Char('\n')), 6);
}

TEST(StringTable, LoadsTextsExactlyAndNothingForUnknownIds) {
    EXPECT_EQ(StringTable::Load(StringId::OleInitFailed),
              "OLE initialization failed.  Make sure that the OLE libraries are the correct "
              "version.");
    EXPECT_EQ(StringTable::Load(StringId::SocketsInitFailed),
              "Windows sockets initialization failed.");
    EXPECT_EQ(StringTable::Load(StringId::AppTitle), "Velmora");
    EXPECT_EQ(StringTable::Load(StringId::Idle), "Ready");
    EXPECT_EQ(StringTable::Load(StringId::PropertiesCaption), "Properties");
    EXPECT_EQ(StringTable::Load(StringId::EditMenuName), "Edit");
    EXPECT_EQ(StringTable::Load(StringId::IndicatorScroll), "SCRL");
    EXPECT_EQ(StringTable::Load(StringId::SysTaskList), "Activate Task List");

    // Lookups bisect the table: probe around and beyond its ends.
    for (uint id : {0u, 99u, 101u, 124u, 57605u, 61204u, 4000000000u}) {
        EXPECT_FALSE(StringTable::Contains(id)) << id;
        EXPECT_TRUE(StringTable::Load(id).isNull()) << id;
    }
    // The print commands have no prompt of the program's own.
    for (uint id = CommandId::FilePrintSetup; id <= CommandId::FilePrintPreview; ++id)
        EXPECT_FALSE(StringTable::Contains(id)) << id;
    for (uint id = CommandId::RecentFileFirst; id <= CommandId::RecentFileLast; ++id)
        EXPECT_EQ(StringTable::Load(id), "Open this document") << id;
}

TEST(StringTable, CommandStringsSplitIntoPromptAndTooltip) {
    const QString exit = StringTable::Load(CommandId::AppExit);
    EXPECT_EQ(StringTable::PromptOf(exit), "Quit the application; prompts to save documents");
    EXPECT_EQ(StringTable::TooltipOf(exit), "Exit");

    const QString statusBar = StringTable::Load(CommandId::ViewStatusBar);
    EXPECT_EQ(StringTable::PromptOf(statusBar), "Show or hide the status bar");
    EXPECT_EQ(StringTable::TooltipOf(statusBar), "Toggle Status Bar");

    const QString details = StringTable::Load(CommandId::ViewDetails);
    EXPECT_EQ(StringTable::TooltipOf(details), "Details");

    // A prompt without a tooltip title.
    const QString lineUp = StringTable::Load(CommandId::ViewLineUp);
    EXPECT_EQ(StringTable::PromptOf(lineUp), "Arranges icons in a grid.");
    EXPECT_TRUE(StringTable::TooltipOf(lineUp).isEmpty());

    // Every prompt the commands issue by tooltip has both parts.
    for (uint id : {57600u, 57601u, 57602u, 57603u, 57604u, 57634u, 57635u, 57637u, 57642u, 57664u,
                    57665u, 59393u, 59408u, 59409u, 59410u, 59411u}) {
        const QString text = StringTable::Load(id);
        EXPECT_FALSE(StringTable::PromptOf(text).isEmpty()) << id;
        EXPECT_FALSE(StringTable::TooltipOf(text).isEmpty()) << id;
    }
}

TEST(StringTable, RibbonTextsSplitIntoLabelAndKeyTip) {
    const QString clipboard = StringTable::Load(StringId::RibbonClipboard);
    EXPECT_EQ(StringTable::LabelOf(clipboard), "Clipboard");
    EXPECT_EQ(StringTable::KeyTipOf(clipboard), "d");
    EXPECT_EQ(StringTable::KeyTipOf(StringTable::Load(StringId::RibbonPaste)), "v");
    EXPECT_EQ(StringTable::KeyTipOf(StringTable::Load(StringId::RibbonSelectAll)), "a");
    EXPECT_EQ(StringTable::LabelOf(StringTable::Load(StringId::RibbonSaveAs)), "Save &As...");
    EXPECT_TRUE(StringTable::KeyTipOf(StringTable::Load(StringId::RibbonStyle)).isEmpty());

    // Key-tip-only texts have an empty label.
    EXPECT_EQ(StringTable::LabelOf("\nf"), "");
    EXPECT_EQ(StringTable::KeyTipOf("\nf"), "f");
    EXPECT_TRUE(StringTable::Field("a\nb", 2).isEmpty());
    EXPECT_TRUE(StringTable::Field("a\nb", -1).isEmpty());
}

} // namespace
