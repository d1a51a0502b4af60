// Ways to make an output write fail, for tests of what a writer leaves behind.
#pragma once

#include <functional>
#include <string>

namespace granvel::test {

// Runs `work` in a child process whose file-size limit is `limitBytes`, so that a write past it fails as on a
// full disk. Returns what `work` returned; false also when the child died.
bool RunWithFileSizeLimit(std::size_t limitBytes, const std::function<bool()>& work);

// True when the tests run with rights that ignore file permissions (as root), so a read-only folder cannot
// make a write fail.
bool PermissionsAreIgnored();

}  // namespace granvel::test
