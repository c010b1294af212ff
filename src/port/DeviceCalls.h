#pragma once

#include <string>

namespace brelvion::port {

// The C library's calls on a device node as every real backend makes them: a signal that
// interrupts one does not fail it, and a failure comes back as -errno rather than in errno,
// as the backends' injectable calls return it. Through the C library, so that a preloaded
// stand-in for the kernel sees them.

// open(2) with O_CLOEXEC added.
int openDevice(const std::string& path, int flags);
int deviceIoctl(int fd, unsigned long request, void* argument);
// Not retried on EINTR: Linux has released the descriptor by then, and a retry could close
// one another thread has just been given.
int closeDevice(int fd);

// -errno for a negative result, else the result.
int resultOrErrno(int result);

}  // namespace brelvion::port
