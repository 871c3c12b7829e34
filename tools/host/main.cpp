// tallowhost: loads an asset library as the host does and shows what it
// answers. Exit status 0 when the library's answers mean success, 1 when they
// mean failure, 2 when the command line or the setup does not allow a call.
#include "asset_library.h"
#include "command_line.h"
#include "host_session.h"
#include "mode_table.h"
#include "version.h"

#include <objbase.h>

#include <cstdio>
#include <memory>

namespace tallow_host {
namespace {

using tallow_tools::ParsedArguments;
using tallow_tools::UsageError;

constexpr int succeeded = 0;
constexpr int failed = 1;
constexpr int cannotRun = 2;

const char usage[] =
    "tallowhost " TALLOW_VERSION_TEXT "\n"
    "usage: tallowhost [--library DLL | --mode DISPLAYNAME] COMMAND ...\n"
    "  login PROJECTFILE [--user TEXT --password TEXT]\n"
    "  script PROJECTFILE NAME [--user TEXT --password TEXT]\n"
    "  create-script PROJECTFILE NAME [--mode N] [--description TEXT] [--type N] [--user TEXT --password TEXT]\n"
    "  viewer PROJECTFILE [--user TEXT --password TEXT]\n"
    "Without --library or --mode the standalone library, tallowsolo.dll, is loaded.\n";

// COM on the calling thread for as long as the host runs.
class ComApartment {
public:
    ComApartment()
    {
        if (FAILED(CoInitialize(nullptr))) throw std::runtime_error("COM cannot be initialised");
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() { CoUninitialize(); }
};

// The library named by the options that come before the command word; they
// are taken off `arguments`.
std::string chooseLibrary(std::vector<std::string>& arguments)
{
    std::string library = "tallowsolo.dll";
    int choices = 0;
    while (arguments.size() >= 2 && (arguments[0] == "--library" || arguments[0] == "--mode")) {
        library = arguments[0] == "--library" ? arguments[1] : libraryOfMode(arguments[1]);
        arguments.erase(arguments.begin(), arguments.begin() + 2);
        ++choices;
    }
    if (choices > 1) throw UsageError("give either --library or --mode, once");
    return library;
}

LoginDetails loginDetails(const ParsedArguments& parsed)
{
    return LoginDetails{parsed.words[1], parsed.value("user"), parsed.value("password")};
}

int run(std::vector<std::string> arguments)
{
    ComApartment apartment;
    const std::string libraryFile = chooseLibrary(arguments);
    const ParsedArguments parsed =
        tallow_tools::parseArguments(arguments, {"user", "password", "mode", "description", "type"}, {});
    const std::string command = parsed.words.empty() ? std::string() : parsed.words[0];

    // Checked before anything is loaded.
    NewScript newScript;
    if (command == "login" || command == "viewer") {
        tallow_tools::expectWords(parsed, 1, "PROJECTFILE");
    } else if (command == "script") {
        tallow_tools::expectWords(parsed, 2, "PROJECTFILE NAME");
    } else if (command == "create-script") {
        tallow_tools::expectWords(parsed, 2, "PROJECTFILE NAME");
        newScript = NewScript{parsed.words[2], parsed.value("description"), static_cast<int>(parsed.number("type", 1)),
                              static_cast<int>(parsed.number("mode", 0))};
    } else {
        throw UsageError(command.empty() ? "no command given" : "unknown command \"" + command + "\"");
    }
    if (parsed.has("mode") && command != "create-script") throw UsageError("--mode N belongs to create-script");

    const AssetLibrary library(libraryFile);
    if (command == "viewer" && !library.offers("launchViewer"))
        throw UsageError(library.path() + " has no log viewer (launchViewer)");
    HostSession session(library);
    if (!session.initialize()) return failed;
    if (!session.logIn(loginDetails(parsed), command == "login")) return failed;
    bool done = true;
    if (command == "script") done = session.findScript(parsed.words[2]);
    if (command == "create-script") done = session.createScript(newScript);
    if (command == "viewer") done = session.launchViewer();
    return done ? succeeded : failed;
}

}  // namespace
}  // namespace tallow_host

int main(int argc, char** argv)
{
    using namespace tallow_host;
    std::setvbuf(stdout, nullptr, _IONBF, 0);  // keeps order with what the libraries print
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "tallowhost: %s\n%s", error.what(), usage);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tallowhost: %s\n", error.what());
    } catch (const tallow::ComError& error) {
        std::fprintf(stderr, "tallowhost: COM error 0x%08lx\n", static_cast<unsigned long>(error.code()));
    }
    return cannotRun;
}
