#pragma once

#include <QFile>
#include <QTemporaryDir>

#include <initializer_list>
#include <list>

// What every GUI test binary sets up in main() before the application object
// exists: the offscreen platform unless the caller chose another, and each
// named variable (XDG_CONFIG_HOME, HOME) pointed at a temporary folder of its
// own, so that no test touches the user's real files. The folders last as
// long as this object.
class TestEnvironment {
public:
    explicit TestEnvironment(std::initializer_list<const char*> privateFolders = {}) {
        for (const char* variable : privateFolders) {
            const QTemporaryDir& folder = m_folders.emplace_back();
            if (!folder.isValid()) {
                m_valid = false;
                return;
            }
            qputenv(variable, QFile::encodeName(folder.path()));
        }
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    bool IsValid() const { return m_valid; }

private:
    std::list<QTemporaryDir> m_folders; // stay where they are made
    bool m_valid = true;
};
