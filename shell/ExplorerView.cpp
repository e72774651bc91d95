#include "shell/ExplorerView.h"

#include "presentation/window/PhotoColumns.h"
#include "presentation/window/PhotoPictures.h"
#include "presentation/window/PictureDecoder.h"
#include "resources/ApplicationIds.h"
#include "shell/ListContextMenu.h"

#include <QMenu>
#include <QResizeEvent>

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
    m_shellList.Thumbnails().SetProvider(std::make_shared<PhotoPictures>(m_decoder));

    AddViewModeCommand(CommandId::ViewLargeIcon, ShellFileList::ViewMode::LargeIcons);
    AddViewModeCommand(CommandId::ViewDetails, ShellFileList::ViewMode::Details);
    AddViewModeCommand(CommandId::ViewList, ShellFileList::ViewMode::List);
    AddViewModeCommand(CommandId::ViewSmallIcon, ShellFileList::ViewMode::SmallIcons);

    connect(&m_shellList, &ShellFileList::folderChanged, this, [this] { UpdateAddressBox(); });
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
    if (!m_shellList.GetCurrentFolder(text) && !m_shellList.GetCurrentFolderName(text))
        text = QString::fromLatin1(kUnknownFolder);
    emit addressChanged(text);
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
