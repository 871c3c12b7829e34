// The standalone store's result codes in words, for the tool's messages.
#pragma once

#include <string>

namespace tallow_admin {

// What `code` means; `whenNo` is the meaning of 0, which differs by operation.
std::string resultWords(int code, const char* whenNo);

}  // namespace tallow_admin
