// CFileWatcher in the browser: the page's files are packed into it and never change.
#include "platform/CFileWatcher.h"

struct CFileWatcher::State {};

CFileWatcher::CFileWatcher() {}

CFileWatcher::~CFileWatcher() {}

bool CFileWatcher::IsDue(unsigned int /*nowMs*/) const {
    return false;
}

std::vector<std::string> CFileWatcher::Check(const std::vector<std::string>& /*paths*/,
                                             unsigned int /*nowMs*/) {
    return {};
}

CFileWatcher::Stamp CFileWatcher::StampOf(const std::string& /*path*/) {
    return Stamp();
}
