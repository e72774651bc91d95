#include "shell/RibbonContent.h"

#include "framework/commands/CommandRouter.h"
#include "framework/commands/MenuBuilder.h"
#include "framework/commands/StringTable.h"
#include "framework/ribbon/ImageStrip.h"
#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonCheckBox.h"
#include "framework/ribbon/RibbonLabel.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonMainPanelButton.h"
#include "framework/ribbon/RibbonPanel.h"
#include "framework/ribbon/RibbonSeparator.h"
#include "resources/ApplicationIds.h"
#include "resources/Menus.h"
#include "resources/Resources.h"

#include <QMenu>

namespace {

QString Text(unsigned stringId) {
    return StringTable::Load(stringId);
}

} // namespace

void BuildRibbonContent(RibbonBar& ribbon, RibbonApplicationButton& appButton,
                        ImageStrip& panelImages, CommandRouter& router) {
    using namespace CommandId;
    InitResources(); // the bitmaps below
    ribbon.SetCommandRouter(&router);
    const QSize small(16, 16);
    const QSize large(32, 32);

    const QString file = Text(StringId::RibbonFile);

    // The 16 x 16 pictures of the panels and of the About button.
    panelImages.SetImageSize(small);
    panelImages.Load(ResourceId::PanelImages);

    // The application button: no label, only its key tip.
    appButton.SetImage(ResourceId::AppButtonImage);
    appButton.SetText(QStringLiteral("\nf"));
    appButton.SetToolTipText(file);
    ribbon.SetApplicationButton(&appButton, QSize(45, 45));

    // Its main panel: the file commands, Print with its choices, the recent
    // documents and Exit.
    RibbonMainPanel* mainPanel = ribbon.AddMainCategory(file, ResourceId::FileSmallImages,
                                                        ResourceId::FileLargeImages, small, large);

    mainPanel->Add(new RibbonButton(FileNew, Text(StringId::RibbonNew), 0, 0));
    mainPanel->Add(new RibbonButton(FileOpen, Text(StringId::RibbonOpen), 1, 1));
    mainPanel->Add(new RibbonButton(FileSave, Text(StringId::RibbonSave), 2, 2));
    mainPanel->Add(new RibbonButton(FileSaveAs, Text(StringId::RibbonSaveAs), 3, 3));

    auto* print = new RibbonButton(FilePrint, Text(StringId::RibbonPrint), 6, 6);
    print->SetKeys(QStringLiteral("p"), QStringLiteral("w"));
    print->AddSubItem(new RibbonLabel(Text(StringId::RibbonPrintLabel)));
    print->AddSubItem(
        new RibbonButton(FilePrintDirect, Text(StringId::RibbonQuickPrint), 7, 7, true));
    print->AddSubItem(
        new RibbonButton(FilePrintPreview, Text(StringId::RibbonPrintPreview), 8, 8, true));
    print->AddSubItem(
        new RibbonButton(FilePrintSetup, Text(StringId::RibbonPrintSetup), 11, 11, true));
    mainPanel->Add(print);

    mainPanel->Add(new RibbonSeparator(true));
    mainPanel->Add(new RibbonButton(FileClose, Text(StringId::RibbonClose), 9, 9));

    mainPanel->AddRecentFilesList(Text(StringId::RibbonRecentDocuments), 300);

    mainPanel->AddToBottom(new RibbonMainPanelButton(AppExit, Text(StringId::RibbonExit), 15));

    // The one category with a tab, after any there are.
    RibbonCategory* home =
        ribbon.AddCategory(Text(StringId::RibbonHome), ResourceId::HomeSmallImages,
                           ResourceId::HomeLargeImages, small, large, -1);

    RibbonPanel* clipboard =
        home->AddPanel(Text(StringId::RibbonClipboard), panelImages.ExtractIcon(27));
    clipboard->Add(new RibbonButton(EditPaste, Text(StringId::RibbonPaste), 0, 0));
    clipboard->Add(new RibbonButton(EditCut, Text(StringId::RibbonCut), 1, -1));
    clipboard->Add(new RibbonButton(EditCopy, Text(StringId::RibbonCopy), 2, -1));
    clipboard->Add(new RibbonButton(EditSelectAll, Text(StringId::RibbonSelectAll), -1, -1));

    RibbonPanel* view = home->AddPanel(Text(StringId::RibbonView), panelImages.ExtractIcon(7));
    view->Add(new RibbonCheckBox(ViewStatusBar, Text(StringId::RibbonStatusBar)));

    // The tab row: "Style" has no command of its own, it only drops down
    // the four styles; About follows it after the quick-access commands.
    auto* style = new RibbonButton(RibbonElement::kNoCommand, Text(StringId::RibbonStyle), -1, -1);
    // Menu 200's items carry their own labels and follow the shared actions,
    // whose update handlers set the radio mark on the style in force.
    QMenu* styles = BuildMenu(
        MenuResource(ResourceId::StyleMenu), [&router](unsigned id) { return router.Action(id); },
        nullptr, [&router](const QList<QAction*>& commands) { router.UpdateActions(commands); });
    style->SetMenu(styles, false, true);
    style->SetToolTipText(Text(StringId::RibbonStyleTooltip));
    style->SetDescription(Text(StringId::RibbonStyleDescription));
    ribbon.AddToTabs(style);

    const QList<unsigned> quickAccessCommands{FileNew, FileOpen, FileSave, FilePrintDirect};
    ribbon.SetQuickAccessCommands(quickAccessCommands, true);

    ribbon.AddToTabs(
        new RibbonButton(AppAbout, QStringLiteral("\na"), panelImages.ExtractIcon(0), false));
}
