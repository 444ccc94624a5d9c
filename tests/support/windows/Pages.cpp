// Pages of memory whose access a test changes, from VirtualAlloc.
#include <windows.h>

#include "support/TestSupport.h"

namespace orvane_test {

Pages::Pages(size_t count) : count_(count) {
    data_ = static_cast<unsigned char*>(
        VirtualAlloc(nullptr, count * Size(), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

Pages::~Pages() {
    if (data_ != nullptr) {
        VirtualFree(data_, 0, MEM_RELEASE);
    }
}

size_t Pages::Size() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwPageSize;
}

bool Pages::Allow(size_t first, size_t count, bool access) {
    DWORD old = 0;
    return VirtualProtect(data_ + first * Size(), count * Size(),
                          access ? PAGE_READWRITE : PAGE_NOACCESS, &old) != 0;
}

}  // namespace orvane_test
