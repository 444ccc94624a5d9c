// CFileWatcher on the desktop: polls each file's stamp.
#include "platform/CFileWatcher.h"

#include "platform/CFileSystem.h"

#include <algorithm>
#include <unordered_map>

namespace {

// How long after the last pass began the next one may begin, and how soon a change that was
// just seen is looked at again to see whether it has settled.
const unsigned int kPassIntervalMs = 500;
const unsigned int kSettleIntervalMs = 100;
// How many files each step looks through for those no longer listed.
const size_t kSweepPerStep = 100;

}  // namespace

struct CFileWatcher::State {
    struct Entry {
        std::string path;
        Stamp known;              // as last reported, or as first seen
        Stamp seen;               // a different stamp, seen at the last look
        bool settling = false;    // whether seen holds a change that has yet to settle
        unsigned int seenAt = 0;  // when seen was taken
        unsigned long pass = 0;   // the last pass that listed the file
    };

    // The files, and where each one is in the list.
    std::vector<Entry> entries;
    std::unordered_map<std::string, size_t> slotOf;
    // The files whose change is settling, each once; few, as saves are.
    std::vector<std::string> settling;
    unsigned long pass = 0;
    bool passing = false;
    unsigned int passBegan = 0;
    // Where the search for forgotten files goes on.
    size_t sweep = 0;

    Entry* Find(const std::string& path) {
        auto found = slotOf.find(path);
        return found != slotOf.end() ? &entries[found->second] : nullptr;
    }

    // Compares a stamp just taken with what is known, and notes a change to be settled.
    void Look(Entry& entry, const Stamp& now, unsigned int nowMs) {
        if (now == entry.known || !now.exists) {
            // Unchanged, changed back, or between the removal and the rename of a save (or
            // deleted): nothing to settle until a file is there again.
            entry.settling = false;
        } else if (!entry.settling || now != entry.seen) {
            if (!entry.settling) {
                settling.push_back(entry.path);
            }
            entry.seen = now;
            entry.seenAt = nowMs;
            entry.settling = true;
        }
    }

    // Forgets, among the next few files, those listed in neither this pass nor the last, so
    // that no frame walks all of them.
    void Sweep() {
        for (size_t step = 0; step < kSweepPerStep && !entries.empty(); ++step) {
            if (sweep >= entries.size()) {
                sweep = 0;
            }
            if (entries[sweep].pass + 1 >= pass) {
                ++sweep;
                continue;
            }
            // The last file takes the place of the one forgotten.
            slotOf.erase(entries[sweep].path);
            if (sweep + 1 != entries.size()) {
                entries[sweep] = std::move(entries.back());
                slotOf[entries[sweep].path] = sweep;
            }
            entries.pop_back();
        }
    }
};

CFileWatcher::CFileWatcher() : state(new State()) {}

CFileWatcher::~CFileWatcher() {}

bool CFileWatcher::PassDue(unsigned int nowMs) const {
    // Unsigned subtraction stays right when the clock wraps.
    return !state->passing && (state->pass == 0 || nowMs - state->passBegan >= kPassIntervalMs);
}

void CFileWatcher::BeginPass(unsigned int nowMs) {
    ++state->pass;
    state->passing = true;
    state->passBegan = nowMs;
}

bool CFileWatcher::Watch(const std::string& path, unsigned int nowMs) {
    State::Entry* entry = state->Find(path);
    if (entry == nullptr) {
        State::Entry added;
        added.path = path;
        added.known = StampOf(path);
        added.pass = state->pass;
        state->slotOf[path] = state->entries.size();
        state->entries.push_back(std::move(added));
        return true;
    }
    if (entry->pass == state->pass) {
        return false;
    }
    entry->pass = state->pass;
    state->Look(*entry, StampOf(path), nowMs);
    return true;
}

void CFileWatcher::EndPass() {
    state->passing = false;
}

std::vector<std::string> CFileWatcher::TakeSettled(unsigned int nowMs) {
    state->Sweep();
    std::vector<std::string> settled;
    std::vector<std::string>& waiting = state->settling;
    for (size_t i = 0; i < waiting.size();) {
        State::Entry* entry = state->Find(waiting[i]);
        if (entry != nullptr && entry->settling && nowMs - entry->seenAt >= kSettleIntervalMs) {
            Stamp now = StampOf(waiting[i]);
            if (now == entry->seen) {
                // Unchanged since the last look: the writer is done. A read that still fails is
                // reported by the loader once; the next change of the stamp is tried again.
                settled.push_back(waiting[i]);
                entry->known = now;
                entry->settling = false;
            } else {
                state->Look(*entry, now, nowMs);
            }
        }
        if (entry == nullptr || !entry->settling) {
            waiting[i] = waiting.back();
            waiting.pop_back();
        } else {
            ++i;
        }
    }
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
    stamp.changedNs = info.changedNs;
    stamp.size = info.size;
    stamp.inode = info.inode;
    stamp.device = info.device;
    return stamp;
}
