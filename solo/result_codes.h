// Result codes of the standalone library, one numbering for the exports and
// every store operation.
#pragma once

namespace tallow::result {

constexpr int done = 1;
constexpr int no = 0;                      // "no", not found, or nothing to do
constexpr int missingArgument = 100;       // a required argument is null
constexpr int folderNotMade = 101;         // a folder was not made, or the project folder exists
constexpr int folderNotEmpty = 102;        // a folder holds an entry other than "." and ".."
constexpr int fileDoesNotLoad = 105;       // an XML file does not load
constexpr int projectRegistered = 106;     // a project of that name is registered already
constexpr int projectNotRegistered = 107;  // no project of that name is registered
constexpr int noInstallDirectory = 108;    // the install directory cannot be read
constexpr int libraryMissing = 109;        // the library file is not in the install directory
constexpr int modeInTable = 111;           // the library or display name is in the table already
constexpr int modeNotInTable = 112;        // no mode of that display name is in the table
constexpr int assetRootRecorded = 115;     // the project file records an asset root already
constexpr int assetTreeNotMade = 116;      // the asset tree was not made
constexpr int folderExists = 117;          // a folder to be made exists already
constexpr int noSingleTestAssetPath = 118; // project file without one usable "TestAssetPath"
constexpr int noEntries = 119;             // the registry holds no entry
constexpr int valueTooLong = 120;          // a value is longer than the files can carry whole

}  // namespace tallow::result
