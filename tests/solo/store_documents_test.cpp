// The store's operations over whole files: counting, listing, reading the one
// element of a tag, and removing an element by attribute.
#include "guarded_buffer.h"
#include "project_store.h"
#include "result_codes.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace testing_support;

namespace {

std::string repeated(const std::string& item, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) text += item;
    return text;
}

// Entries whose text buffers are guarded.
struct GuardedEntries {
    explicit GuardedEntries(size_t count) : buffers(count, GuardedBuffer(nameSize, '#')), entries(count)
    {
        for (size_t i = 0; i < count; ++i) entries[i] = ListEntry{&entries[i], buffers[i].data()};
    }
    std::vector<GuardedBuffer> buffers;
    std::vector<ListEntry> entries;
};

}  // namespace

TEST(StoreDocuments, ReadUniqueElementTextNeedsExactlyOneElement)
{
    ScratchFolder folder;
    const std::string path = folder / "project.project";
    writeFile(path, "<Project><Name>A</Name><Name>B</Name><Comment/><Location>C:\\W</Location></Project>");
    ProjectStore store;
    ASSERT_TRUE(store.loadDocument(path.c_str()));
    char text[256] = "before";
    TextBuffer buffer = textBuffer(text);
    EXPECT_EQ(store.readUniqueElementText("Name", buffer), 0);
    EXPECT_STREQ(text, "before");
    EXPECT_EQ(store.readUniqueElementText("Missing", buffer), 0);
    EXPECT_EQ(store.readUniqueElementText("Comment", buffer), 1);
    EXPECT_STREQ(text, "before") << "an empty element leaves the buffer as it was";
    EXPECT_EQ(store.readUniqueElementText("Location", buffer), 1);
    EXPECT_STREQ(text, "C:\\W");
}

TEST(StoreDocuments, CountElementsCannotTellAFailedLoadFrom105Elements)
{
    ScratchFolder folder;
    const std::string many = folder / "many.xml";
    writeFile(many, "<Root>" + repeated("<Mode/>", 105) + "</Root>");
    const std::string none = folder / "none.xml";
    writeFile(none, "<Root><Other/></Root>");
    ProjectStore store;
    EXPECT_EQ(store.countElements(many.c_str(), "Mode"), 105);
    EXPECT_EQ(store.countElements(none.c_str(), "Mode"), 0);
    EXPECT_EQ(store.countElements(none.c_str(), "Root"), 1) << "the root counts";
    EXPECT_EQ(store.countElements((folder / "missing.xml").c_str(), "Mode"), result::fileDoesNotLoad);
}

TEST(StoreDocuments, ListAttributeValuesCarriesTheLastValueOverAMissingAttribute)
{
    ScratchFolder folder;
    const std::string path = folder / "AssetManager.xml";
    writeFile(path, "<AssetManager><Mode DisplayName=\"One\"/><Mode/><Mode DisplayName=\"Three\"/></AssetManager>");
    ProjectStore store;
    GuardedEntries list(3);
    EXPECT_EQ(store.listAttributeValues(path.c_str(), "Mode", "DisplayName", list.entries.data(), 3), 1);
    EXPECT_EQ(list.buffers[0].text(), "One");
    EXPECT_EQ(list.buffers[1].text(), "One");
    EXPECT_EQ(list.buffers[2].text(), "Three");
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(list.entries[i].callerWord, &list.entries[i]);

    writeFile(path, "<AssetManager><Mode/><Mode DisplayName=\"Two\"/></AssetManager>");
    GuardedEntries firstMissing(2);
    EXPECT_EQ(store.listAttributeValues(path.c_str(), "Mode", "DisplayName", firstMissing.entries.data(), 2), 1);
    EXPECT_EQ(firstMissing.buffers[0].text(), "");
    EXPECT_EQ(firstMissing.buffers[1].text(), "Two");
}

TEST(StoreDocuments, ListAttributeValuesNeverWritesPastTheCallersEntries)
{
    ScratchFolder folder;
    const std::string path = folder / "modes.xml";
    writeFile(path, "<Root><Mode Name=\"a\"/><Mode Name=\"b\"/><Mode Name=\"c\"/></Root>");
    ProjectStore store;
    GuardedEntries list(3);
    EXPECT_EQ(store.listAttributeValues(path.c_str(), "Mode", "Name", list.entries.data(), 2), 1);
    EXPECT_EQ(list.buffers[0].text(), "a");
    EXPECT_EQ(list.buffers[1].text(), "b");
    EXPECT_EQ(list.buffers[2].text(), std::string(nameSize, '#')) << "the third entry is not the caller's";
    EXPECT_EQ(store.listAttributeValues(path.c_str(), "Mode", "Name", nullptr, 3), 1);
    EXPECT_EQ(store.listAttributeValues(path.c_str(), "Mode", "Name", list.entries.data(), 0), 1);
}

TEST(StoreDocuments, ListAttributeValuesTellsNoElementFromAFileThatDoesNotLoad)
{
    ScratchFolder folder;
    const std::string empty = folder / "empty.xml";
    writeFile(empty, "<AssetManager/>");
    const std::string declared = folder / "declared.xml";
    writeFile(declared, "<?xml version=\"1.0\"?><AssetManager><Mode Name=\"a\"/></AssetManager>");
    ProjectStore store;
    GuardedEntries list(1);
    EXPECT_EQ(store.listAttributeValues(empty.c_str(), "Mode", "Name", list.entries.data(), 1), result::no);
    EXPECT_EQ(store.listAttributeValues(declared.c_str(), "Mode", "Name", list.entries.data(), 1),
              result::fileDoesNotLoad);
    EXPECT_EQ(store.listAttributeValues((folder / "missing.xml").c_str(), "Mode", "Name", list.entries.data(), 1),
              result::fileDoesNotLoad);
    EXPECT_EQ(list.buffers[0].text(), std::string(nameSize, '#'));
}

TEST(StoreDocuments, ListedValuesAreCutToTheEntryBuffer)
{
    ScratchFolder folder;
    const std::string path = folder / "long.xml";
    const size_t lengths[] = {nameSize - 1, nameSize, nameSize + 1, 8192};
    std::string xml = "<Root>";
    for (size_t length : lengths) xml += "<Mode Name=\"" + std::string(length, 'n') + "\"/>";
    writeFile(path, xml + "</Root>");
    ProjectStore store;
    GuardedEntries list(4);
    EXPECT_EQ(store.listAttributeValues(path.c_str(), "Mode", "Name", list.entries.data(), 4), 1);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(list.buffers[i].text(), std::string(nameSize - 1, 'n')) << lengths[i];
        EXPECT_TRUE(list.buffers[i].guardsIntact()) << lengths[i];
    }
}

TEST(StoreDocuments, RemoveElementByAttributeRemovesOnlyTheFirstMatch)
{
    ScratchFolder folder;
    const std::string path = folder / "RegisteredProjects.xml";
    writeFile(path,
              "<RegisteredProjects><Project Name=\"Demo\" Location=\"1\"/><Project Name=\"demo\"/>"
              "<Project Name=\"Demo\" Location=\"2\"/></RegisteredProjects>");
    ProjectStore store;
    ASSERT_TRUE(store.loadDocument(path.c_str()));
    EXPECT_EQ(store.removeElementByAttribute("Project", "Name", "Demo", path.c_str()), 1);
    EXPECT_EQ(readFile(path),
              "<RegisteredProjects><Project Name=\"demo\"/><Project Name=\"Demo\" Location=\"2\"/>"
              "</RegisteredProjects>\n");
}

TEST(StoreDocuments, RemoveElementByAttributeWithoutAMatchLeavesTheFileAlone)
{
    ScratchFolder folder;
    const std::string path = folder / "RegisteredProjects.xml";
    const std::string original = "<RegisteredProjects>\n<Project Name=\"Demo\"/>\n</RegisteredProjects>";
    writeFile(path, original);
    ProjectStore store;
    ASSERT_TRUE(store.loadDocument(path.c_str()));
    EXPECT_EQ(store.removeElementByAttribute("Project", "Name", "Other", path.c_str()), 1);
    EXPECT_EQ(store.removeElementByAttribute("Project", "Name", "DEMO", path.c_str()), 1);
    EXPECT_EQ(store.removeElementByAttribute("Missing", "Name", "Demo", path.c_str()), 0);
    EXPECT_EQ(readFile(path), original);
}

TEST(StoreDocuments, AValueTooLongForTheBufferMatchesNothing)
{
    ScratchFolder folder;
    const std::string path = folder / "long.xml";
    const std::string prefix(nameSize - 1, 'p');
    const std::string original =
        "<Root><Item Name=\"" + prefix + "tail\"/><Item Name=\"" + std::string(8192, 'q') + "\"/></Root>";
    writeFile(path, original);
    ProjectStore store;
    ASSERT_TRUE(store.loadDocument(path.c_str()));
    EXPECT_EQ(store.removeElementByAttribute("Item", "Name", prefix.c_str(), path.c_str()), 1);
    EXPECT_EQ(store.removeElementByAttribute("Item", "Name", (prefix + "tail").c_str(), path.c_str()), 1);
    EXPECT_EQ(store.removeElementByAttribute("Item", "Name", std::string(8192, 'q').c_str(), path.c_str()), 1);
    EXPECT_EQ(readFile(path), original);
}
