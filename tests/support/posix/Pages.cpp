// Pages of memory whose access a test changes, from mmap.
#include <sys/mman.h>
#include <unistd.h>

#include "support/TestSupport.h"

namespace orvane_test {

Pages::Pages(size_t count) : count_(count) {
    void* mapping =
        mmap(nullptr, count * Size(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    data_ = mapping != MAP_FAILED ? static_cast<unsigned char*>(mapping) : nullptr;
}

Pages::~Pages() {
    if (data_ != nullptr) {
        munmap(data_, count_ * Size());
    }
}

size_t Pages::Size() {
    return static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

bool Pages::Allow(size_t first, size_t count, bool access) {
    return mprotect(data_ + first * Size(), count * Size(),
                    access ? PROT_READ | PROT_WRITE : PROT_NONE) == 0;
}

}  // namespace orvane_test
