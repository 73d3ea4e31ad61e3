#pragma once
// The player's own folder: the save file, the F1 snapshots and the best-run pictures are
// written there (and anything else the player keeps, such as settings). It is never the
// folder the archive is read from unless the player chose it.
//
// Until Settle runs, it is the current folder and writable: the tests work in their own
// folders that way.

#include <string>

class PlayerFolder {
public:
    // Settles the folder: the chosen one when given (--data-dir), otherwise
    // $XDG_DATA_HOME/korimo-shooting, or ~/.local/share/korimo-shooting when that variable is
    // unset, empty or relative, or the current folder when HOME is unset too (said on
    // standard error). On Windows the default is %APPDATA%\Korimo Shooting. The folder is created; when it cannot be created or written, one line
    // says so and nothing is written for the rest of the session.
    void Settle(const char* chosen);

    // Where the file of that name lives in the folder.
    std::string PathOf(const char* name) const;
    // The folder itself, "" for the current folder.
    const std::string& path() const { return folder; }
    // False when files must not be written: the scores are then kept in memory only.
    bool writable() const { return canWrite; }
    // Whether Settle picked the default folder rather than one chosen on the command line.
    bool isDefault() const { return byDefault; }

private:
    std::string folder;
    bool canWrite = true;
    bool byDefault = false;
};

// The folder the XDG rules give, from the values of XDG_DATA_HOME and HOME (null when unset);
// "" when neither gives one, which means the current folder.
std::string DefaultPlayerFolder(const char* xdgDataHome, const char* home);

extern PlayerFolder playerFolder;
