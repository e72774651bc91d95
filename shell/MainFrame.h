#pragma once

#include "framework/commands/CommandTarget.h"
#include "framework/ribbon/ImageStrip.h"
#include "framework/ribbon/RibbonApplicationButton.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/styles/DrawingTheme.h"
#include "presentation/window/MetadataWnd.h"
#include "presentation/window/OverviewWnd.h"
#include "presentation/window/PreviewWnd.h"
#include "presentation/window/PropertiesWnd.h"
#include "shell/FolderBar.h"
#include "shell/FrameServices.h"
#include "shell/SearchBox.h"

#include <QByteArray>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QString>
#include <QStringList>
#include <QToolBar>

class CExplorerView;

// The main window: the ribbon on top, under it the address bar (with the
// search box at its right), the
// "Folders" pane at the left, the "Properties" pane at the right with the
// "Metadata" and "Overview" panes tabbed behind it and the "Preview" pane
// below them, the
// status bar at the bottom and the file list view in the centre. It is the frame
// stage of the command route and carries the road from a clicked file to the
// tag list (ShowImageTags).
//
// It is handed what it uses of the application (the command route, the
// settings, the visual styles and the choice among them) and knows nothing
// else of it; the application asks it through the operations below.
class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    // Reads the stored visual style (the application keeps the choice) and
    // becomes the frame stage of the command route.
    explicit CMainFrame(const FrameServices& services);
    ~CMainFrame() override;

    // Creates the view, applies the visual style and creates, fills and docks
    // every bar and pane, then brings back the layout of the last run. False,
    // with the frame unusable, when the status bar, the address bar or the
    // "Folders" pane cannot be made; a "Properties" pane that cannot be made
    // is left out, and so are a "Metadata", a "Preview" and an "Overview" pane.
    bool Create();
    // Activates the view (tying the folder tree to its list) and runs its
    // initial update. Done once the frame is created, before it is shown.
    void InitialUpdateFrame();

    CExplorerView* GetActiveView() const;
    // Makes `view` the active view: the first stage of the command route.
    void SetActiveView(CExplorerView* view);

    // The caption: the document's title, then the application's ("Untitled - Velmora").
    void UpdateFrameTitle(const QString& documentTitle);

    // Reads the file once: its EXIF rows into the "Properties" pane and its
    // every tag into the "Metadata" pane (see ShowFileTags); then asks the
    // "Preview" pane for its picture, which is made meanwhile on a thread of
    // its own. `path` holds the name's bytes exactly as the file system has them.
    bool ShowImageTags(const QByteArray& path);
    bool ShowImageTags(const QString& path);

    // Selects the visual style `id` (210..218; any other value gives the
    // Office 2007 theme in its current colours) for the application and
    // redraws the frame.
    void ApplyVisualStyle(unsigned id);
    // Fills the ribbon with its categories, panels and elements.
    void BuildRibbon();

    // The address box: an entry picked from its list, or the typed text
    // confirmed with Enter, is shown in the active view's file list ("~"
    // standing for the home folder). It writes the list's folder with "~"
    // for the home folder.
    void OnAddressSelected(int index);
    void OnAddressEntered();
    // The search box asks for a search of the active view's folder.
    void OnSearch(const QString& query);
    // Shows the "Folders" pane when it is hidden, hides it otherwise.
    void OnToggleFolders();
    // A bar of the "Overview" pane was chosen: its query, narrowing the
    // search the list shows, goes into the search box and is searched.
    void OnOverviewQuery(const QString& query);

    // The window's placement, the layout of its bars and panes (docked,
    // floating, tabbed or collapsed) and the status bar, kept between runs.
    void SaveWorkspace();
    bool RestoreWorkspace();
    // The folder the list showed when the workspace was last saved; empty
    // when none was kept. It may be gone since.
    QString LastFolder() const;
    // Where a first start puts the window on a screen whose free area is
    // `available`: most of it, centred.
    static QRect FirstStartGeometry(const QRect& available);

    // What the application asks of a created frame.
    // Selects `folder` in the folder tree (before the view is activated, so
    // the list starts there).
    void SelectTreeFolder(const QString& folder);
    // The folder the active view's list shows; empty when none.
    QString ShownFolder() const;
    // Shows `folder` in the active view's list.
    void ShowFolder(const QString& folder);
    // The files the application button's panel lists as recently used.
    void ShowRecentFiles(const QStringList& files);
    // Makes the docked "Properties" pane `width` pixels wide.
    void SetPropertiesWidth(int width);
    // The rows of the "Properties" pane, one "Tag<TAB>Data" line each.
    QString PropertiesRowsText();

    RibbonBar& Ribbon() { return m_ribbon; }
    RibbonApplicationButton& AppButton() { return m_appButton; }
    // The 16 x 16 images of the ribbon's panels.
    ImageStrip& PanelImages() { return m_panelImages; }
    QToolBar& AddressRebar() { return m_addressRebar; }
    QComboBox& AddressBox() { return m_addressBox; }
    SearchBox& SearchField() { return m_searchBox; }
    // Shown in the status bar while a search reads.
    QProgressBar& SearchBusy() { return m_searchBusy; }
    CFolderBar& FolderPane() { return m_folderPane; }
    CPropertiesWnd& PropertiesPane() { return m_propertiesPane; }
    CMetadataWnd& MetadataPane() { return m_metadataPane; }
    CPreviewWnd& PreviewPane() { return m_previewPane; }
    COverviewWnd& OverviewPane() { return m_overviewPane; }
    // The pane whose rows Copy and Select All act on: the one holding the
    // focus (or, while the ribbon has it, holding it last); null when none.
    RowCopySource* CopySourceWithFocus();
    QStatusBar& StatusBar() { return m_statusBar; }
    // The status pane with id 120 or 121; null for any other id.
    QLabel* StatusPane(unsigned id);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    bool OnCreate();
    void CreateStatusBar();
    bool CreateAddressBar();
    void SizePanesForFirstStart();
    void RegisterCommands();
    void LoadAccelerators();
    void ApplyDockingMode(DockingMode mode);
    void CreateMetadataPane();
    void CreatePreviewPane();
    void CreateOverviewPane();
    void ShowContextMenu(QWidget* source, const QPoint& pos);
    void ShowSearchStatus(const QString& text, bool busy);

    FrameServices m_services;
    // Declared parents first: children held by value must go before them.
    RibbonBar m_ribbon;
    RibbonApplicationButton m_appButton;
    ImageStrip m_panelImages;
    QToolBar m_addressRebar;
    QLabel m_addressLabel;
    QComboBox m_addressBox;
    SearchBox m_searchBox;
    CFolderBar m_folderPane;
    CPropertiesWnd m_propertiesPane;
    CMetadataWnd m_metadataPane;
    CPreviewWnd m_previewPane;
    COverviewWnd m_overviewPane;
    QStatusBar m_statusBar;
    QLabel m_statusPane1;
    QLabel m_statusPane2;
    QProgressBar m_searchBusy;

    QPointer<CExplorerView> m_activeView;
    // The last widget outside the ribbon to hold the focus.
    QPointer<QWidget> m_commandFocus;
    bool m_created = false;
    bool m_propertiesCreated = false;
    bool m_metadataCreated = false;
    bool m_previewCreated = false;
    bool m_overviewCreated = false;
};
