#include "framework/commands/StringTable.h"
#include "resources/ApplicationIds.h"
#include "resources/Strings.h"
#include "shell/DocTemplate.h"

#include <QStringList>

#include <gtest/gtest.h>

// What must hold of the string table whatever texts it gains, and the texts
// the program must show exactly.

namespace {

QString TextOf(const StringResource& entry) {
    return QString::fromRawData(reinterpret_cast<const QChar*>(entry.text.data()),
                                static_cast<qsizetype>(entry.text.size()));
}

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

TEST(StringTable, TheTextsTheProgramShows) {
    const std::pair<unsigned, const char*> shown[] = {
        {StringId::AppTitle, "Velmora"},
        {StringId::Idle, "Ready"},
        {StringId::PropertiesCaption, "Properties"},
        {StringId::MetadataCaption, "Metadata"},
        {StringId::EditMenuName, "Edit"},
        {StringId::IndicatorScroll, "SCRL"},
        {StringId::OleInitFailed,
         "OLE initialization failed.  Make sure that the OLE libraries are the correct version."},
        {StringId::SocketsInitFailed, "Windows sockets initialization failed."},
    };
    for (const auto& [id, text] : shown)
        EXPECT_EQ(StringTable::Load(id), QString::fromLatin1(text)) << id;
}

// Only the template string has more than two fields; no field starts or ends
// with a space, and every line feed separates two parts.
TEST(StringTable, EveryTextIsAPromptAndTooltipOrALabelAndKeyTip) {
    for (const StringResource& entry : StringResources()) {
        if (entry.id == StringId::MainFrame)
            continue;
        const QString text = TextOf(entry);
        EXPECT_FALSE(text.isEmpty()) << entry.id;
        EXPECT_LE(text.count(u'\n'), 1) << entry.id;
        for (const QString& field : text.split(u'\n'))
            EXPECT_EQ(field, field.trimmed()) << entry.id;
        // A ribbon key tip is one or two letters; a tooltip is a title.
        if (entry.id >= StringId::RibbonFile && entry.id <= StringId::RibbonView &&
            text.contains(u'\n'))
            EXPECT_LE(StringTable::KeyTipOf(text).size(), 2) << entry.id;
    }
}

TEST(StringTable, LookupsFindEveryIdAndNothingElse) {
    for (const StringResource& entry : StringResources())
        EXPECT_EQ(StringTable::Load(entry.id), TextOf(entry)) << entry.id;
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

    // A prompt without a tooltip title.
    const QString lineUp = StringTable::Load(CommandId::ViewLineUp);
    EXPECT_EQ(StringTable::PromptOf(lineUp), "Arranges icons in a grid.");
    EXPECT_TRUE(StringTable::TooltipOf(lineUp).isEmpty());

    // The commands the ribbon and the view modes show by tooltip have both parts.
    for (uint id :
         {CommandId::FileNew, CommandId::FileOpen, CommandId::FileClose, CommandId::FileSave,
          CommandId::FileSaveAs, CommandId::EditCopy, CommandId::EditCut, CommandId::EditPaste,
          CommandId::EditSelectAll, CommandId::AppAbout, CommandId::AppExit,
          CommandId::ViewStatusBar, CommandId::ViewSmallIcon, CommandId::ViewLargeIcon,
          CommandId::ViewList, CommandId::ViewDetails}) {
        const QString text = StringTable::Load(id);
        EXPECT_FALSE(StringTable::PromptOf(text).isEmpty()) << id;
        EXPECT_FALSE(StringTable::TooltipOf(text).isEmpty()) << id;
    }
}

TEST(StringTable, RibbonTextsSplitIntoLabelAndKeyTip) {
    const QString clipboard = StringTable::Load(StringId::RibbonClipboard);
    EXPECT_EQ(StringTable::LabelOf(clipboard), "Clipboard");
    EXPECT_EQ(StringTable::KeyTipOf(clipboard), "d");
    EXPECT_EQ(StringTable::LabelOf(StringTable::Load(StringId::RibbonSaveAs)), "Save &As...");
    EXPECT_TRUE(StringTable::KeyTipOf(StringTable::Load(StringId::RibbonStyle)).isEmpty());

    // Key-tip-only texts have an empty label.
    EXPECT_EQ(StringTable::LabelOf("\nf"), "");
    EXPECT_EQ(StringTable::KeyTipOf("\nf"), "f");
    EXPECT_TRUE(StringTable::Field("a\nb", 2).isEmpty());
    EXPECT_TRUE(StringTable::Field("a\nb", -1).isEmpty());
}

} // namespace
