// Result codes of the standalone library, one numbering for the exports and
// every store operation.
#pragma once

namespace tallow::result {

constexpr int done = 1;
constexpr int no = 0;                      // "no", not found, or nothing to do
constexpr int missingArgument = 100;       // a required argument is null
constexpr int fileDoesNotLoad = 105;       // an XML file does not load
constexpr int noSingleTestAssetPath = 118; // project file without one usable "TestAssetPath"

}  // namespace tallow::result
