#include "host_session.h"

#include "record_printing.h"

#include <cstdio>

namespace tallow_host {
namespace {

void printAnswer(const std::string& call, int answer, const char* meaning)
{
    std::printf("%s answered %d: %s\n", call.c_str(), answer, meaning);
}

const char* loginMeaning(bool serverMode, int answer)
{
    if (answer == 1) return "logged in";
    if (serverMode) return "the project server refused the login or could not answer";
    switch (answer) {
    case 0: return "no project file, or the file is missing and no project could be chosen";
    case 100: return "no ProjectInfo pointer was passed";
    case 105: return "the project file does not load";
    case 118: return "the project file has no single TestAssetPath element";
    default: return "not an answer of this library";
    }
}

const char* lookupMeaning(bool serverMode, int answer)
{
    if (serverMode) return answer == 0 ? "found; the record is filled" : "not found, or the server failed";
    return answer == 1 ? "the script file exists" : "the script file does not exist";
}

const char* creationMeaning(bool serverMode, int answer)
{
    if (!serverMode) return "standalone mode creates no scripts";
    switch (answer) {
    case 0: return "created";
    case 5: return "a script of that name exists (mode 0 keeps it)";
    default: return "the server did not create the script";
    }
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

}  // namespace

HostSession::HostSession(const AssetLibrary& library) : library_(library), serverMode_(library.servesServerMode())
{
    std::printf("library %s (%s mode)\n", library.path().c_str(), serverMode_ ? "server" : "standalone");
}

bool HostSession::initialize()
{
    const int answer = library_.entryPoint<InitializeFunction>("Initialize")();
    printAnswer("Initialize()", answer, answer == 0 ? "ready" : "the project server is not available");
    return answer == 0;
}

bool HostSession::logIn(const LoginDetails& details, bool showRecord)
{
    // The library may put a pointer of its own into projectFile (standalone
    // mode, after the project-selection dialog); the buffer stays ours.
    std::string projectFile = details.projectFile;
    tallow::LoginRequest request{};
    request.projectFile = &projectFile[0];
    request.loginText1 = details.user.c_str();
    request.loginText2 = details.password.c_str();

    info_.freeStrings();  // the host's strings of an earlier login
    const int answer = library_.entryPoint<LoginToProjectFunction>("LoginToProject")(0, &request, info_.variable());
    printAnswer("LoginToProject(" + quoted(details.projectFile) + ")", answer, loginMeaning(serverMode_, answer));
    if (info_.record() && (showRecord || answer != 1)) printProjectInfo(*info_.record());
    return answer == 1;
}

bool HostSession::findScript(const std::string& name)
{
    HeldScriptInfo held;
    tallow::ScriptInfo* script = &held.record();
    // Standalone mode builds the script's files from the folder it finds in
    // scriptPath: the project's scripts folder.
    if (!serverMode_ && info_.record()) {
        const BSTR folder = info_.record()->scriptsPath;
        tallow::CountedString::fromWide(folder, SysStringLen(folder)).storeInto(script->scriptPath);
    }
    const int answer = library_.entryPoint<GetScriptByNameFunction>("getScriptByName")(name.c_str(), &script);
    printAnswer("getScriptByName(" + quoted(name) + ")", answer, lookupMeaning(serverMode_, answer));
    printScriptInfo(*script);
    return serverMode_ ? answer == 0 : answer == 1;
}

bool HostSession::createScript(const NewScript& request)
{
    HeldScriptInfo held;
    tallow::ScriptInfo& script = held.record();
    tallow::CountedString::fromAnsi(request.name.c_str()).storeInto(script.name);
    tallow::CountedString::fromAnsi(request.description.c_str()).storeInto(script.description);
    script.type = request.type;
    const int answer = library_.entryPoint<CreateScriptFunction>("createScript")(request.mode, &script);
    printAnswer("createScript(" + std::to_string(request.mode) + ", " + quoted(request.name) + ")", answer,
                creationMeaning(serverMode_, answer));
    return serverMode_ ? answer == 0 : true;
}

bool HostSession::launchViewer()
{
    std::fflush(stdout);  // the viewer's component may print too
    const int answer = library_.entryPoint<LaunchViewerFunction>("launchViewer")();
    printAnswer("launchViewer()", answer, answer == -1 ? "no viewer could be opened" : "the log viewer's answer");
    return answer != -1;
}

}  // namespace tallow_host
