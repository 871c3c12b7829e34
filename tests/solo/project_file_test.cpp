// Writing a project file and opening one into a ProjectInfo record.
#include "project_store.h"
#include "result_codes.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace tallow;
using namespace testing_support;

namespace {

// The host's side of a record: frees its strings and, at the end, the block.
struct HostRecord {
    ProjectInfo* info = nullptr;
    ~HostRecord()
    {
        releaseStrings();
        CoTaskMemFree(info);
    }
    void releaseStrings()
    {
        if (!info) return;
        BSTR* fields = reinterpret_cast<BSTR*>(info);
        for (int i = 0; i < 19; ++i) SysFreeString(fields[i]);
    }
};

std::string text(BSTR value)
{
    return ansiFromBstr(value);
}

std::string projectXml(const std::string& children)
{
    return "<Project>" + children + "</Project>";
}

int openProjectFile(const ScratchFolder& folder, const std::string& xml, HostRecord& record)
{
    const std::string path = folder / "Demo.project";
    writeFile(path, xml);
    ProjectStore store;
    return store.openProject(path.c_str(), &record.info);
}

const ProjectFileEntry demoEntries[] = {{"Name", "Demo"}, {"Comment", ""}, {"Location", "C:\\Work\\Demo"}};

}  // namespace

TEST(WriteProjectFile, WritesTheEntriesInOrderUnderProject)
{
    ScratchFolder folder;
    ProjectStore store;
    EXPECT_EQ(store.writeProjectFile("Demo", folder.path().c_str(), demoEntries, 3), 1);
    EXPECT_STREQ(store.projectFilePath(), (folder / "Demo.project").c_str());
    EXPECT_EQ(readFile(folder / "Demo.project"),
              "<Project><Name>Demo</Name><Comment/><Location>C:\\Work\\Demo</Location></Project>\n");
}

TEST(WriteProjectFile, CountZeroOrLessGivesAnEmptyRootAndNullValuesAddNoElement)
{
    ScratchFolder folder;
    for (int count : {0, -1}) {
        ProjectStore store;
        EXPECT_EQ(store.writeProjectFile("Empty", folder.path().c_str(), demoEntries, count), 1);
        EXPECT_EQ(readFile(folder / "Empty.project"), "<Project/>\n");
    }
    const ProjectFileEntry withoutComment[] = {{"Name", "Demo"}, {"Comment", nullptr}, {"Location", "L"}};
    ProjectStore store;
    EXPECT_EQ(store.writeProjectFile("Demo", folder.path().c_str(), withoutComment, 3), 1);
    EXPECT_EQ(readFile(folder / "Demo.project"), "<Project><Name>Demo</Name><Location>L</Location></Project>\n");
}

TEST(WriteProjectFile, RefusesMissingArgumentsAndOverlongPathsWithoutWriting)
{
    ScratchFolder folder;
    ProjectStore store;
    EXPECT_EQ(store.writeProjectFile(nullptr, folder.path().c_str(), demoEntries, 3), result::no);
    EXPECT_EQ(store.writeProjectFile("Demo", nullptr, demoEntries, 3), result::no);
    // folder + "\" + name + ".project" must stay below 512 bytes.
    const size_t room = projectFilePathSize - 1 - folder.path().size() - 1 - strlen(".project");
    for (size_t length : {room + 1, size_t{4096}}) {
        EXPECT_EQ(store.writeProjectFile(std::string(length, 'n').c_str(), folder.path().c_str(), demoEntries, 3),
                  result::no)
            << length;
        EXPECT_STREQ(store.projectFilePath(), "");
    }
    EXPECT_FALSE(exists(folder / "Demo.project"));
}

TEST(WriteProjectFile, APathOfExactly511BytesIsUsed)
{
    ScratchFolder folder;
    const size_t room = projectFilePathSize - 1 - folder.path().size() - 1 - strlen(".project");
    const std::string name(room, 'n');
    ProjectStore store;
    try {
        store.writeProjectFile(name.c_str(), folder.path().c_str(), demoEntries, 3);
    } catch (const ComError&) {
        // Too long for the file system: what matters is the path it tried.
    }
    EXPECT_EQ(strlen(store.projectFilePath()), projectFilePathSize - 1);
    EXPECT_EQ(std::string(store.projectFilePath()), folder / (name + ".project"));
}

TEST(WriteProjectFile, AFailedSaveRaises)
{
    ScratchFolder folder;
    ProjectStore store;
    EXPECT_THROW(store.writeProjectFile("Demo", (folder / "missing").c_str(), demoEntries, 3), ComError);
}

TEST(OpenProject, FillsEveryFieldFromTheAssetRoot)
{
    ScratchFolder folder;
    HostRecord record;
    ASSERT_EQ(openProjectFile(folder,
                              projectXml("<Name>Demo</Name><Comment>First try</Comment><Location>C:\\Work\\Demo"
                                         "</Location><TestAssetPath>C:\\Assets</TestAssetPath>"),
                              record),
              1);
    const ProjectInfo& info = *record.info;
    EXPECT_EQ(text(info.name), "Demo");
    EXPECT_EQ(text(info.comment), "First try");
    EXPECT_EQ(text(info.location), "C:\\Work\\Demo");
    EXPECT_EQ(text(info.assetPath), "C:\\Assets");
    EXPECT_EQ(text(info.projectPath), "C:\\Assets");
    EXPECT_NE(info.projectPath, info.assetPath) << "each field is a copy of its own";
    EXPECT_EQ(text(info.userName), "admin");
    EXPECT_EQ(info.flags, 0x11);
    // The folders are checked field by field over the exported record in the
    // login tests; here one of each depth.
    EXPECT_EQ(text(info.scriptsPath), "C:\\Assets\\Scripts");
    EXPECT_EQ(text(info.javaProxiesPath), "C:\\Assets\\Scripts\\javaProxies");
    EXPECT_EQ(text(info.dataPoolsPath), "C:\\Assets\\DataPools");
}

TEST(OpenProject, FindsElementsAtAnyDepthUnderAnyRoot)
{
    ScratchFolder folder;
    HostRecord record;
    ASSERT_EQ(openProjectFile(folder,
                              "<Anything><Settings><Name>Deep</Name><Other/><TestAssetPath>D:\\A"
                              "</TestAssetPath></Settings></Anything>",
                              record),
              1);
    EXPECT_EQ(text(record.info->name), "Deep");
    EXPECT_EQ(text(record.info->logPath), "D:\\A\\Log");
    ASSERT_NE(record.info->comment, nullptr) << "a missing element reads as empty text, not null";
    EXPECT_EQ(text(record.info->comment), "");
    EXPECT_NE(record.info->location, nullptr);
}

TEST(OpenProject, AnEmptyOrSlashEndedAssetRootIsUsedUnchanged)
{
    ScratchFolder folder;
    HostRecord empty;
    ASSERT_EQ(openProjectFile(folder, projectXml("<Name>Demo</Name><TestAssetPath/>"), empty), 1);
    EXPECT_EQ(text(empty.info->assetPath), "");
    EXPECT_NE(empty.info->assetPath, nullptr);
    EXPECT_EQ(text(empty.info->projectPath), "");
    EXPECT_EQ(text(empty.info->scriptsPath), "\\Scripts");
    EXPECT_EQ(text(empty.info->logPath), "\\Log");

    HostRecord slash;
    ASSERT_EQ(openProjectFile(folder, projectXml("<TestAssetPath>C:\\Assets\\</TestAssetPath>"), slash), 1);
    EXPECT_EQ(text(slash.info->scriptsPath), "C:\\Assets\\\\Scripts");
}

TEST(OpenProject, WithoutASingleTestAssetPathKeepsOnlyNameCommentAndLocation)
{
    ScratchFolder folder;
    const std::string head = "<Name>Demo</Name><Comment>c</Comment><Location>L</Location>";
    for (const std::string& tail :
         {std::string(), std::string("<TestAssetPath>A</TestAssetPath><TestAssetPath>B</TestAssetPath>"),
          std::string("<testassetpath>A</testassetpath>")}) {
        HostRecord record;
        EXPECT_EQ(openProjectFile(folder, projectXml(head + tail), record), result::noSingleTestAssetPath) << tail;
        const ProjectInfo& info = *record.info;
        EXPECT_EQ(text(info.name), "Demo");
        EXPECT_EQ(text(info.comment), "c");
        EXPECT_EQ(text(info.location), "L");
        const BSTR* fields = &info.assetPath;
        for (int i = 0; i < 16; ++i) EXPECT_EQ(fields[i], nullptr) << "field " << i + 3;
        EXPECT_EQ(info.flags, 0);
    }
}

TEST(OpenProject, AFileThatDoesNotLoadLeavesANewEmptyRecord)
{
    ScratchFolder folder;
    const std::string good = projectXml("<Name>Demo</Name><TestAssetPath>A</TestAssetPath>");
    for (const std::string& xml : {std::string("<?xml version=\"1.0\"?>") + good, std::string(""),
                                   std::string("<Project><Name>Demo</Project>")}) {
        HostRecord record;
        EXPECT_EQ(openProjectFile(folder, xml, record), result::fileDoesNotLoad) << xml;
        ASSERT_NE(record.info, nullptr);
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(record.info);
        EXPECT_EQ(std::count(bytes, bytes + sizeof(ProjectInfo), 0), 80) << xml;
    }
    HostRecord missing;
    ProjectStore store;
    EXPECT_EQ(store.openProject((folder / "missing.project").c_str(), &missing.info), result::fileDoesNotLoad);
    EXPECT_EQ(store.openProject(folder.path().c_str(), &missing.info), result::fileDoesNotLoad);
    EXPECT_EQ(store.openProject((folder / "missing.project").c_str(), nullptr), result::missingArgument);
}

TEST(OpenProject, ReplacesTheRecordButNotItsStrings)
{
    ScratchFolder folder;
    HostRecord record;
    ASSERT_EQ(openProjectFile(folder, projectXml("<Name>First</Name><TestAssetPath>A</TestAssetPath>"), record), 1);
    const ProjectInfo first = *record.info;
    ASSERT_EQ(openProjectFile(folder, projectXml("<Name>Second</Name><TestAssetPath>B</TestAssetPath>"), record),
              1);
    EXPECT_EQ(text(record.info->name), "Second");
    EXPECT_EQ(text(first.name), "First") << "the host's strings outlive the record";
    EXPECT_EQ(text(first.scriptsPath), "A\\Scripts");
    const BSTR* fields = &first.name;
    for (int i = 0; i < 19; ++i) SysFreeString(fields[i]);
}

TEST(OpenProject, WritesNothingToDisk)
{
    ScratchFolder folder;
    const std::string xml = "<Project>\n  <Name>Demo</Name>\n  <TestAssetPath>A</TestAssetPath>\n</Project>";
    HostRecord record;
    ASSERT_EQ(openProjectFile(folder, xml, record), 1);
    EXPECT_EQ(readFile(folder / "Demo.project"), xml);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder / "*").c_str(), &entry);
    int entries = 0;
    do ++entries;
    while (FindNextFileA(search, &entry));
    FindClose(search);
    EXPECT_EQ(entries, 3) << ". .. and the project file only";
}

// Name is read into 256 bytes, Comment and Location into 260, each cut to
// fit; an asset root that does not fit in 260 bytes is refused.
TEST(OpenProject, LongValuesAreCutExceptTheAssetRoot)
{
    ScratchFolder folder;
    for (const size_t extra : {size_t{0}, size_t{1}, size_t{2}, size_t{8192}}) {
        const std::string name(nameSize - 1 + extra, 'n');
        const std::string comment(folderSize - 1 + extra, 'c');
        const std::string location(folderSize - 1 + extra, 'l');
        const std::string root(folderSize - 1 + extra, 'r');
        HostRecord record;
        const int opened = openProjectFile(
            folder,
            projectXml("<Name>" + name + "</Name><Comment>" + comment + "</Comment><Location>" + location +
                       "</Location><TestAssetPath>" + root + "</TestAssetPath>"),
            record);
        EXPECT_EQ(text(record.info->name), name.substr(0, nameSize - 1)) << extra;
        EXPECT_EQ(text(record.info->comment), comment.substr(0, folderSize - 1)) << extra;
        EXPECT_EQ(text(record.info->location), location.substr(0, folderSize - 1)) << extra;
        if (extra == 0) {
            EXPECT_EQ(opened, 1);
            EXPECT_EQ(text(record.info->assetPath), root);
            EXPECT_EQ(text(record.info->javaProxiesPath), root + "\\Scripts\\javaProxies");
        } else {
            EXPECT_EQ(opened, result::noSingleTestAssetPath) << extra;
            EXPECT_EQ(record.info->assetPath, nullptr) << extra;
        }
    }
}
