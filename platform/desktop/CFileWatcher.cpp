// CFileWatcher on the desktop: polls each file's stamp.
#include "platform/CFileWatcher.h"

#include "platform/CFileSystem.h"

#include <algorithm>

namespace {

// How long after the last look the files are looked at again, and how soon a change that was
// just seen is looked at again to see whether it has settled.
const unsigned int kLookIntervalMs = 500;
const unsigned int kSettleIntervalMs = 100;

}  // namespace

struct CFileWatcher::State {
    struct Entry {
        std::string path;
        Stamp known;    // as last reported, or as first seen
        Stamp seen;     // a different stamp, seen at the last look
        bool settling;  // whether seen holds a change that has yet to settle
    };

    std::vector<Entry> entries;
    unsigned int lastLook = 0;
    bool looked = false;
    bool anySettling = false;
};

CFileWatcher::CFileWatcher() : state(new State()) {}

CFileWatcher::~CFileWatcher() {}

bool CFileWatcher::IsDue(unsigned int nowMs) const {
    if (!state->looked) {
        return true;
    }
    // Unsigned subtraction stays right when the clock wraps.
    return nowMs - state->lastLook >= (state->anySettling ? kSettleIntervalMs : kLookIntervalMs);
}

std::vector<std::string> CFileWatcher::Check(const std::vector<std::string>& paths,
                                             unsigned int nowMs) {
    state->looked = true;
    state->lastLook = nowMs;
    std::vector<State::Entry> entries;
    entries.swap(state->entries);
    std::vector<State::Entry> kept;
    std::vector<std::string> settled;
    for (const std::string& path : paths) {
        if (std::any_of(kept.begin(), kept.end(),
                        [&path](const State::Entry& entry) { return entry.path == path; })) {
            continue;
        }
        auto found =
            std::find_if(entries.begin(), entries.end(),
                         [&path](const State::Entry& entry) { return entry.path == path; });
        Stamp now = StampOf(path);
        if (found == entries.end()) {
            kept.push_back(State::Entry{path, now, Stamp(), false});
            continue;
        }
        State::Entry entry = *found;
        if (now == entry.known) {
            entry.settling = false;
        } else if (!now.exists) {
            // Between the removal and the rename of a save, or deleted: wait for a file again.
            entry.settling = false;
        } else if (entry.settling && now == entry.seen) {
            // Unchanged since the last look: the writer is done. A read that still fails is
            // reported by the loader once; the next save changes the stamp and is tried again.
            settled.push_back(path);
            entry.known = now;
            entry.settling = false;
        } else {
            entry.seen = now;
            entry.settling = true;
        }
        kept.push_back(entry);
    }
    state->entries.swap(kept);
    state->anySettling = std::any_of(state->entries.begin(), state->entries.end(),
                                     [](const State::Entry& entry) { return entry.settling; });
    return settled;
}

CFileWatcher::Stamp CFileWatcher::StampOf(const std::string& path) {
    Stamp stamp;
    CFileSystem::Status info;
    if (!CFileSystem::StatusOf(path.c_str(), &info)) {
        return stamp;
    }
    stamp.exists = true;
    stamp.modifiedNs = info.modifiedNs;
    stamp.size = info.size;
    stamp.inode = info.inode;
    stamp.device = info.device;
    return stamp;
}
