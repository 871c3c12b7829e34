#include "fake_server.h"

#include <stdexcept>
#include <utility>

namespace fake {

const wchar_t progId[] = L"OrvisServer.OrvisServer";
// {5E0F3C21-7A44-4B8D-9C1E-2F6A8B3D4E71}
const CLSID classId = {0x5e0f3c21, 0x7a44, 0x4b8d, {0x9c, 0x1e, 0x2f, 0x6a, 0x8b, 0x3d, 0x4e, 0x71}};

std::string narrow(const wchar_t* text, size_t length)
{
    std::string result;
    for (size_t start = 0; start < length;) {
        size_t end = start;
        while (end < length && text[end] != L'\0') ++end;
        if (end > start) {
            const int count = static_cast<int>(end - start);
            const int bytes = WideCharToMultiByte(CP_UTF8, 0, text + start, count, nullptr, 0, nullptr, nullptr);
            std::string piece(static_cast<size_t>(bytes), '\0');
            WideCharToMultiByte(CP_UTF8, 0, text + start, count, &piece[0], bytes, nullptr, nullptr);
            result += piece;
        }
        if (end < length) result += "\\0";
        start = end + 1;
    }
    return result;
}

namespace {

std::string textArgument(BSTR text)
{
    return text ? narrow(text, SysStringLen(text)) : "<null>";
}

BSTR bstrOf(const std::wstring& text)
{
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// VariantCopy, except that a VT_BSTR holding a null BSTR stays null (the
// Automation copy makes an empty text of it).
HRESULT copyVariant(VARIANT* target, const VARIANT& source)
{
    if (V_VT(&source) == VT_BSTR && !V_BSTR(&source)) {
        VariantClear(target);
        V_VT(target) = VT_BSTR;
        V_BSTR(target) = nullptr;
        return S_OK;
    }
    return VariantCopy(target, const_cast<VARIANT*>(&source));
}

}  // namespace

// --- Value -----------------------------------------------------------------

Value::Value()
{
    VariantInit(&value_);
}

Value Value::number(long value)
{
    Value v;
    V_VT(&v.value_) = VT_I4;
    V_I4(&v.value_) = value;
    return v;
}

Value Value::text(const std::wstring& value)
{
    Value v;
    V_VT(&v.value_) = VT_BSTR;
    V_BSTR(&v.value_) = bstrOf(value);
    return v;
}

Value Value::nullText()
{
    Value v;
    V_VT(&v.value_) = VT_BSTR;
    V_BSTR(&v.value_) = nullptr;
    return v;
}

Value Value::null()
{
    Value v;
    V_VT(&v.value_) = VT_NULL;
    return v;
}

Value Value::copyOf(const VARIANT& value)
{
    Value v;
    copyVariant(&v.value_, value);
    return v;
}

Value::Value(const Value& other) : Value()
{
    copyVariant(&value_, other.value_);
}

Value& Value::operator=(const Value& other)
{
    if (this != &other) copyVariant(&value_, other.value_);
    return *this;
}

Value::~Value()
{
    VariantClear(&value_);
}

std::string Value::describe() const
{
    switch (V_VT(&value_)) {
    case VT_I4: return "I4:" + std::to_string(V_I4(&value_));
    case VT_BSTR: return "BSTR:" + textArgument(V_BSTR(&value_));
    case VT_NULL: return "NULL";
    case VT_EMPTY: return "EMPTY";
    default: return "VT:" + std::to_string(V_VT(&value_));
    }
}

// --- Registry --------------------------------------------------------------

void writeProgIdKey()
{
    HKEY key = nullptr;
    const std::wstring path = std::wstring(progId) + L"\\CLSID";
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot write the ProgID key");
    wchar_t text[64];
    StringFromGUID2(classId, text, 64);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void removeProgIdKey()
{
    const std::wstring path = std::wstring(progId) + L"\\CLSID";
    RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
    RegDeleteKeyW(HKEY_CLASSES_ROOT, progId);
}

// --- The fake's objects ----------------------------------------------------

// Bookkeeping shared by every object: its label, its references (one of them
// the fake's own) and the journal entry and fault of each call it receives.
class FakeServer::Object {
public:
    using Outcome = FakeServer::Outcome;

    Object(FakeServer& server, const std::string& kind, const IID& iid)
        : server_(server), iid_(iid), label_(server.nextLabel(kind))
    {
        server.objects_.push_back(this);
    }
    virtual ~Object() = default;

    ULONG addRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG release()
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    long references() const { return refs_; }
    const std::string& label() const { return label_; }

protected:
    // Journals the call and, when a fault is set for it, posts an error object.
    Outcome receive(const std::string& call)
    {
        const Outcome outcome = server_.receive(label_, call);
        if (FAILED(outcome.result)) {
            rich_ = outcome.rich;
            postErrorObject(call);
        }
        return outcome;
    }

    // Answers a text, or ends as the call's fault says.
    HRESULT answerText(const std::string& call, BSTR* answer, const Text& text)
    {
        if (!answer) return E_POINTER;
        *answer = nullptr;
        const Outcome outcome = receive(call);
        if (FAILED(outcome.result) || outcome.nullAnswer) return outcome.result;
        if (text) *answer = bstrOf(*text);
        return outcome.result;
    }

    // Answers the object that `make` makes (or the HRESULT it fails with),
    // or ends as the call's fault says. The caller gets a reference of its own.
    template <class I, class Make>
    HRESULT answerObject(const std::string& call, I** answer, Make make)
    {
        if (!answer) return E_POINTER;
        *answer = nullptr;
        const Outcome outcome = receive(call);
        if (FAILED(outcome.result) || outcome.nullAnswer) return outcome.result;
        I* made = nullptr;
        const HRESULT result = make(made);
        if (FAILED(result)) return result;
        made->AddRef();
        *answer = made;
        return outcome.result;
    }

    FakeServer& server_;
    const IID& iid_;
    bool rich_ = false;

private:
    void postErrorObject(const std::string& call)
    {
        ICreateErrorInfo* create = nullptr;
        if (FAILED(CreateErrorInfo(&create))) return;
        create->SetGUID(iid_);
        const std::wstring text(call.begin(), call.end());
        create->SetDescription(const_cast<LPOLESTR>((L"refused: " + text).c_str()));
        IErrorInfo* info = nullptr;
        if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
            SetErrorInfo(0, info);
            info->Release();
        }
        create->Release();
    }

    LONG refs_ = 1;
    std::string label_;
};

namespace {

// IUnknown, IDispatch (not implemented) and ISupportErrorInfo of an object
// with the project-server interface I.
template <class I>
class Com : public I, public ISupportErrorInfo, public FakeServer::Object {
public:
    Com(FakeServer& server, const std::string& kind, const IID& iid) : Object(server, kind, iid) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** answer) override
    {
        if (!answer) return E_POINTER;
        *answer = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || (iid == iid_ && offersInterface()))
            *answer = static_cast<I*>(this);
        else if (iid == IID_ISupportErrorInfo)
            *answer = static_cast<ISupportErrorInfo*>(this);
        else
            return E_NOINTERFACE;
        addRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return addRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return release(); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override
    {
        return iid == iid_ && rich_ ? S_OK : S_FALSE;
    }

protected:
    virtual bool offersInterface() { return true; }
};

class KindObject : public Com<tallow::IAssetKind> {
public:
    KindObject(FakeServer& server, Text path) : Com(server, "Kind", tallow::IID_IAssetKind), path_(std::move(path)) {}

    HRESULT STDMETHODCALLTYPE Path(BSTR* path) override { return answerText("Path", path, path_); }

private:
    Text path_;
};

class KindsObject : public Com<tallow::IAssetKindList> {
public:
    explicit KindsObject(FakeServer& server) : Com(server, "Kinds", tallow::IID_IAssetKindList) {}

    HRESULT STDMETHODCALLTYPE Item(BSTR kind, tallow::IAssetKind** answer) override
    {
        return answerObject("Item(" + textArgument(kind) + ")", answer, [&](tallow::IAssetKind*& made) {
            const auto found = server_.assetKindPaths.find(kind ? kind : L"");
            if (found == server_.assetKindPaths.end()) return E_INVALIDARG;
            made = new KindObject(server_, found->second);
            return S_OK;
        });
    }
};

class ScriptObject : public Com<tallow::IServerScript> {
public:
    ScriptObject(FakeServer& server, Script script)
        : Com(server, "Script", tallow::IID_IServerScript), script_(std::move(script))
    {
    }

    HRESULT STDMETHODCALLTYPE SaveAs(BSTR name) override
    {
        const Outcome outcome = receive("SaveAs(" + textArgument(name) + ")");
        if (FAILED(outcome.result)) return outcome.result;
        server_.scripts[name ? name : L""] = script_;
        return outcome.result;
    }

    HRESULT STDMETHODCALLTYPE GetAttribute(BSTR name, VARIANT* value) override
    {
        if (!value) return E_POINTER;
        VariantInit(value);
        const Outcome outcome = receive("GetAttribute(" + textArgument(name) + ")");
        if (FAILED(outcome.result)) return outcome.result;
        const auto found = script_.attributes.find(name ? name : L"");
        if (found == script_.attributes.end()) return E_INVALIDARG;
        const HRESULT copied = copyVariant(value, found->second.get());
        return FAILED(copied) ? copied : outcome.result;
    }

    HRESULT STDMETHODCALLTYPE SetAttribute(BSTR name, VARIANT value) override
    {
        const Value copy = Value::copyOf(value);
        const Outcome outcome = receive("SetAttribute(" + textArgument(name) + ", " + copy.describe() + ")");
        if (FAILED(outcome.result)) return outcome.result;
        script_.attributes[name ? name : L""] = copy;
        return outcome.result;
    }

    HRESULT STDMETHODCALLTYPE ScriptPath(BSTR* path) override
    {
        return answerText("ScriptPath", path, script_.scriptPath);
    }

    HRESULT STDMETHODCALLTYPE CompiledPath(BSTR* path) override
    {
        return answerText("CompiledPath", path, script_.compiledPath);
    }

private:
    Script script_;
};

class UserObject : public Com<tallow::IServerUser> {
public:
    explicit UserObject(FakeServer& server) : Com(server, "User", tallow::IID_IServerUser) {}

    HRESULT STDMETHODCALLTYPE UserName(BSTR* name) override { return answerText("UserName", name, server_.userName); }

    HRESULT STDMETHODCALLTYPE HasPermission(BSTR kind, long code, long* granted) override
    {
        if (!granted) return E_POINTER;
        *granted = 0;
        const Outcome outcome =
            receive("HasPermission(" + textArgument(kind) + ", " + std::to_string(code) + ")");
        if (FAILED(outcome.result)) return outcome.result;
        const auto found = server_.permissions.find(kind ? kind : L"");
        if (found != server_.permissions.end()) *granted = found->second;
        return outcome.result;
    }
};

class ProjectObject : public Com<tallow::IServerProject> {
public:
    explicit ProjectObject(FakeServer& server) : Com(server, "Project", tallow::IID_IServerProject) {}

    HRESULT STDMETHODCALLTYPE AssetKinds(tallow::IAssetKindList** kinds) override
    {
        return answerObject("AssetKinds", kinds, [&](tallow::IAssetKindList*& made) {
            made = new KindsObject(server_);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE NewScript(tallow::IServerScript** script) override
    {
        return answerObject("NewScript", script, [&](tallow::IServerScript*& made) {
            made = new ScriptObject(server_, server_.newScript);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE GetScript(BSTR name, tallow::IServerScript** script) override
    {
        return answerObject("GetScript(" + textArgument(name) + ")", script, [&](tallow::IServerScript*& made) {
            const auto found = server_.scripts.find(name ? name : L"");
            if (found == server_.scripts.end()) return E_INVALIDARG;
            made = new ScriptObject(server_, found->second);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE DeleteScript(BSTR name) override
    {
        const Outcome outcome = receive("DeleteScript(" + textArgument(name) + ")");
        if (FAILED(outcome.result)) return outcome.result;
        return server_.scripts.erase(name ? name : L"") ? outcome.result : E_INVALIDARG;
    }

    HRESULT STDMETHODCALLTYPE CurrentUser(tallow::IServerUser** user) override
    {
        return answerObject("CurrentUser", user, [&](tallow::IServerUser*& made) {
            made = new UserObject(server_);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE LocationFile(BSTR* path) override
    {
        return answerText("LocationFile", path, server_.locationFile);
    }
    HRESULT STDMETHODCALLTYPE ProjectFile(BSTR* path) override
    {
        return answerText("ProjectFile", path, server_.projectFile);
    }
    HRESULT STDMETHODCALLTYPE ProjectPath(BSTR* path) override
    {
        return answerText("ProjectPath", path, server_.projectPath);
    }
};

// The server object; a login that succeeds makes a new current project.
class ServerObject : public Com<tallow::IProjectServer> {
public:
    explicit ServerObject(FakeServer& server) : Com(server, "Server", tallow::IID_IProjectServer) {}

    HRESULT STDMETHODCALLTYPE Login(long mode, BSTR projectFile, BSTR loginText1, BSTR loginText2,
                                    long option) override
    {
        const Outcome outcome = receive("Login(" + std::to_string(mode) + ", " + textArgument(projectFile) + ", " +
                                        textArgument(loginText1) + ", " + textArgument(loginText2) + ", " +
                                        std::to_string(option) + ")");
        if (FAILED(outcome.result)) return outcome.result;
        project_ = new ProjectObject(server_);
        return outcome.result;
    }

    HRESULT STDMETHODCALLTYPE CurrentProject(tallow::IServerProject** project) override
    {
        return answerObject("CurrentProject", project, [&](tallow::IServerProject*& made) {
            made = project_;
            return made ? S_OK : E_UNEXPECTED;
        });
    }

protected:
    bool offersInterface() override { return server_.offersProjectServer; }

private:
    ProjectObject* project_ = nullptr;  // kept alive by the fake's own reference
};

}  // namespace

// The class object COM hands CoCreateInstance: it answers the one server object.
class FakeServer::Factory final : public IClassFactory {
public:
    explicit Factory(FakeServer& server) : server_(server) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** answer) override
    {
        if (!answer) return E_POINTER;
        *answer = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *answer = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** answer) override
    {
        if (!answer) return E_POINTER;
        *answer = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (FAILED(server_.creationResult)) return server_.creationResult;
        return static_cast<ServerObject*>(server_.server_)->QueryInterface(iid, answer);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    FakeServer& server_;
    LONG refs_ = 1;
};

// --- FakeServer ------------------------------------------------------------

FakeServer::FakeServer(Registration registration)
    : assetKindPaths{{L"Script", L"D:\\work\\Alpha\\Scripts"}, {L"Datapool", L"D:\\work\\Alpha\\DataPools"}},
      permissions{{L"Script", 1}, {L"Log", 1}}
{
    newScript.attributes = {
        {L"VexBasicPath", Value::text(L"D:\\work\\Alpha\\Scripts\\VexBas32")},
        {L"DATPath", Value::text(L"D:\\work\\Alpha\\Scripts\\dat")},
        {L"Win32Path", Value::text(L"D:\\work\\Alpha\\Scripts\\Win32")},
        {L"VPPath", Value::text(L"D:\\work\\Alpha\\Scripts\\vp")},
        {L"LLSPath", Value::text(L"D:\\work\\Alpha\\Scripts\\lls")},
        {L"DLLPath", Value::text(L"D:\\work\\Alpha\\Scripts\\dll")},
    };
    server_ = new ServerObject(*this);

    if (registration == Registration::none) {
        removeProgIdKey();
        return;
    }
    writeProgIdKey();
    if (registration == Registration::classAndProgId) {
        factory_ = new Factory(*this);
        if (FAILED(CoRegisterClassObject(classId, factory_, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                         REGCLS_MULTIPLEUSE, &cookie_)))
            throw std::runtime_error("cannot register the fake project server");
    }
}

FakeServer::~FakeServer()
{
    if (cookie_) CoRevokeClassObject(cookie_);
    if (factory_) factory_->Release();
    removeProgIdKey();
    // Objects the library still holds (the server, its current project) live on.
    for (Object* object : objects_) object->release();
}

void FakeServer::fail(const std::string& call, HRESULT result, bool rich, int occurrence)
{
    faults_.push_back(Fault{call, occurrence, 0, result, false, rich});
}

void FakeServer::answerNull(const std::string& call, int occurrence)
{
    faults_.push_back(Fault{call, occurrence, 0, S_OK, true, false});
}

long FakeServer::outstandingReferences() const
{
    long total = 0;
    for (const Object* object : objects_) total += object->references() - 1;
    return total;
}

long FakeServer::referencesTo(const std::string& label) const
{
    for (const Object* object : objects_)
        if (object->label() == label) return object->references() - 1;
    return -1;
}

std::string FakeServer::nextLabel(const std::string& kind)
{
    const int number = ++counts_[kind];
    return kind == "Server" ? kind : kind + std::to_string(number);
}

FakeServer::Outcome FakeServer::receive(const std::string& label, const std::string& call)
{
    journal.push_back(label + "." + call);
    Outcome outcome;
    bool decided = false;
    for (Fault& fault : faults_) {
        if (fault.call != call) continue;
        ++fault.seen;
        if (decided || (fault.occurrence != 0 && fault.seen != fault.occurrence)) continue;
        outcome = Outcome{fault.result, fault.nullAnswer, fault.rich};
        decided = true;
    }
    return outcome;
}

}  // namespace fake
