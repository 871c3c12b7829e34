// A project server for the tests, living in the test process: a COM class
// registered under the ProgID "OrvisServer.OrvisServer" that the server-mode
// library creates through COM as it would the real one. Tests set its answers,
// make chosen calls fail or answer null, read the journal of the calls it
// received and count the references others hold on its objects.
#pragma once

#include "project_server.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fake {

// Text answered as a BSTR (NULs inside are kept); nullopt answers a null BSTR.
using Text = std::optional<std::wstring>;

// A VARIANT that keeps a copy of its own.
class Value {
public:
    Value();  // VT_EMPTY
    static Value number(long value);         // VT_I4
    static Value text(const std::wstring& value);  // VT_BSTR, NULs inside kept
    static Value nullText();                 // VT_BSTR holding a null BSTR
    static Value null();                     // VT_NULL
    static Value copyOf(const VARIANT& value);
    Value(const Value& other);
    Value& operator=(const Value& other);
    ~Value();

    const VARIANT& get() const { return value_; }
    // "I4:5", "BSTR:text", "BSTR:<null>", "NULL", "EMPTY", or "VT:<number>".
    std::string describe() const;

private:
    VARIANT value_;
};

// A script as the server keeps it.
struct Script {
    std::map<std::wstring, Value> attributes;  // GetAttribute fails for a name not here
    Text scriptPath;
    Text compiledPath;
};

// How the class is made known to COM.
enum class Registration {
    classAndProgId,  // class object registered, ProgID key names it
    progIdOnly,      // ProgID key present, no class answers to it
    none,            // ProgID key absent
};

class FakeServer {
public:
    explicit FakeServer(Registration registration = Registration::classAndProgId);
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;
    ~FakeServer();

    // --- Answers; tests change them freely between calls ---------------
    HRESULT creationResult = S_OK;     // a failure makes the class refuse to create its object
    bool offersProjectServer = true;   // false: the object lacks IProjectServer
    Text projectFile = std::wstring(L"D:\\work\\Alpha.prj");
    Text locationFile = std::wstring(L"D:\\work\\Alpha.loc");
    Text projectPath = std::wstring(L"D:\\work\\Alpha");
    std::map<std::wstring, Text> assetKindPaths;  // Item fails for a kind not here
    Text userName = std::wstring(L"tester");
    std::map<std::wstring, long> permissions;     // HasPermission answer; 0 for a kind not here
    Script newScript;                             // NewScript answers a script with a copy of this
    std::map<std::wstring, Script> scripts;       // saved scripts by name (GetScript, DeleteScript, SaveAs)

    // Makes a call answer `result`: a failure code makes it fail, a success
    // code (S_FALSE, say) is answered in place of S_OK. `call` is written as
    // the journal shows it, without the object's label: "CurrentProject",
    // "GetAttribute(DATPath)", "HasPermission(Log, 1)". `occurrence` picks the
    // n-th such call from now on (1 = the next one); 0 means every one. A
    // failing object posts an error object either way; with `rich` it also
    // declares error information for its interface through ISupportErrorInfo,
    // without it it does not.
    void fail(const std::string& call, HRESULT result, bool rich = false, int occurrence = 0);
    // Makes a call that answers an interface succeed with a null answer.
    void answerNull(const std::string& call, int occurrence = 0);

    // --- What happened -------------------------------------------------
    // Every call received, in order: "<label>.<operation>(<arguments>)" with
    // labels Server, Project<n>, Script<n>, Kinds<n>, Kind<n>, User<n> (n counts
    // objects of that kind as they are made: a login makes a new project),
    // texts as they came ("<null>" for a null BSTR), VARIANTs as Value::describe.
    std::vector<std::string> journal;
    // References held on the fake's objects by anyone but the fake itself.
    long outstandingReferences() const;
    // References held by others on the object with this label (-1: no such object).
    long referencesTo(const std::string& label) const;

    // The fake's own COM objects and class factory, defined in its source.
    class Object;
    class Factory;

private:
    struct Outcome {
        HRESULT result = S_OK;
        bool nullAnswer = false;
        bool rich = false;
    };
    struct Fault {
        std::string call;
        int occurrence;
        int seen;
        HRESULT result;
        bool nullAnswer;
        bool rich;
    };

    // Journals a call and answers how it is to end.
    Outcome receive(const std::string& label, const std::string& call);
    // "Server", or the kind numbered in order of making ("Script3").
    std::string nextLabel(const std::string& kind);

    std::vector<Fault> faults_;
    std::vector<Object*> objects_;  // each with one reference of the fake's own
    std::map<std::string, int> counts_;
    Object* server_ = nullptr;
    IClassFactory* factory_ = nullptr;
    DWORD cookie_ = 0;
};

// The ProgID and class identifier the fake registers.
extern const wchar_t progId[];
extern const CLSID classId;

// Writes HKEY_CLASSES_ROOT\<progId>\CLSID, or removes the ProgID key.
void writeProgIdKey();
void removeProgIdKey();

// "text" of a wide string for journals and messages (UTF-8).
std::string narrow(const wchar_t* text, size_t length);

}  // namespace fake
