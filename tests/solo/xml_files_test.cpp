// The files the store reads and writes: what loads, and what a save writes,
// byte for byte.
#include "project_store.h"
#include "result_codes.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

using namespace tallow;
using namespace testing_support;

namespace {

const std::string bom = "\xEF\xBB\xBF";

struct FileCase {
    const char* what;
    std::string bytes;
    bool loads;
};

}  // namespace

TEST(XmlFiles, OnlyAFileWhoseFirstNodeIsTheRootElementLoads)
{
    const FileCase cases[] = {
        {"plain", "<Project><Name>Demo</Name></Project>", true},
        {"final line break", "<Project><Name>Demo</Name></Project>\r\n", true},
        {"final LF", "<Project><Name>Demo</Name></Project>\n", true},
        {"byte-order mark", bom + "<Project><Name>Demo</Name></Project>", true},
        {"byte-order mark and line break", bom + "<Project><Name>Demo</Name></Project>\r\n", true},
        {"indented", "<Project>\r\n  <Name>Demo</Name>\r\n</Project>\r\n", true},
        {"declaration", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Project><Name>Demo</Name></Project>", false},
        {"comment", "<!-- made by hand --><Project><Name>Demo</Name></Project>", false},
        {"processing instruction", "<?style sheet?><Project><Name>Demo</Name></Project>", false},
        {"document type", "<!DOCTYPE Project><Project><Name>Demo</Name></Project>", false},
        {"empty", "", false},
        {"malformed", "<Project><Name>Demo</Project>", false},
        {"not XML", "Name=Demo\r\n", false},
    };
    ScratchFolder folder;
    for (const FileCase& c : cases) {
        const std::string path = folder / "case.xml";
        writeFile(path, c.bytes);
        ProjectStore store;
        EXPECT_EQ(store.loadDocument(path.c_str()), c.loads) << c.what;
        EXPECT_EQ(store.countElements(path.c_str(), "Name"), c.loads ? 1 : result::fileDoesNotLoad) << c.what;
        EXPECT_EQ(readFile(path), c.bytes) << c.what;
    }
}

TEST(XmlFiles, MissingFileFolderAndEmptyPathDoNotLoad)
{
    ScratchFolder folder;
    ProjectStore store;
    EXPECT_FALSE(store.loadDocument((folder / "missing.xml").c_str()));
    EXPECT_EQ(store.countElements((folder / "missing.xml").c_str(), "Name"), result::fileDoesNotLoad);
    EXPECT_FALSE(store.loadDocument(folder.path().c_str()));
    EXPECT_EQ(store.countElements(folder.path().c_str(), "Name"), result::fileDoesNotLoad);
    EXPECT_FALSE(store.loadDocument(""));
    EXPECT_EQ(store.countElements("", "Name"), result::fileDoesNotLoad);
    EXPECT_FALSE(exists(folder / "missing.xml"));
}

TEST(XmlFiles, AFileThatDoesNotLoadEmptiesTheDocument)
{
    ScratchFolder folder;
    writeFile(folder / "good.xml", "<Project><Name>Demo</Name></Project>");
    writeFile(folder / "bad.xml", "<Project><Name>Demo</Project>");
    ProjectStore store;
    for (const char* next : {"missing.xml", "bad.xml"}) {
        ASSERT_TRUE(store.loadDocument((folder / "good.xml").c_str()));
        EXPECT_FALSE(store.loadDocument((folder / next).c_str())) << next;
        EXPECT_FALSE(store.xmlDocument().rootElement()) << next;
        store.xmlDocument().findElementsByTag("Name");
        EXPECT_EQ(store.xmlDocument().listLength(), 0) << next;
    }
}

TEST(XmlFiles, SaveWritesUtf8WithoutDeclarationOrIndentation)
{
    ScratchFolder folder;
    const std::string path = folder / "saved.xml";
    {
        ProjectStore store;
        XmlDocument& document = store.xmlDocument();
        document.createRootElement("RegisteredProjects");
        document.appendChildElement(document.rootElement(), "Project", "");
        document.setAttributeValue(document.currentElement(), "Name", "D\xE9mo");
        document.setAttributeValue(document.currentElement(), "Comment", "");
        document.setAttributeValue(document.currentElement(), "Location", "C:\\Work\\Demo");
        document.setAttributeValue(document.currentElement(), "Name", "Demo");
        document.appendChildElement(document.rootElement(), "Note", "caf\xE9 <&> \"'");
        store.saveDocument(path.c_str());
    }
    const std::string bytes = readFile(path);
    EXPECT_EQ(bytes,
              "<RegisteredProjects>"
              "<Project Name=\"Demo\" Comment=\"\" Location=\"C:\\Work\\Demo\"/>"
              "<Note>caf\xC3\xA9 &lt;&amp;&gt; \"'</Note>"
              "</RegisteredProjects>\n");
}

TEST(XmlFiles, TextWithEscapedCharactersReadsBackUnchanged)
{
    ScratchFolder folder;
    const std::string path = folder / "round.xml";
    const char* text = "a<b & c>d \"quoted\" 'single' caf\xE9";
    {
        ProjectStore store;
        store.xmlDocument().createRootElement("Root");
        store.xmlDocument().appendChildElement(store.xmlDocument().rootElement(), "Value", text);
        store.xmlDocument().setAttributeValue(store.xmlDocument().currentElement(), "Copy", text);
        store.saveDocument(path.c_str());
    }
    ProjectStore store;
    ASSERT_TRUE(store.loadDocument(path.c_str()));
    char elementText[256] = "";
    TextBuffer elementBuffer = textBuffer(elementText);
    EXPECT_EQ(store.readUniqueElementText("Value", elementBuffer), 1);
    EXPECT_STREQ(elementText, text);
    char attribute[256] = "";
    TextBuffer attributeBuffer = textBuffer(attribute);
    store.xmlDocument().findElementsByTag("Value");
    EXPECT_EQ(store.xmlDocument().readAttributeValue(store.xmlDocument().listItem(0), "Copy", attributeBuffer), 1);
    EXPECT_STREQ(attribute, text);
}

TEST(XmlFiles, ChangesThatAreNotSavedLeaveTheFileAsItWas)
{
    ScratchFolder folder;
    const std::string path = folder / "kept.xml";
    const std::string original = "<Root><Item Name=\"a\"/></Root>";
    writeFile(path, original);
    {
        ProjectStore store;
        ASSERT_TRUE(store.loadDocument(path.c_str()));
        store.xmlDocument().appendChildElement(store.xmlDocument().rootElement(), "Item", "new");
        store.xmlDocument().setAttributeValue(store.xmlDocument().currentElement(), "Name", "b");
    }
    EXPECT_EQ(readFile(path), original);
}
