// Files the tool tests start from.
#pragma once

#include "pe_tables.h"
#include "scratch_folder.h"

#include <string>

namespace tools_testing {

// A standalone project in `folder`: Demo.project (comment "First & only")
// with its asset root `folder`\Assets and that root's Scripts folder.
// Answers the project file's path.
std::string writeStandaloneProject(const testing_support::ScratchFolder& folder);

}  // namespace tools_testing
