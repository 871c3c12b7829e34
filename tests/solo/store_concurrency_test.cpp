// Changes to the install directory's files made at the same time, by several
// processes and by several threads: none is lost.
#include "install_folder.h"
#include "pe_tables.h"
#include "result_codes.h"
#include "store_functions.h"

#include <gtest/gtest.h>

#include <thread>

using namespace tallow;
using namespace solo_testing;
using namespace testing_support;

namespace {

// Worker processes (store_worker.exe) that start their work together.
class Workers {
public:
    Workers() : startName_("tallow-store-start-" + std::to_string(GetCurrentProcessId()))
    {
        start_ = CreateEventA(nullptr, TRUE, FALSE, startName_.c_str());
        if (!start_) throw std::runtime_error("cannot make the start event");
    }
    ~Workers()
    {
        SetEvent(start_);
        for (const PROCESS_INFORMATION& process : processes_) {
            WaitForSingleObject(process.hProcess, 60000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        CloseHandle(start_);
    }

    void launch(const std::vector<std::string>& arguments)
    {
        std::string command = "\"" + besideProgram("store_worker.exe") + "\" " + startName_;
        for (const std::string& argument : arguments) command += " \"" + argument + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            throw std::runtime_error("cannot start " + command);
        processes_.push_back(process);
    }

    // Lets every worker go and answers their exit codes.
    std::vector<DWORD> run()
    {
        SetEvent(start_);
        std::vector<DWORD> codes;
        for (const PROCESS_INFORMATION& process : processes_) {
            DWORD code = 999;
            if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
                GetExitCodeProcess(process.hProcess, &code);
            codes.push_back(code);
        }
        return codes;
    }

private:
    std::string startName_;
    HANDLE start_;
    std::vector<PROCESS_INFORMATION> processes_;
};

constexpr int workerCount = 4;
constexpr int changesPerWorker = 8;

std::string projectName(int worker, int index)
{
    return "P" + std::to_string(worker) + "-" + std::to_string(index);
}

// Writes the project file of `name` into `folder` and answers its path.
std::string projectFile(const ScratchFolder& folder, const std::string& name)
{
    const std::string path = folder / (name + ".project");
    writeFile(path, "<Project><Name>" + name + "</Name><Comment/><Location>" + folder.path() + "</Location></Project>");
    return path;
}

}  // namespace

TEST(StoreConcurrency, RegistrationsFromSeveralProcessesAtOnceAreAllKept)
{
    InstallFolder install;
    ScratchFolder projects;
    Workers workers;
    for (int worker = 0; worker < workerCount; ++worker) {
        std::vector<std::string> arguments = {"register"};
        for (int index = 0; index < changesPerWorker; ++index)
            arguments.push_back(projectFile(projects, projectName(worker, index)));
        workers.launch(arguments);
    }
    for (DWORD code : workers.run()) EXPECT_EQ(code, 0u);

    ProjectStore store;
    EXPECT_EQ(store.countProjects(), workerCount * changesPerWorker);
    for (int worker = 0; worker < workerCount; ++worker)
        for (int index = 0; index < changesPerWorker; ++index)
            EXPECT_EQ(store.findProject(projectName(worker, index).c_str()), 1) << projectName(worker, index);
    EXPECT_EQ(entriesOf(install.folder.path()), std::set<std::string>{"RegisteredProjects.xml"});
}

TEST(StoreConcurrency, ModesAddedFromSeveralProcessesAtOnceAreAllKept)
{
    InstallFolder install;
    Workers workers;
    std::set<std::string> expected = {"AssetManager.xml"};
    for (int worker = 0; worker < workerCount; ++worker) {
        std::vector<std::string> arguments = {"mode"};
        for (int index = 0; index < changesPerWorker; ++index) {
            const std::string library = projectName(worker, index) + ".dll";
            writeFile(install.folder / library, "");
            expected.insert(library);
            arguments.push_back(library);
            arguments.push_back("Mode " + projectName(worker, index));
        }
        workers.launch(arguments);
    }
    for (DWORD code : workers.run()) EXPECT_EQ(code, 0u);

    ProjectStore store;
    int count = 0;
    EXPECT_EQ(store.listModes(nullptr, 0, &count), 1);
    EXPECT_EQ(count, workerCount * changesPerWorker);
    for (int worker = 0; worker < workerCount; ++worker)
        for (int index = 0; index < changesPerWorker; ++index)
            EXPECT_EQ(store.findMode(("Mode " + projectName(worker, index)).c_str(), modeDisplayName), 1);
    EXPECT_EQ(entriesOf(install.folder.path()), expected);
}

TEST(StoreConcurrency, RegistrationsFromSeveralThreadsAtOnceAreAllKept)
{
    InstallFolder install;
    ScratchFolder projects;
    std::vector<std::vector<std::string>> files(workerCount);
    for (int worker = 0; worker < workerCount; ++worker)
        for (int index = 0; index < changesPerWorker; ++index)
            files[worker].push_back(projectFile(projects, projectName(worker, index)));

    const HANDLE start = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::vector<int> failures(workerCount, 0);
    std::vector<std::thread> threads;
    for (int worker = 0; worker < workerCount; ++worker)
        threads.emplace_back([&, worker] {
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            WaitForSingleObject(start, INFINITE);
            for (const std::string& file : files[worker])
                if (registerProjectFile(file.c_str()) != 1) ++failures[worker];
            CoUninitialize();
        });
    SetEvent(start);
    for (std::thread& thread : threads) thread.join();
    CloseHandle(start);

    for (int failed : failures) EXPECT_EQ(failed, 0);
    ProjectStore store;
    EXPECT_EQ(store.countProjects(), workerCount * changesPerWorker);
}
