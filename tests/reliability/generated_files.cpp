#include "generated_files.h"

#include <algorithm>

namespace reliability {
namespace {

const char* const readTags[] = {"Name", "Comment", "Location", "TestAssetPath"};

// Elements a reader must not take for the ones it looks for.
const std::vector<std::string> lookalikeTags{"name", "NAME", "TestAssetPaths", "Test", "Names", "Other"};

std::string word(Random& random)
{
    std::string text;
    const size_t length = random.between(1, 8);
    for (size_t i = 0; i < length; ++i) text += static_cast<char>('a' + random.below(26));
    return text;
}

std::string indentation(Random& random)
{
    const std::vector<std::string> spaces{"", "", "", "\n", "\r\n  ", "\t", " "};
    return random.pick(spaces);
}

// Element `tag` holding `text` in one of the spellings a file may use.
std::string element(Random& random, const std::string& tag, const XmlText& text)
{
    if (text.text.empty()) {
        const std::vector<std::string> empties{"<" + tag + "/>", "<" + tag + "></" + tag + ">",
                                               "<" + tag + " />"};
        return random.pick(empties);
    }
    if (random.percent(10) && text.markup.find("]]>") == std::string::npos)
        return "<" + tag + "><![CDATA[" + utf8Of(text.text) + "]]></" + tag + ">";
    return "<" + tag + ">" + text.markup + "</" + tag + ">";
}

// Wraps `inner` in up to three elements of other names.
std::string nested(Random& random, std::string inner)
{
    const size_t depth = random.percent(70) ? 0 : random.between(1, 3);
    for (size_t i = 0; i < depth; ++i) {
        const std::string tag = "Group" + std::to_string(i);
        inner = "<" + tag + ">" + inner + "</" + tag + ">";
    }
    return inner;
}

std::string filler(Random& random)
{
    switch (random.below(4)) {
    case 0: return "<!-- " + word(random) + " -->";
    case 1: return "<?note " + word(random) + "?>";
    case 2: {
        const std::string& tag = random.pick(lookalikeTags);
        return "<" + tag + ">" + randomText(random, false).markup + "</" + tag + ">";
    }
    default: return "<Other a=\"" + randomText(random, false).markup + "\"/>";
    }
}

std::string postlude(Random& random)
{
    const std::vector<std::string> endings{"", "", "\n", "\r\n", "\n\n  \n", "<!-- end -->", "<?done?>\n"};
    return random.pick(endings);
}

}  // namespace

const std::vector<Prelude>& preludes()
{
    static const std::vector<Prelude> all{
        {"nothing", "", true},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF", true},
        {"white space", "\r\n \t\n", true},
        {"byte-order mark and white space", "\xEF\xBB\xBF\n", true},
        {"declaration", "<?xml version=\"1.0\"?>", false},
        {"declaration with encoding", "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n", false},
        {"byte-order mark and declaration", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>", false},
        {"comment", "<!-- edited by hand -->", false},
        {"processing instruction", "<?xml-stylesheet href=\"a.xsl\"?>", false},
        {"document type", "<!DOCTYPE Project>", false},
        {"document type with entities", "<!DOCTYPE Project [<!ENTITY co \"Halvern\">]>", false},
    };
    return all;
}

ProjectFileContent generateProjectFile(Random& random, bool huge)
{
    struct Item {
        std::string markup;
        const char* tag;  // null for other content
        std::wstring text;
    };
    std::vector<Item> items;
    for (const char* tag : readTags) {
        const size_t roll = random.below(100);
        const size_t copies = roll < 75 ? 1 : roll < 85 ? 0 : roll < 95 ? 2 : 3;
        for (size_t i = 0; i < copies; ++i) {
            const XmlText text = randomText(random, huge && random.percent(25));
            items.push_back({nested(random, element(random, tag, text)), tag, text.text});
        }
    }
    const size_t fillers = random.below(4);
    for (size_t i = 0; i < fillers; ++i) items.push_back({filler(random), nullptr, L""});
    std::shuffle(items.begin(), items.end(), random.engine());

    ProjectFileContent file;
    const Prelude& prelude = random.percent(70) ? preludes()[0] : random.pick(preludes());
    file.loads = prelude.rootIsFirstNode;
    const std::vector<std::string> roots{"Project", "Project", "Projekt", "Root"};
    const std::string root = random.pick(roots);
    std::string body;
    for (const Item& item : items) {
        body += indentation(random) + item.markup;
        if (item.tag) file.texts[item.tag].push_back(item.text);
    }
    std::string rootAttributes;
    if (random.percent(20)) rootAttributes = " Name=\"" + randomText(random, false).markup + "\"";
    file.bytes = prelude.bytes + "<" + root + rootAttributes + ">" + body + indentation(random) + "</" + root + ">" +
                 postlude(random);
    return file;
}

std::string singleElementText(const ProjectFileContent& file, const char* tag)
{
    const auto found = file.texts.find(tag);
    if (found == file.texts.end() || found->second.size() != 1) return std::string();
    return ansiOf(found->second.front());
}

ExpectedProject expectedProject(const ProjectFileContent& file)
{
    ExpectedProject expected{105, "", "", "", ""};
    if (!file.loads) return expected;
    const auto cutTo = [](const std::string& text, size_t limit) { return text.substr(0, limit); };
    expected.name = cutTo(singleElementText(file, "Name"), 255);
    expected.comment = cutTo(singleElementText(file, "Comment"), 259);
    expected.location = cutTo(singleElementText(file, "Location"), 259);
    const auto roots = file.texts.find("TestAssetPath");
    const std::string root = singleElementText(file, "TestAssetPath");
    // An asset root too long for its buffer is refused, not cut.
    const bool oneRoot = roots != file.texts.end() && roots->second.size() == 1 && root.size() <= 259;
    expected.result = oneRoot ? 1 : 118;
    if (oneRoot) expected.assetRoot = root;
    return expected;
}

const TableKind registryTable{"RegisteredProjects", "Project", {"Name", "Comment", "Location"}};
const TableKind assetManagerTable{"AssetManager", "Mode", {"Library", "DisplayName"}};

std::wstring likelyValue(Random& random)
{
    const std::vector<std::wstring> values{L"Demo", L"demo", L"Demo ", L"D\u00E9mo", L"", L"Standalone",
                                           L"tallowsolo.dll", L"tallowhub.dll", L"Server", L"x&y<z>"};
    return random.pick(values);
}

std::string generateTable(Random& random, const TableKind& kind, bool huge)
{
    const size_t roll = random.below(100);
    const size_t entries = roll < 10 ? 0 : roll < 90 ? random.between(1, 8) : roll < 97 ? random.between(100, 110)
                                                                                      : random.between(1000, 3000);
    std::string body;
    for (size_t i = 0; i < entries; ++i) {
        std::vector<const char*> attributes;
        for (const char* attribute : kind.attributes)
            if (random.percent(88)) attributes.push_back(attribute);
        if (random.percent(15)) std::shuffle(attributes.begin(), attributes.end(), random.engine());
        std::string entry = std::string("<") + kind.entry;
        for (const char* attribute : attributes) {
            XmlText value;
            if (random.percent(50)) {
                value.append(likelyValue(random));
            } else {
                value = randomText(random, huge && entries < 10 && random.percent(10));
            }
            entry += std::string(" ") + attribute + "=\"" + value.markup + "\"";
        }
        if (random.percent(5)) entry += " Extra=\"1\"";
        entry += random.percent(90) ? "/>" : "></" + std::string(kind.entry) + ">";
        body += indentation(random) + (entries < 10 ? nested(random, entry) : entry);
        if (entries < 10 && random.percent(10)) body += filler(random);
    }
    const Prelude& prelude = random.percent(80) ? preludes()[0] : random.pick(preludes());
    const std::vector<std::string> roots{kind.root, kind.root, kind.root, "Root", kind.entry};
    const std::string root = random.pick(roots);
    return prelude.bytes + "<" + root + ">" + body + indentation(random) + "</" + root + ">" + postlude(random);
}

std::string damaged(std::string bytes, Random& random, std::string& how)
{
    const std::vector<std::string> markup{"<", ">", "</", "&", "&#0;", "&#xD800;", "&undefined;", "]]>", "<!--",
                                          "\"", "<?xml version=\"1.0\"?>", "\xEF\xBB\xBF", "<Name>", "</Project>",
                                          "<TestAssetPath>C:\\T</TestAssetPath>", "<![CDATA[", std::string(1, '\0'),
                                          "\xC3", "\xFF\xFE", "\x80\x80"};
    const size_t steps = random.between(1, 3);
    for (size_t step = 0; step < steps; ++step) {
        const size_t at = bytes.empty() ? 0 : random.below(bytes.size() + 1);
        const size_t span = std::min(bytes.size() - at, random.between(1, 16));
        switch (random.below(7)) {
        case 0:
            bytes.resize(at);
            how += "cut at " + std::to_string(at) + "; ";
            break;
        case 1:
            if (at < bytes.size()) bytes[at] = static_cast<char>(bytes[at] ^ (1u << random.below(8)));
            how += "bit flipped at " + std::to_string(at) + "; ";
            break;
        case 2: {
            std::string noise(random.between(1, 8), '\0');
            for (char& c : noise) c = static_cast<char>(random.below(256));
            bytes.insert(at, noise);
            how += "random bytes inserted at " + std::to_string(at) + "; ";
            break;
        }
        case 3:
            bytes.erase(at, span);
            how += std::to_string(span) + " bytes removed at " + std::to_string(at) + "; ";
            break;
        case 4:
            bytes.insert(at, bytes.substr(at, span));
            how += std::to_string(span) + " bytes repeated at " + std::to_string(at) + "; ";
            break;
        case 5: {
            const size_t other = bytes.empty() ? 0 : random.below(bytes.size());
            const std::string piece = bytes.substr(at, span);
            bytes.erase(at, span);
            bytes.insert(std::min(other, bytes.size()), piece);
            how += "bytes moved from " + std::to_string(at) + "; ";
            break;
        }
        default: {
            const std::string& piece = random.pick(markup);
            bytes.insert(at, piece);
            how += "markup inserted at " + std::to_string(at) + "; ";
        }
        }
    }
    return bytes;
}

}  // namespace reliability
