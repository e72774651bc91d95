#include "shell/MainFrame.h"

#include "framework/commands/CommandRouter.h"
#include "framework/commands/StringTable.h"
#include "framework/docking/AutoHideBar.h"
#include "framework/docking/PaneStyle.h"
#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonRecentFilesList.h"
#include "framework/settings/SettingsStore.h"
#include "framework/styles/StyleRoles.h"
#include "framework/styles/VisualStyles.h"
#include "framework/views/LocalPath.h"
#include "presentation/window/ShowFileTags.h"
#include "resources/Accelerators.h"
#include "resources/ApplicationIds.h"
#include "shell/AddressText.h"
#include "shell/ApplicationLook.h"
#include "shell/DocTemplate.h"
#include "shell/ExplorerView.h"
#include "shell/FrameMenu.h"
#include "shell/RibbonContent.h"
#include "shell/Screenshot.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStyle>

namespace {

const QString kStatusBarKey = QStringLiteral("Workspace/StatusBar");
const QString kListColumnsKey = QStringLiteral("Workspace/FileListColumns");
const QString kListViewKey = QStringLiteral("Workspace/FileListView");
const QString kFolderKey = QStringLiteral("Workspace/Folder");

// Creation styles of the panes: visible, and the edge each docks at first.
constexpr quint32 kFolderPaneStyle = PaneStyle::Visible | PaneStyle::AlignLeft;
constexpr quint32 kPropertiesPaneStyle = PaneStyle::Visible | PaneStyle::AlignRight;
constexpr quint32 kMetadataPaneStyle = PaneStyle::Visible | PaneStyle::AlignRight;
constexpr quint32 kPreviewPaneStyle = PaneStyle::Visible | PaneStyle::AlignRight;
constexpr quint32 kOverviewPaneStyle = PaneStyle::Visible | PaneStyle::AlignRight;
const QRect kPaneRect(0, 0, 200, 200);
constexpr int kAddressBoxWidth = 200;
constexpr int kSearchBusyWidth = 100;
constexpr QSize kDefaultSize(1024, 720);
// A first start takes this share of the screen, as file managers do: room for
// the list's metadata columns between the panes.
constexpr double kFirstStartShare = 0.9;
// What a first start shows of the "Properties" pane's "Data" column at least.
constexpr int kFirstStartDataShown = 200;
// The share of the panes' height, in percent, a first start gives "Properties".
constexpr int kFirstStartRowsShare = 58;

QString BarName(unsigned id) {
    return QStringLiteral("Bar%1").arg(id);
}

// A pane of the frame's right-hand group, free to dock at any edge; false
// when it could not be created.
bool CreateDockedPane(DockablePane& pane, unsigned caption, unsigned id, quint32 style,
                      QMainWindow* frame) {
    if (!pane.Create(StringTable::Load(caption), frame, kPaneRect, true, int(id), style))
        return false;
    pane.EnableDocking(PaneStyle::AlignAny);
    pane.DockToFrame();
    return true;
}

} // namespace

CMainFrame::CMainFrame(const FrameServices& services) : m_services(services) {
    setObjectName(QStringLiteral("MainFrame"));
    setWindowTitle(DocString(DocField::WindowTitle));
    m_services.look.Load(m_services.settings);
    connect(&m_services.styles, &VisualStyles::DockingModeChanged, this,
            &CMainFrame::ApplyDockingMode);
    RegisterCommands();
    m_services.router.SetTarget(CommandRouter::Stage::Frame, this);
    // Clicking the ribbon's Copy must not lose the pane it copies from.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && !m_ribbon.isAncestorOf(now))
            m_commandFocus = now;
    });
}

CMainFrame::~CMainFrame() {
    // The view and its list go first, while the panes it talks to still exist.
    delete takeCentralWidget();
}

void CMainFrame::RegisterCommands() {
    using namespace CommandId;
    // The view answers the four view modes it knows before they get here.
    AddUpdateRange(ViewModeFirst, ViewModeLast, [](CommandUI& ui) { ui.Enable(false); });
    AddCommandRange(ViewModeFirst, ViewModeLast, [](unsigned) {});
    AddCommandRange(AppLookFirst, AppLookLast, [this](unsigned id) { ApplyVisualStyle(id); });
    AddUpdateRange(AppLookFirst, AppLookLast,
                   [this](CommandUI& ui) { ui.SetRadio(ui.Id() == m_services.look.Current()); });
    AddCommand(ViewFolders, [this] { OnToggleFolders(); });
    AddUpdate(ViewFolders, [this](CommandUI& ui) { ui.SetCheck(m_folderPane.IsPaneVisible()); });
    AddCommand(ViewStatusBar, [this] { m_statusBar.setVisible(m_statusBar.isHidden()); });
    AddUpdate(ViewStatusBar, [this](CommandUI& ui) { ui.SetCheck(!m_statusBar.isHidden()); });
    // Brings a closed "Properties" pane back; nothing else could.
    AddCommand(ViewProperties, [this] {
        if (m_propertiesCreated)
            m_propertiesPane.ShowPane(!m_propertiesPane.IsPaneVisible(), true);
    });
    AddUpdate(ViewProperties, [this](CommandUI& ui) {
        ui.Enable(m_propertiesCreated);
        ui.SetCheck(m_propertiesCreated && m_propertiesPane.IsPaneVisible());
    });
    AddCommand(ViewMetadata, [this] {
        if (m_metadataCreated)
            m_metadataPane.ShowPane(!m_metadataPane.IsPaneVisible(), true);
    });
    AddUpdate(ViewMetadata, [this](CommandUI& ui) {
        ui.Enable(m_metadataCreated);
        ui.SetCheck(m_metadataCreated && m_metadataPane.IsPaneVisible());
    });
    AddCommand(ViewPreview, [this] {
        if (m_previewCreated)
            m_previewPane.ShowPane(!m_previewPane.IsPaneVisible(), true);
    });
    AddUpdate(ViewPreview, [this](CommandUI& ui) {
        ui.Enable(m_previewCreated);
        ui.SetCheck(m_previewCreated && m_previewPane.IsPaneVisible());
    });
    AddCommand(ViewOverview, [this] {
        if (m_overviewCreated)
            m_overviewPane.ShowPane(!m_overviewPane.IsPaneVisible(), true);
    });
    AddUpdate(ViewOverview, [this](CommandUI& ui) {
        ui.Enable(m_overviewCreated);
        ui.SetCheck(m_overviewCreated && m_overviewPane.IsPaneVisible());
    });
    // The panes' rows; nothing in them is editable, so Cut and Paste stay
    // unanswered and greyed.
    AddCommand(EditCopy, [this] {
        if (RowCopySource* source = CopySourceWithFocus())
            source->CopyRows();
    });
    AddUpdate(EditCopy, [this](CommandUI& ui) {
        const RowCopySource* source = CopySourceWithFocus();
        ui.Enable(source && source->CanCopyRows());
    });
    AddCommand(EditSelectAll, [this] {
        if (RowCopySource* source = CopySourceWithFocus())
            source->SelectAllRows();
    });
    AddUpdate(EditSelectAll,
              [this](CommandUI& ui) { ui.Enable(CopySourceWithFocus() != nullptr); });
}

RowCopySource* CMainFrame::CopySourceWithFocus() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || m_ribbon.isAncestorOf(focus))
        focus = m_commandFocus;
    if (m_propertiesCreated && HoldsFocus(m_propertiesPane, focus))
        return &m_propertiesPane;
    if (m_metadataCreated && HoldsFocus(m_metadataPane, focus))
        return &m_metadataPane;
    if (m_overviewCreated && HoldsFocus(m_overviewPane, focus))
        return &m_overviewPane;
    return nullptr;
}

bool CMainFrame::Create() {
    if (m_created)
        return false;
    // The frame's own part: the view fills the centre.
    auto* view = new CExplorerView(m_services.router, this);
    connect(view, &CExplorerView::activated, this,
            [this](ShellFileList* list) { m_folderPane.ShellTree().SetRelatedList(list); });
    // Only the edit field: the entries of the box are the user's.
    connect(view, &CExplorerView::addressChanged, this, [this](const QString& text) {
        m_addressBox.setEditText(AddressOfFolder(text, QDir::homePath()));
    });
    connect(view, &CExplorerView::fileChosen, this,
            [this](const QByteArray& path) { ShowImageTags(path); });
    connect(view, &CExplorerView::searchFolderChanged, &m_searchBox, &SearchBox::SetFolder);
    connect(view, &CExplorerView::searchStatus, this, &CMainFrame::ShowSearchStatus);
    connect(&m_searchBox, &SearchBox::searchRequested, this, &CMainFrame::OnSearch);
    connect(&m_searchBox, &SearchBox::searchCleared, this, [this] {
        if (m_activeView)
            m_activeView->EndSearch();
    });
    setCentralWidget(view);
    // A first start's size; the panes dock into it.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(FirstStartGeometry(screen->availableGeometry()));
    else
        resize(kDefaultSize);
    if (!OnCreate())
        return false;
    LoadAccelerators();
    m_created = true;
    if (!RestoreWorkspace())
        SizePanesForFirstStart();
    return true;
}

bool CMainFrame::OnCreate() {
    // The theme is in place before any bar or pane exists.
    ApplyVisualStyle(m_services.look.Current());

    m_ribbon.setObjectName(BarName(ResourceId::RibbonBar));
    m_ribbon.SetCommandRouter(&m_services.router);
    m_ribbon.FollowVisualStyles(m_services.styles);
    m_ribbon.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_ribbon, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowContextMenu(&m_ribbon, pos); });
    setMenuWidget(&m_ribbon);
    BuildRibbon();

    m_statusBar.setObjectName(BarName(ResourceId::StatusBar));
    m_statusBar.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_statusBar, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowContextMenu(&m_statusBar, pos); });
    setStatusBar(&m_statusBar);

    if (!CreateAddressBar())
        return false;

    if (!m_folderPane.Create(QStringLiteral("Folders"), this, kPaneRect, true,
                             int(ResourceId::FoldersPane), kFolderPaneStyle))
        return false;

    CreateStatusBar();

    m_services.styles.SetDockingMode(DockingMode::Smart);
    ApplyDockingMode(m_services.styles.Docking());
    EnableAutoHidePanes(this, PaneStyle::AlignAny);

    m_folderPane.EnableDocking(PaneStyle::AlignLeft | PaneStyle::AlignRight);
    m_folderPane.DockToFrame();

    m_addressRebar.setAllowedAreas(Qt::TopToolBarArea);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, &m_addressRebar);

    m_propertiesCreated = CreateDockedPane(m_propertiesPane, StringId::PropertiesCaption,
                                           ResourceId::PropertiesPane, kPropertiesPaneStyle, this);
    // Split below "Properties" before "Metadata" joins it as a tab: a pane
    // split from a tabbed one would become one more tab.
    CreatePreviewPane();
    CreateMetadataPane();
    CreateOverviewPane();
    return true;
}

void CMainFrame::CreateMetadataPane() {
    m_metadataCreated = CreateDockedPane(m_metadataPane, StringId::MetadataCaption,
                                         ResourceId::MetadataPane, kMetadataPaneStyle, this);
    if (!m_metadataCreated)
        return;
    // A first start shows it as a tab behind "Properties"; a stored layout
    // puts it back where it was left.
    if (m_propertiesCreated) {
        tabifyDockWidget(&m_propertiesPane, &m_metadataPane);
        m_propertiesPane.raise();
    }
}

void CMainFrame::CreateOverviewPane() {
    m_overviewCreated = CreateDockedPane(m_overviewPane, StringId::OverviewCaption,
                                         ResourceId::OverviewPane, kOverviewPaneStyle, this);
    if (!m_overviewCreated)
        return;
    connect(&m_overviewPane, &COverviewWnd::queryChosen, this, &CMainFrame::OnOverviewQuery);
    // A first start shows it as a tab behind "Metadata"; a stored layout
    // puts it back where it was left.
    QDockWidget* before = m_metadataCreated     ? static_cast<QDockWidget*>(&m_metadataPane)
                          : m_propertiesCreated ? &m_propertiesPane
                                                : nullptr;
    if (before) {
        tabifyDockWidget(before, &m_overviewPane);
        if (m_propertiesCreated)
            m_propertiesPane.raise();
    }
}

void CMainFrame::CreatePreviewPane() {
    m_previewCreated = CreateDockedPane(m_previewPane, StringId::PreviewCaption,
                                        ResourceId::PreviewPane, kPreviewPaneStyle, this);
    if (!m_previewCreated)
        return;
    // A first start shows it below "Properties"; a stored layout puts it
    // back where it was left.
    if (m_propertiesCreated)
        splitDockWidget(&m_propertiesPane, &m_previewPane, Qt::Vertical);
}

// The panes are created 200 px wide, which hides the "Data" column of the
// "Properties" pane behind its "Tag" column. A stored layout is left alone.
void CMainFrame::SizePanesForFirstStart() {
    if (!m_propertiesCreated)
        return;
    const QTreeWidget& list = m_propertiesPane.TagList();
    const int scrollBar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    // A docked pane's list fills its width: the columns, the list's frame and
    // room for its scroll bar.
    const int width =
        list.header()->sectionSize(0) + kFirstStartDataShown + scrollBar + 2 * list.frameWidth();
    resizeDocks({&m_propertiesPane}, {width}, Qt::Horizontal);
    // Most of the height for the rows, the rest for the picture below them.
    if (m_previewCreated && !m_previewPane.isFloating())
        resizeDocks(
            {&m_propertiesPane, &m_previewPane},
            {height() * kFirstStartRowsShare / 100, height() * (100 - kFirstStartRowsShare) / 100},
            Qt::Vertical);
}

bool CMainFrame::CreateAddressBar() {
    m_addressBox.setObjectName(QStringLiteral("AddressBox"));
    m_addressBox.setEditable(true);
    // Entries come only from OnAddressEntered: no insertion of Qt's own, equal
    // entries allowed, and no completion that would change the typed path.
    m_addressBox.setInsertPolicy(QComboBox::NoInsert);
    m_addressBox.setDuplicatesEnabled(true);
    m_addressBox.setCompleter(nullptr);
    m_addressBox.setMinimumWidth(kAddressBoxWidth);
    m_addressBox.setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(&m_addressBox, &QComboBox::activated, this, &CMainFrame::OnAddressSelected);
    connect(m_addressBox.lineEdit(), &QLineEdit::returnPressed, this,
            &CMainFrame::OnAddressEntered);

    m_addressRebar.setObjectName(BarName(ResourceId::AddressRebar));
    m_addressRebar.setWindowTitle(QStringLiteral("Address"));
    m_addressRebar.setProperty(StyleRole::kProperty, StyleRole::kAddressBar);
    m_addressRebar.setMovable(true); // the gripper is always shown
    m_addressRebar.setFloatable(false);
    m_addressLabel.setText(QStringLiteral("Address"));
    m_addressLabel.setBuddy(&m_addressBox);
    m_addressLabel.setContentsMargins(4, 0, 4, 0);
    m_addressRebar.addWidget(&m_addressLabel);
    m_addressRebar.addWidget(&m_addressBox);
    m_addressRebar.addWidget(&m_searchBox);
    return true;
}

void CMainFrame::CreateStatusBar() {
    m_statusPane1.setObjectName(QStringLiteral("StatusPane%1").arg(CommandId::StatusPane1));
    m_statusPane1.setText(StringTable::Load(StringId::StatusPane1));
    m_statusPane2.setObjectName(QStringLiteral("StatusPane%1").arg(CommandId::StatusPane2));
    m_statusPane2.setText(StringTable::Load(StringId::StatusPane2));
    m_statusBar.addWidget(&m_statusPane1, 1);
    // A bar without an end: the search reads, how far is unknown.
    m_searchBusy.setObjectName(QStringLiteral("SearchBusy"));
    m_searchBusy.setRange(0, 0);
    m_searchBusy.setMaximumWidth(kSearchBusyWidth);
    m_searchBusy.setTextVisible(false);
    m_searchBusy.setAccessibleName(QStringLiteral("Searching"));
    m_searchBusy.hide();
    m_statusBar.addPermanentWidget(&m_searchBusy);
    m_statusBar.addPermanentWidget(&m_statusPane2);
}

void CMainFrame::ShowSearchStatus(const QString& text, bool busy) {
    m_statusPane1.setText(text.isEmpty() ? StringTable::Load(StringId::StatusPane1) : text);
    m_searchBusy.setVisible(busy);
}

void CMainFrame::OnSearch(const QString& query) {
    if (!m_activeView)
        return;
    QueryError error;
    if (m_activeView->Search(query, error))
        m_searchBox.Remember(query);
    else if (!error.reason.empty())
        m_searchBox.ShowError(tr("Cannot search: %1").arg(QString::fromStdString(error.Message())));
}

QLabel* CMainFrame::StatusPane(unsigned id) {
    if (id == CommandId::StatusPane1)
        return &m_statusPane1;
    if (id == CommandId::StatusPane2)
        return &m_statusPane2;
    return nullptr;
}

void CMainFrame::BuildRibbon() {
    BuildRibbonContent(m_ribbon, m_appButton, m_panelImages, m_services.router);
}

void CMainFrame::InitialUpdateFrame() {
    if (auto* view = qobject_cast<CExplorerView*>(centralWidget())) {
        SetActiveView(view);
        view->OnInitialUpdate();
    }
}

void CMainFrame::LoadAccelerators() {
    // The table's keys go on the commands' shared actions; added to the frame
    // they work wherever the focus is in the window.
    CommandRouter& router = m_services.router;
    ApplyAccelerators(MainFrameAccelerators(),
                      [&router](unsigned id) { return router.Action(id); });
    for (const Accelerator& row : MainFrameAccelerators())
        addAction(router.Action(row.commandId));
}

void CMainFrame::UpdateFrameTitle(const QString& documentTitle) {
    setWindowTitle(QStringLiteral("%1 - %2").arg(documentTitle, DocString(DocField::WindowTitle)));
}

CExplorerView* CMainFrame::GetActiveView() const {
    return m_activeView;
}

void CMainFrame::SetActiveView(CExplorerView* view) {
    CExplorerView* previous = m_activeView;
    m_activeView = view;
    m_services.router.SetTarget(CommandRouter::Stage::View, view);
    // The Preview pane's pictures are decoded by the view's workers, as its
    // thumbnails are.
    if (view)
        m_previewPane.SetSource(CPreviewWnd::DecodedBy(view->Decoder()));
    // The "Overview" pane draws what the active view's list holds.
    if (m_overviewCreated)
        m_overviewPane.Follow(view ? &view->FileList().ListModel() : nullptr);
    if (previous && previous != view)
        previous->OnActivateView(false, view, previous);
    if (view)
        view->OnActivateView(true, view, previous);
}

bool CMainFrame::ShowImageTags(const QByteArray& path) {
    const bool shown =
        ShowFileTags(path, m_propertiesPane, m_metadataCreated ? &m_metadataPane : nullptr);
    // Asked after the rows are in: the picture never holds them up.
    if (m_previewCreated && !path.isEmpty())
        m_previewPane.ShowFile(path);
    return shown;
}

bool CMainFrame::ShowImageTags(const QString& path) {
    return ShowImageTags(QFile::encodeName(path));
}

void CMainFrame::ApplyVisualStyle(unsigned id) {
    m_services.look.Set(id, m_services.styles, m_services.settings);
    // The whole frame at once, bars and panes included.
    if (isVisible())
        repaint();
    else
        update();
}

void CMainFrame::ApplyDockingMode(DockingMode mode) {
    // Smart docking opens the place a dragged pane would take; standard
    // docking shows only an outline there.
    // Panes floating together in one window are dragged as one.
    DockOptions options = AllowTabbedDocks | GroupedDragging;
    if (mode == DockingMode::Smart)
        options |= AnimatedDocks;
    setDockOptions(options);
}

QRect CMainFrame::FirstStartGeometry(const QRect& available) {
    const QSize size(int(available.width() * kFirstStartShare),
                     int(available.height() * kFirstStartShare));
    QRect placed(QPoint(), size);
    placed.moveCenter(available.center());
    return placed;
}

void CMainFrame::OnOverviewQuery(const QString& query) {
    QString current;
    if (m_activeView && m_activeView->FileList().ShowsResults())
        current = m_activeView->KeptQuery(ShownFolder());
    m_searchBox.SearchFor(NarrowedQuery(current, query));
}

void CMainFrame::OnAddressSelected(int index) {
    if (index < 0)
        return;
    const QString path = FolderOfAddress(m_addressBox.itemText(index), QDir::homePath());
    if (m_activeView)
        m_activeView->FileList().DisplayFolder(path);
}

void CMainFrame::OnAddressEntered() {
    const QString typed = m_addressBox.currentText();
    if (m_activeView)
        m_activeView->FileList().DisplayFolder(FolderOfAddress(typed, QDir::homePath()));
    // Qt makes the first entry of an empty box current, which would replace
    // what the view just wrote into the edit field.
    const QString shown = m_addressBox.currentText();
    m_addressBox.addItem(typed);
    m_addressBox.setEditText(shown);
}

void CMainFrame::OnToggleFolders() {
    m_folderPane.ShowPane(!m_folderPane.IsPaneVisible(), true);
}

void CMainFrame::SaveWorkspace() {
    SettingsStore& settings = m_services.settings;
    settings.SaveWindowState(*this);
    settings.WriteInt(kStatusBarKey, m_statusBar.isHidden() ? 0 : 1);
    if (auto* view = qobject_cast<CExplorerView*>(centralWidget())) {
        const ShellFileList& list = view->FileList();
        settings.WriteBytes(kListColumnsKey, list.SaveColumnState());
        settings.WriteInt(kListViewKey, int(list.GetViewMode()));
        QString folder;
        if (list.GetCurrentFolder(folder))
            settings.WriteBytes(kFolderKey, LocalPathBytes(folder));
    }
}

QString CMainFrame::LastFolder() const {
    const QByteArray bytes = m_services.settings.GetBytes(kFolderKey);
    return bytes.isEmpty() ? QString() : QFile::decodeName(bytes);
}

bool CMainFrame::RestoreWorkspace() {
    const SettingsStore& settings = m_services.settings;
    if (settings.GetInt(kStatusBarKey, 1) == 0)
        m_statusBar.hide();
    if (auto* view = qobject_cast<CExplorerView*>(centralWidget())) {
        ShellFileList& list = view->FileList();
        list.RestoreColumnState(settings.GetBytes(kListColumnsKey));
        const int mode = settings.GetInt(kListViewKey, int(ShellFileList::ViewMode::Details));
        if (mode >= int(ShellFileList::ViewMode::LargeIcons) &&
            mode <= int(ShellFileList::ViewMode::List))
            list.SetViewMode(ShellFileList::ViewMode(mode));
    }
    return settings.RestoreWindowState(*this);
}

void CMainFrame::SelectTreeFolder(const QString& folder) {
    m_folderPane.ShellTree().SelectFolder(folder);
}

QString CMainFrame::ShownFolder() const {
    QString folder;
    if (m_activeView)
        m_activeView->FileList().GetCurrentFolder(folder);
    return folder;
}

void CMainFrame::ShowFolder(const QString& folder) {
    if (m_activeView)
        m_activeView->FileList().DisplayFolder(folder);
}

void CMainFrame::ShowRecentFiles(const QStringList& files) {
    if (RibbonMainPanel* panel = m_appButton.MainPanel())
        if (RibbonRecentFilesList* list = panel->RecentFilesList())
            list->SetFiles(files);
}

void CMainFrame::SetPropertiesWidth(int width) {
    if (m_propertiesCreated)
        resizeDocks({&m_propertiesPane}, {width}, Qt::Horizontal);
}

QString CMainFrame::PropertiesRowsText() {
    return TagRowsText(m_propertiesPane);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_created)
        SaveWorkspace();
    QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Every activation of the frame activates its view again.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_activeView)
        m_activeView->OnActivateView(true, m_activeView, m_activeView);
}

QMenu* CMainFrame::createPopupMenu() {
    return CreateFrameContextMenu(m_services.router, this);
}

void CMainFrame::ShowContextMenu(QWidget* source, const QPoint& pos) {
    QMenu* menu = createPopupMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(source->mapToGlobal(pos));
}
