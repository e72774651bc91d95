#include "framework/views/ColumnChooser.h"

#include <QHeaderView>
#include <QMenu>

QMenu* ColumnChooserMenu(QHeaderView& header, QWidget* parent) {
    auto* menu = new QMenu(parent);
    const QAbstractItemModel* model = header.model();
    const int count = model ? model->columnCount() : 0;
    for (int section = 0; section < count; ++section) {
        QAction* action =
            menu->addAction(model->headerData(section, header.orientation()).toString());
        action->setCheckable(true);
        action->setChecked(!header.isSectionHidden(section));
        action->setEnabled(section != 0);
        QObject::connect(action, &QAction::toggled, &header, [&header, section](bool shown) {
            header.setSectionHidden(section, !shown);
            // A column shown again after it was hidden at width 0 needs one.
            if (shown && header.sectionSize(section) < header.minimumSectionSize())
                header.resizeSection(section, header.defaultSectionSize());
        });
    }
    return menu;
}

void EnableColumnChooser(QHeaderView& header) {
    header.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&header, &QWidget::customContextMenuRequested, &header,
                     [&header](const QPoint& pos) {
                         QMenu* menu = ColumnChooserMenu(header, &header);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->popup(header.mapToGlobal(pos));
                     });
}
