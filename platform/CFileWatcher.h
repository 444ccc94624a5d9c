/// @file
/// CFileWatcher: notices when files on disk change and have finished changing.
#pragma once

#include <memory>
#include <string>
#include <vector>

/// Tells which of a set of files changed on disk since they were first seen, once each change
/// has settled. The desktop build compares each file's stamp (modification time to the
/// nanosecond, size, inode) about twice a second; a stamp that differs is reported only after it
/// has stayed the same for a short while more, so that a file still being written is not read
/// half-way. Both ways editors save count: writing the file in place changes its time and size,
/// writing a temporary file and renaming it over the old one changes its inode; a file that is
/// missing for a moment in between is waited for.
///
/// The browser build has no files that could change: there it watches nothing and reports
/// nothing.
class CFileWatcher {
public:
    /// What is known of one file on disk.
    struct Stamp {
        bool exists = false;            ///< Whether the path names a file at all.
        long long modifiedNs = 0;       ///< Last modification, in nanoseconds since the epoch.
        long long size = 0;             ///< Size in bytes.
        unsigned long long inode = 0;   ///< Changes when a save renames another file over it.
        unsigned long long device = 0;  ///< The file system the inode belongs to.
        /// Same in every field: nothing changed.
        bool operator==(const Stamp& other) const {
            return exists == other.exists && modifiedNs == other.modifiedNs && size == other.size &&
                   inode == other.inode && device == other.device;
        }
        /// Some field differs: the file changed.
        bool operator!=(const Stamp& other) const { return !(*this == other); }
    };

    CFileWatcher();
    ~CFileWatcher();

    /// Whether it is time to look at the files again at nowMs (any millisecond clock): half a
    /// second after the last look, or a tenth of a second while a change is settling.
    bool IsDue(unsigned int nowMs) const;
    /// Looks at every file in paths and returns, once, each one whose change has settled since it
    /// was last reported (or first seen, which is when its watching begins). Files no longer
    /// listed are forgotten.
    std::vector<std::string> Check(const std::vector<std::string>& paths, unsigned int nowMs);

    /// The file's stamp now; a missing or unreadable file has exists false.
    static Stamp StampOf(const std::string& path);

private:
    // What is known of the files; each platform keeps its own.
    struct State;
    std::unique_ptr<State> state;
};
