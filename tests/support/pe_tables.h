// Reads the export and import tables of a PE file from disk.
#pragma once

#include <set>
#include <string>

namespace testing_support {

// Names in the export table, as stored.
std::set<std::string> exportedNames(const std::string& file);
// Names of the modules the import table names, lower case.
std::set<std::string> importedModules(const std::string& file);
// Names imported from one module (matched without regard to case).
std::set<std::string> importedNames(const std::string& file, const std::string& module);
// Full path of a file beside the running test program.
std::string besideProgram(const std::string& name);

}  // namespace testing_support
