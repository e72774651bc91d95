#pragma once

#include <QSettings>
#include <QString>

class QMainWindow;

// The per-user settings of the application, addressed by two names: the
// settings key ("Local AppWizard-Generated Applications") and below it the
// application title. On Linux this is an INI file under XDG_CONFIG_HOME.
class SettingsStore {
public:
    static constexpr char kDefaultKey[] = "Local AppWizard-Generated Applications";

    // The default key and the title from the string table.
    SettingsStore();
    SettingsStore(const QString& key, const QString& application);

    // The stored integer, or `defaultValue` when the value is absent or not
    // an integer.
    int GetInt(const QString& name, int defaultValue) const;
    // Written through at once, so a crash later does not lose it.
    void WriteInt(const QString& name, int value);
    // Bytes (a widget's saved state); empty when absent.
    QByteArray GetBytes(const QString& name) const;
    void WriteBytes(const QString& name, const QByteArray& value);

    // The main window's geometry and the layout of its bars and panes
    // (docked, floating, tabbed or auto-hidden), kept between runs. Panes are
    // matched up again by object name.
    void SaveWindowState(const QMainWindow& window);
    // False, leaving the window as it is, when nothing usable was stored.
    bool RestoreWindowState(QMainWindow& window) const;

    QString FileName() const { return m_settings.fileName(); }

private:
    mutable QSettings m_settings;
};
