#include "shell/ExplorerView.h"

#include "presentation/window/PhotoColumns.h"
#include "presentation/window/PhotoPictures.h"
#include "presentation/window/PictureDecoder.h"
#include "resources/ApplicationIds.h"
#include "shell/ListContextMenu.h"

#include <QHeaderView>
#include <QMenu>
#include <QResizeEvent>

#include <malloc.h>

namespace {

// Results are made on the readers' threads, in their memory arenas, which
// the window's thread does not reuse: what a large search freed (the rows it
// replaced, the batches it handed over) is given back to the system when
// the rows go and when it ends, so the next search does not add to them. A
// new search's readers may start in other arenas than the last one's.
constexpr qint64 kRowsWorthTrimming = 10000;

void ReleaseFreedRows(qint64 rows) {
    if (rows >= kRowsWorthTrimming)
        ::malloc_trim(0);
}

} // namespace

CExplorerView::CExplorerView(CommandRouter& router, QWidget* parent)
    : QWidget(parent), m_router(router), m_decoder(std::make_shared<PictureDecoder>()),
      m_shellList(this) {
    setObjectName(QStringLiteral("explorerView"));
    m_shellList.setObjectName(QStringLiteral("shellList"));
    m_shellList.setProperty("controlId", kShellListId);
    // The list covers the whole view, so the view never paints a background.
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusProxy(&m_shellList);
    m_shellList.SetViewMode(ShellFileList::ViewMode::Details);
    m_shellList.SetColumnProvider(std::make_shared<PhotoColumns>());
    // Lens comes last among the columns (so that older saved states keep
    // theirs) but is shown beside the camera until the user moves it.
    QHeaderView* header = m_shellList.DetailsView()->header();
    const int columns = FolderListModel::ColumnCount;
    header->moveSection(header->visualIndex(columns + PhotoColumns::Lens),
                        header->visualIndex(columns + PhotoColumns::Camera) + 1);
    m_shellList.Thumbnails().SetProvider(std::make_shared<PhotoPictures>(m_decoder));

    AddViewModeCommand(CommandId::ViewLargeIcon, ShellFileList::ViewMode::LargeIcons);
    AddViewModeCommand(CommandId::ViewDetails, ShellFileList::ViewMode::Details);
    AddViewModeCommand(CommandId::ViewList, ShellFileList::ViewMode::List);
    AddViewModeCommand(CommandId::ViewSmallIcon, ShellFileList::ViewMode::SmallIcons);

    connect(&m_shellList, &ShellFileList::folderChanged, this, [this] { OnFolderChanged(); });
    connect(&m_search, &PhotoSearch::found, this,
            [this] { m_shellList.AddResults(m_search.TakeFound()); });
    connect(&m_search, &PhotoSearch::progressed, this, [this](const SearchProgress& progress) {
        emit searchStatus(SearchProgressText(progress), !progress.done);
    });
    connect(&m_search, &PhotoSearch::finished, this,
            [this] { ReleaseFreedRows(m_search.Progress().matches); });
    connect(&m_shellList, &ShellFileList::itemClicked, this,
            [this](int item, int column, const QString&) { OnClick(item, column); });
    // The keyboard shows the current file as a click on its name would.
    connect(&m_shellList, &ShellFileList::itemChosenByKeyboard, this,
            [this](int item) { OnClick(item, 0); });
    connect(&m_shellList, &ShellFileList::contextMenuRequested, this,
            [this](const QPoint& globalPos, int item) { OnContextMenu(globalPos, item); });
}

CExplorerView::~CExplorerView() = default;

void CExplorerView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The picture decoder's worker starts while the window first paints.
    m_decoder->Prepare();
}

void CExplorerView::AddViewModeCommand(unsigned id, ShellFileList::ViewMode mode) {
    AddCommand(id, [this, mode] { m_shellList.SetViewMode(mode); });
    AddUpdate(id, [this, mode](CommandUI& ui) { ui.SetRadio(m_shellList.GetViewMode() == mode); });
}

void CExplorerView::OnInitialUpdate() {
    UpdateAddressBox();
}

void CExplorerView::OnActivateView(bool activate, CExplorerView*, CExplorerView*) {
    if (!activate)
        return;
    emit activated(&m_shellList);
}

void CExplorerView::UpdateAddressBox() {
    QString text;
    if (m_shellList.ShowsResults() && m_shellList.GetCurrentFolderName(text))
        text = tr("Search results in %1").arg(text);
    else if (!m_shellList.GetCurrentFolder(text) && !m_shellList.GetCurrentFolderName(text))
        text = QString::fromLatin1(kUnknownFolder);
    emit addressChanged(text);
}

// Another folder is shown (or the same again): a search running is over,
// and the folder's own search, when it has one, comes back.
void CExplorerView::OnFolderChanged() {
    m_search.Stop();
    UpdateAddressBox();
    QString folder;
    QString name;
    m_shellList.GetCurrentFolder(folder);
    m_shellList.GetCurrentFolderName(name);
    const auto kept = m_kept.constFind(folder);
    emit searchFolderChanged(name, kept != m_kept.cend() ? *kept : QString());
    emit searchStatus(QString(), false);
    QueryError error;
    if (kept != m_kept.cend())
        Search(*kept, error);
}

bool CExplorerView::Search(const QString& query, QueryError& error) {
    QString folder;
    if (!m_shellList.GetCurrentFolder(folder))
        return false;
    if (!m_search.Start(folder, query, error))
        return false;
    const int dropped = m_shellList.ShowsResults() ? m_shellList.GetItemCount() : 0;
    m_shellList.ShowResults(folder);
    ReleaseFreedRows(dropped);
    m_kept.insert(folder, query);
    UpdateAddressBox();
    emit searchStatus(SearchProgressText({}), true);
    return true;
}

void CExplorerView::EndSearch() {
    m_search.Stop();
    QString folder;
    if (!m_shellList.GetCurrentFolder(folder))
        return;
    m_kept.remove(folder);
    if (m_shellList.ShowsResults()) {
        const int dropped = m_shellList.GetItemCount();
        m_shellList.DisplayFolder(folder);
        ReleaseFreedRows(dropped);
    }
    emit searchStatus(QString(), false);
}

void CExplorerView::OnClick(int item, int column) {
    // Blank space and empty cells name no file.
    if (m_shellList.GetItemText(item, column).isEmpty())
        return;
    // The name's own bytes: a path is never re-encoded on its way to the file.
    ChooseFile(m_shellList.GetItemPathBytes(item));
}

void CExplorerView::OnContextMenu(const QPoint& globalPos, int item) {
    // Items have no menu of their own yet; blank space has the view's.
    if (item >= 0)
        return;
    QMenu* menu = CreateListContextMenu(m_shellList, m_router, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
    emit contextMenuShown(menu);
}

void CExplorerView::ChooseFile(const QByteArray& path) {
    emit fileChosen(path);
}

void CExplorerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_shellList.setGeometry(QRect(QPoint(0, 0), event->size()));
}
