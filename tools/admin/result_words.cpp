#include "result_words.h"

#include "result_codes.h"

namespace tallow_admin {

std::string resultWords(int code, const char* whenNo)
{
    namespace result = tallow::result;
    switch (code) {
    case result::done: return "done";
    case result::no: return whenNo;
    case result::missingArgument: return "a required value is missing or empty";
    case result::folderNotMade: return "a folder was not made, or the project folder exists already";
    case result::folderNotEmpty: return "the folder is not empty";
    case result::fileDoesNotLoad: return "an XML file does not load";
    case result::projectRegistered: return "a project of that name is registered already";
    case result::projectNotRegistered: return "no project of that name is registered";
    case result::noInstallDirectory: return "no install directory is recorded";
    case result::libraryMissing: return "the library file is not in the install directory";
    case result::modeInTable: return "the library or the display name is in the mode table already";
    case result::modeNotInTable: return "no mode of that display name is in the mode table";
    case result::assetRootRecorded: return "the project file records an asset root already";
    case result::assetTreeNotMade: return "the asset tree was not made";
    case result::folderExists: return "a folder to be made exists already";
    case result::noSingleTestAssetPath: return "the project file has no single TestAssetPath element";
    case result::noEntries: return "the project registry holds no entry";
    case result::valueTooLong: return "a value is longer than the files can carry";
    default: return "result " + std::to_string(code);
    }
}

}  // namespace tallow_admin
