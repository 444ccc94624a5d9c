// CFileWatcher in the browser: the page's files are packed into it and never change.
#include "platform/CFileWatcher.h"

struct CFileWatcher::State {};

CFileWatcher::CFileWatcher() {}

CFileWatcher::~CFileWatcher() {}

bool CFileWatcher::PassDue(unsigned int /*nowMs*/) const {
    return false;
}

void CFileWatcher::BeginPass(unsigned int /*nowMs*/) {}

bool CFileWatcher::Watch(const std::string& /*path*/, unsigned int /*nowMs*/) {
    return false;
}

void CFileWatcher::EndPass() {}

std::vector<std::string> CFileWatcher::TakeSettled(unsigned int /*nowMs*/) {
    return {};
}

CFileWatcher::Stamp CFileWatcher::StampOf(const std::string& /*path*/) {
    return Stamp();
}
