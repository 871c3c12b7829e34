// The XML document layer: its positions, what each operation catches, and the
// bounds of every copy into a caller's buffer.
#include "guarded_buffer.h"
#include "project_store.h"
#include "result_codes.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

using namespace tallow;
using namespace testing_support;

namespace {

// Loads `xml` from a file of the scratch folder into the store.
void loadXml(ProjectStore& store, const ScratchFolder& folder, const std::string& xml)
{
    const std::string path = folder / "document.xml";
    writeFile(path, xml);
    ASSERT_TRUE(store.loadDocument(path.c_str()));
}

}  // namespace

TEST(XmlDocument, CreateRootElementOnADocumentWithARootKeepsTheFirst)
{
    ScratchFolder folder;
    ProjectStore store;
    XmlDocument& document = store.xmlDocument();
    EXPECT_EQ(document.createRootElement("First"), 1);
    EXPECT_EQ(document.createRootElement("Second"), 1);
    EXPECT_EQ(document.createRootElement(nullptr), 1);
    store.saveDocument((folder / "roots.xml").c_str());
    EXPECT_EQ(readFile(folder / "roots.xml"), "<First/>\n");
}

TEST(XmlDocument, AppendChildElementAnswersZeroWhenItCannotAppend)
{
    ScratchFolder folder;
    ProjectStore store;
    XmlDocument& document = store.xmlDocument();
    document.createRootElement("Root");
    const Element root = document.rootElement();

    EXPECT_EQ(document.appendChildElement(nullptr, "Orphan", "text"), 0);
    ASSERT_TRUE(document.currentElement());
    EXPECT_NE(document.currentElement().get(), root.get()) << "the new element is current although not appended";
    EXPECT_EQ(document.appendChildElement(root, "NoText", nullptr), 0);
    EXPECT_EQ(document.appendChildElement(root, nullptr, "text"), 0);
    EXPECT_EQ(document.appendChildElement(root, "Empty", ""), 1);
    EXPECT_EQ(document.appendChildElement(root, "Full", "x"), 1);
    document.setAttributeValue(nullptr, "Name", "ignored");
    document.setAttributeValue(document.currentElement(), nullptr, "ignored");
    document.setAttributeValue(document.currentElement(), "Name", nullptr);
    store.saveDocument((folder / "children.xml").c_str());
    EXPECT_EQ(readFile(folder / "children.xml"), "<Root><Empty/><Full>x</Full></Root>\n");
}

TEST(XmlDocument, FindElementsByTagSearchesTheWholeDocumentInOrderAndCase)
{
    ScratchFolder folder;
    ProjectStore store;
    loadXml(store, folder,
            "<Project n=\"root\"><Project n=\"a\"><Deep><Project n=\"b\"/></Deep></Project>"
            "<project n=\"lower\"/><Project n=\"c\"/></Project>");
    XmlDocument& document = store.xmlDocument();
    document.findElementsByTag("Project");
    ASSERT_EQ(document.listLength(), 4);
    const char* expected[] = {"root", "a", "b", "c"};
    for (long i = 0; i < 4; ++i) {
        char value[256] = "";
        TextBuffer buffer = textBuffer(value);
        EXPECT_EQ(document.readAttributeValue(document.listItem(i), "n", buffer), 1);
        EXPECT_STREQ(value, expected[i]);
    }
    EXPECT_FALSE(document.listItem(4));
    document.findElementsByTag("Missing");
    EXPECT_EQ(document.listLength(), 0);
}

TEST(XmlDocument, ReadAttributeValueTellsAbsentFromEmpty)
{
    ScratchFolder folder;
    ProjectStore store;
    loadXml(store, folder, "<Mode Library=\"\" DisplayName=\"Standalone\"/>");
    XmlDocument& document = store.xmlDocument();
    const Element mode = document.rootElement();
    char value[256] = "before";
    TextBuffer buffer = textBuffer(value);
    EXPECT_EQ(document.readAttributeValue(mode, "Missing", buffer), 0);
    EXPECT_STREQ(value, "before");
    EXPECT_EQ(document.readAttributeValue(mode, "library", buffer), 0) << "names compare with case";
    EXPECT_EQ(document.readAttributeValue(mode, "Library", buffer), 1);
    EXPECT_STREQ(value, "");
    EXPECT_EQ(document.readAttributeValue(nullptr, "Library", buffer), 0);
    EXPECT_EQ(document.readAttributeValue(mode, nullptr, buffer), 0);
    TextBuffer none{nullptr, 256, false};
    EXPECT_EQ(document.readAttributeValue(mode, "Library", none), 0);
}

TEST(XmlDocument, ReadElementTextJoinsDescendantTextAndSkipsEmptyText)
{
    ScratchFolder folder;
    ProjectStore store;
    loadXml(store, folder, "<Root><Empty/><Mixed>one<b>two</b>three</Mixed></Root>");
    XmlDocument& document = store.xmlDocument();
    char text[256] = "before";
    TextBuffer buffer = textBuffer(text);
    document.findElementsByTag("Empty");
    EXPECT_EQ(document.readElementText(document.listItem(0), buffer), 0);
    EXPECT_STREQ(text, "before");
    document.findElementsByTag("Mixed");
    EXPECT_EQ(document.readElementText(document.listItem(0), buffer), 1);
    EXPECT_STREQ(text, "onetwothree");
    TextBuffer none{nullptr, 256, false};
    EXPECT_EQ(document.readElementText(document.listItem(0), none), 0);
    try {
        document.readElementText(nullptr, buffer);
        FAIL() << "a null element raises";
    } catch (const ComError& error) {
        EXPECT_EQ(error.code(), E_POINTER);
    }
}

// Texts longer than the caller's buffer keep what fits and are marked cut;
// the bytes after the buffer are never written.
TEST(XmlDocument, CopiesIntoACallersBufferStopAtItsEnd)
{
    ScratchFolder folder;
    const size_t size = 256;
    for (const size_t length : {size - 1, size, size + 1, size_t{8192}}) {
        const std::string value(length, 'v');
        ProjectStore store;
        loadXml(store, folder, "<Root Value=\"" + value + "\">" + value + "</Root>");
        XmlDocument& document = store.xmlDocument();
        const bool fits = length < size;

        GuardedBuffer attribute(size);
        TextBuffer attributeBuffer = attribute.buffer();
        EXPECT_EQ(document.readAttributeValue(document.rootElement(), "Value", attributeBuffer), 1);
        EXPECT_EQ(attribute.text(), value.substr(0, size - 1)) << length;
        EXPECT_EQ(attributeBuffer.cut, !fits) << length;
        EXPECT_TRUE(attribute.guardsIntact()) << length;

        GuardedBuffer text(size);
        TextBuffer textBuffer = text.buffer();
        EXPECT_EQ(document.readElementText(document.rootElement(), textBuffer), 1);
        EXPECT_EQ(text.text(), value.substr(0, size - 1)) << length;
        EXPECT_EQ(textBuffer.cut, !fits) << length;
        EXPECT_TRUE(text.guardsIntact()) << length;
    }
}

TEST(XmlDocument, WithoutTheDomServiceEveryDocumentOperationRaisesEPointer)
{
    // COM is not initialised on a thread of our own, so the DOM document
    // cannot be created there.
    std::thread worker([] {
        ScratchFolder folder;
        writeFile(folder / "file.xml", "<Root/>");
        ProjectStore store;
        XmlDocument& document = store.xmlDocument();
        EXPECT_EQ(document.createRootElement("Root"), 1);
        EXPECT_EQ(document.appendChildElement(document.rootElement(), "Child", "x"), 0);
        const auto raisesEPointer = [](auto operation) {
            try {
                operation();
                return false;
            } catch (const ComError& error) {
                return error.code() == E_POINTER;
            }
        };
        const std::string path = folder / "file.xml";
        const char* file = path.c_str();
        EXPECT_TRUE(raisesEPointer([&] { store.loadDocument(file); }));
        EXPECT_TRUE(raisesEPointer([&] { store.saveDocument((folder / "saved.xml").c_str()); }));
        EXPECT_TRUE(raisesEPointer([&] { document.findElementsByTag("Root"); }));
        EXPECT_TRUE(raisesEPointer([&] { store.countElements(file, "Root"); }));
        EXPECT_TRUE(raisesEPointer([&] { store.listAttributeValues(file, "Root", "Name", nullptr, 0); }));
        char out[256] = "";
        TextBuffer buffer = textBuffer(out);
        EXPECT_TRUE(raisesEPointer([&] { store.readUniqueElementText("Root", buffer); }));
        EXPECT_TRUE(raisesEPointer([&] { store.removeElementByAttribute("Root", "Name", "x", file); }));
        EXPECT_FALSE(exists(folder / "saved.xml"));
    });
    worker.join();
}
