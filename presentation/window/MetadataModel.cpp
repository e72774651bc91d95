#include "presentation/window/MetadataModel.h"

#include "metadata/tags/GpsPosition.h"
#include "metadata/tags/TagText.h"

#include <QStandardItemModel>

#include <algorithm>
#include <array>

namespace MetadataModel {
namespace {

// Known groups come in this order; others follow as first met.
constexpr std::array<const char*, 9> kGroupOrder = {
    "QuickTime", "Image", "Exif", "GPS", "Interoperability", "Thumbnail", "SubIFD", "XMP", "IPTC"};

int GroupRank(const std::string& name) {
    const auto it = std::find_if(kGroupOrder.begin(), kGroupOrder.end(),
                                 [&name](const char* known) { return name == known; });
    return int(it - kGroupOrder.begin());
}

struct Group {
    std::string name;
    int rank;
    QStandardItem* item;
};

QStandardItem* Cell(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

QList<QStandardItem*> Row(const QString& tag, const QString& value, const QString& id,
                          const QString& type, const QString& tip) {
    QList<QStandardItem*> row = {Cell(tag), Cell(value), Cell(id), Cell(type)};
    for (QStandardItem* cell : row)
        cell->setToolTip(tip);
    row[TagColumn]->setData(false, GroupRole);
    return row;
}

} // namespace

QString IdText(int32_t id) {
    if (id < 0)
        return {};
    return QStringLiteral("0x") + QString::number(id, 16).toUpper().rightJustified(4, u'0');
}

QString TypeText(uint16_t type) {
    static constexpr std::array<const char*, 14> kNames = {
        "",          "BYTE",   "ASCII", "SHORT",     "LONG",  "RATIONAL", "SBYTE",
        "UNDEFINED", "SSHORT", "SLONG", "SRATIONAL", "FLOAT", "DOUBLE",   "IFD"};
    if (type < kNames.size())
        return QString::fromLatin1(kNames[type]);
    return QString::number(type);
}

std::unique_ptr<QStandardItemModel> Build(const std::vector<MetadataEntry>& entries) {
    auto model = std::make_unique<QStandardItemModel>(0, ColumnCount);
    model->setHorizontalHeaderLabels({QStringLiteral("Tag"), QStringLiteral("Value"),
                                      QStringLiteral("Id"), QStringLiteral("Type")});

    std::vector<Group> groups;
    auto groupOf = [&groups](const std::string& name) -> QStandardItem* {
        for (Group& group : groups)
            if (group.name == name)
                return group.item;
        QStandardItem* item = Cell(QString::fromStdString(name));
        item->setData(true, GroupRole);
        groups.push_back({name, GroupRank(name), item});
        return item;
    };

    if (const std::optional<GpsPosition> position = FindGpsPosition(entries)) {
        const QString uri = QString::fromStdString(GeoUri(*position));
        QList<QStandardItem*> row =
            Row(QString::fromLatin1(kPositionTag),
                QString::fromStdString(DecimalPositionText(*position)), {}, {}, uri);
        row[TagColumn]->setData(uri, GeoUriRole);
        groupOf(GroupDisplayName(position->group))->appendRow(row);
    }

    for (const MetadataEntry& entry : entries) {
        const QString raw = QString::fromStdString(RawText(entry));
        groupOf(GroupDisplayName(entry.group))
            ->appendRow(Row(QString::fromStdString(entry.name),
                            entry.text.empty() ? raw : QString::fromStdString(entry.text),
                            IdText(entry.id), TypeText(entry.type), raw));
    }

    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.rank < b.rank; });
    for (const Group& group : groups) {
        QList<QStandardItem*> row = {group.item};
        for (int column = 1; column < ColumnCount; ++column)
            row << Cell(QString());
        model->appendRow(row);
    }
    return model;
}

} // namespace MetadataModel
