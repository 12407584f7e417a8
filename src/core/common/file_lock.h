#pragma once

namespace hakuvo {

// How the locks of this process are taken (flock); tests put in a file system that refuses them.
using TFlockFunction = int (*)(int descriptor, int operation);
// Returns the function used before; nullptr goes back to the system's.
TFlockFunction SetFlockFunctionForTests(TFlockFunction function);
int CallFlock(int descriptor, int operation);

// True for the errors by which a file system says it keeps no locks (a network file system
// without a lock service), as opposed to a lock that another process holds.
bool IsLockingUnavailable(int error);

}  // namespace hakuvo
