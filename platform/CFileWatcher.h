/// @file
/// CFileWatcher: notices when files on disk change and have finished changing.
#pragma once

#include <memory>
#include <string>
#include <vector>

/// Tells which of a set of files changed on disk since they were first seen, once each change
/// has settled. The desktop build compares each file's stamp (modification and change time to
/// the nanosecond, size, inode); a stamp that differs is reported only after it has stayed the
/// same for a tenth of a second more. Both ways editors save count: writing the file in place
/// changes its time and size, writing a temporary file and renaming it over the old one changes
/// its inode; a file that is missing for a moment in between is waited for. A change of the
/// permissions alone changes the change time, so a file that could not be read is tried again
/// once it can be; a file missing when first seen is reported when it appears.
///
/// What "settled" promises is only that: the stamp stayed the same for a tenth of a second. A
/// writer that pauses longer than that in the middle of a file (a slow copy, a program writing
/// in pieces) has its half-written file reported; its reader then fails, says so once and keeps
/// what it had, and the finished file, whose stamp differs again, is reported and read once it
/// settles in turn.
///
/// The files are looked at in passes, one starting half a second after the last one started
/// (or when it ended, if later): the caller lists every file of the pass through Watch, a
/// limited number of them a frame, so that a pass over many files is spread over several frames
/// and a frame costs the same whatever their number. A file listed many times in a pass is
/// looked at once. Files listed in neither of the last two passes are forgotten.
///
/// The browser build has no files that could change: there it watches nothing and reports
/// nothing.
class CFileWatcher {
public:
    /// What is known of one file on disk.
    struct Stamp {
        bool exists = false;            ///< Whether the path names a file at all.
        long long modifiedNs = 0;       ///< Last modification, in nanoseconds since the epoch.
        long long changedNs = 0;        ///< Last change of the contents or of the permissions.
        long long size = 0;             ///< Size in bytes.
        unsigned long long inode = 0;   ///< Changes when a save renames another file over it.
        unsigned long long device = 0;  ///< The file system the inode belongs to.
        /// Same in every field: nothing changed.
        bool operator==(const Stamp& other) const {
            return exists == other.exists && modifiedNs == other.modifiedNs &&
                   changedNs == other.changedNs && size == other.size && inode == other.inode &&
                   device == other.device;
        }
        /// Some field differs: the file changed.
        bool operator!=(const Stamp& other) const { return !(*this == other); }
    };

    CFileWatcher();
    ~CFileWatcher();

    /// Whether a new pass is due at nowMs (any millisecond clock): none is under way and half a
    /// second has passed since the last one began, or none began yet.
    bool PassDue(unsigned int nowMs) const;
    /// Begins a pass at nowMs.
    void BeginPass(unsigned int nowMs);
    /// Lists the file in the current pass and looks at its stamp, unless it was looked at in
    /// this pass already. A file not watched before is first seen now, which is when its
    /// watching begins. Returns whether the file was looked at (one call to the file system).
    bool Watch(const std::string& path, unsigned int nowMs);
    /// Ends the current pass; files listed in neither this one nor the one before are
    /// forgotten.
    void EndPass();
    /// Returns, once, each file whose change has settled since it was last reported (or first
    /// seen), looking again at those whose change was seen a tenth of a second ago or more. With
    /// no change under way it only reads its own list.
    std::vector<std::string> TakeSettled(unsigned int nowMs);

    /// The file's stamp now; a missing or unreadable file has exists false.
    static Stamp StampOf(const std::string& path);

private:
    // What is known of the files; each platform keeps its own.
    struct State;
    std::unique_ptr<State> state;
};
