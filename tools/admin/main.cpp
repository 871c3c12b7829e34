// tallowadmin: administration of the standalone store (install directory,
// project registry, mode table, project creation), linked with the same store
// code as tallowsolo.dll. Exit status 0 done, 1 failed, 2 command line not
// understood.
#include "admin_commands.h"
#include "command_line.h"
#include "com_error.h"
#include "version.h"

#include <objbase.h>

#include <cstdio>
#include <exception>

namespace tallow_admin {
namespace {

using tallow_tools::ParsedArguments;
using tallow_tools::UsageError;

constexpr int failed = 1;
constexpr int cannotRun = 2;

const char usage[] =
    "tallowadmin " TALLOW_VERSION_TEXT "\n"
    "usage: tallowadmin COMMAND ...\n"
    "  install-dir [PATH]        show the install directory, or record PATH as it\n"
    "  create NAME FOLDER [--comment TEXT] [--register] [--assets]\n"
    "  register PROJECTFILE      add a project to the project registry\n"
    "  unregister NAME           remove a project from the project registry\n"
    "  projects                  list the registered projects\n"
    "  add-mode LIBRARY DISPLAYNAME\n"
    "  remove-mode DISPLAYNAME\n"
    "  modes                     list the modes of the mode table\n";

int run(const std::vector<std::string>& arguments)
{
    const ParsedArguments parsed = tallow_tools::parseArguments(arguments, {"comment"}, {"register", "assets"});
    const std::string command = parsed.words.empty() ? std::string() : parsed.words[0];
    const auto& words = parsed.words;
    if ((parsed.has("comment") || parsed.has("register") || parsed.has("assets")) && command != "create")
        throw UsageError("--comment, --register and --assets belong to create");

    if (command == "install-dir") {
        if (words.size() == 1) return showInstallDirectory();
        tallow_tools::expectWords(parsed, 1, "at most one PATH");
        return recordInstallDirectoryCommand(words[1]);
    }
    if (command == "create") {
        tallow_tools::expectWords(parsed, 2, "NAME FOLDER");
        std::optional<std::string> comment;
        if (parsed.has("comment")) comment = parsed.value("comment");
        return createProjectCommand(words[1], words[2], comment, parsed.has("register"), parsed.has("assets"));
    }
    if (command == "register") {
        tallow_tools::expectWords(parsed, 1, "PROJECTFILE");
        return registerProjectCommand(words[1]);
    }
    if (command == "unregister") {
        tallow_tools::expectWords(parsed, 1, "NAME");
        return unregisterProjectCommand(words[1]);
    }
    if (command == "projects") {
        tallow_tools::expectWords(parsed, 0, "");
        return listProjectsCommand();
    }
    if (command == "add-mode") {
        tallow_tools::expectWords(parsed, 2, "LIBRARY DISPLAYNAME");
        return addModeCommand(words[1], words[2]);
    }
    if (command == "remove-mode") {
        tallow_tools::expectWords(parsed, 1, "DISPLAYNAME");
        return removeModeCommand(words[1]);
    }
    if (command == "modes") {
        tallow_tools::expectWords(parsed, 0, "");
        return listModesCommand();
    }
    throw UsageError(command.empty() ? "no command given" : "unknown command \"" + command + "\"");
}

// The system's words for a COM error's HRESULT, without the closing line break.
std::string errorText(HRESULT code)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(code), 0,
                   text, sizeof text, nullptr);
    std::string words(text);
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ')) words.pop_back();
    return words.empty() ? "no description" : words;
}

}  // namespace
}  // namespace tallow_admin

int main(int argc, char** argv)
{
    using namespace tallow_admin;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string command = arguments.empty() ? std::string() : arguments[0];
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "tallowadmin: COM cannot be initialised\n");
        return failed;
    }
    int status = failed;
    try {
        status = run(arguments);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "tallowadmin: %s\n%s", error.what(), usage);
        status = cannotRun;
    } catch (const tallow::ComError& error) {
        std::fprintf(stderr, "tallowadmin: %s failed: COM error 0x%08lx: %s\n", command.c_str(),
                     static_cast<unsigned long>(error.code()), errorText(error.code()).c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tallowadmin: %s failed: %s\n", command.c_str(), error.what());
    }
    CoUninitialize();
    return status;
}
