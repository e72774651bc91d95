#include "framework/settings/SettingsStore.h"

#include "framework/commands/CommandIds.h"
#include "framework/commands/StringTable.h"
#include "framework/docking/DockingState.h"

#include <QMainWindow>

namespace {

// Bump when the set of panes changes, so an older layout is not forced on it.
constexpr int kLayoutVersion = 1;

const QString kGeometryKey = QStringLiteral("Workspace/Geometry");
const QString kLayoutKey = QStringLiteral("Workspace/Layout");

} // namespace

SettingsStore::SettingsStore()
    : SettingsStore(QString::fromLatin1(kDefaultKey), StringTable::Load(StringId::AppTitle)) {}

SettingsStore::SettingsStore(const QString& key, const QString& application)
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, key, application) {}

int SettingsStore::GetInt(const QString& name, int defaultValue) const {
    const QVariant stored = m_settings.value(name);
    bool ok = false;
    const int value = stored.toInt(&ok);
    return stored.isValid() && ok ? value : defaultValue;
}

void SettingsStore::WriteInt(const QString& name, int value) {
    m_settings.setValue(name, value);
    m_settings.sync();
}

QByteArray SettingsStore::GetBytes(const QString& name) const {
    return m_settings.value(name).toByteArray();
}

void SettingsStore::WriteBytes(const QString& name, const QByteArray& value) {
    m_settings.setValue(name, value);
    m_settings.sync();
}

void SettingsStore::SaveWindowState(const QMainWindow& window) {
    m_settings.setValue(kGeometryKey, window.saveGeometry());
    m_settings.setValue(kLayoutKey, SaveDockingState(window, kLayoutVersion));
    m_settings.sync();
}

bool SettingsStore::RestoreWindowState(QMainWindow& window) const {
    const QByteArray geometry = m_settings.value(kGeometryKey).toByteArray();
    const QByteArray layout = m_settings.value(kLayoutKey).toByteArray();
    if (geometry.isEmpty() && layout.isEmpty())
        return false;
    const bool geometryRestored = !geometry.isEmpty() && window.restoreGeometry(geometry);
    const bool layoutRestored =
        !layout.isEmpty() && RestoreDockingState(window, layout, kLayoutVersion);
    return geometryRestored || layoutRestored;
}
