// The sample logging libraries write what they receive, one line a call, to
// "tallow-sample.log" beside the library that writes it.
#pragma once

#include <string>

namespace sample_logging {

// Appends `line` and a line break to the sample log.
void appendToLog(const std::string& line);

}  // namespace sample_logging
