// Interfaces of the project server ("OrvisServer.OrvisServer"), declared with
// exactly the operations the library calls, in their declared order, right
// after IDispatch's methods. A server built from the same declarations is
// binary-compatible with the library. Every operation returns an HRESULT; the
// last pointer argument, where there is one, receives the answer.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace tallow {

struct IServerProject;
struct IAssetKindList;
struct IAssetKind;
struct IServerScript;
struct IServerUser;

// {C55F55A3-9D21-42EE-8FDA-C52024542106}
inline constexpr IID IID_IProjectServer =
    {0xc55f55a3, 0x9d21, 0x42ee, {0x8f, 0xda, 0xc5, 0x20, 0x24, 0x54, 0x21, 0x06}};
// {B1C381CD-8BF5-4D6B-9894-2D134EB9ED09}
inline constexpr IID IID_IServerProject =
    {0xb1c381cd, 0x8bf5, 0x4d6b, {0x98, 0x94, 0x2d, 0x13, 0x4e, 0xb9, 0xed, 0x09}};
// {BF2506B5-ABAE-466D-A053-2C2B450BBA7A}
inline constexpr IID IID_IAssetKindList =
    {0xbf2506b5, 0xabae, 0x466d, {0xa0, 0x53, 0x2c, 0x2b, 0x45, 0x0b, 0xba, 0x7a}};
// {BE885FA9-F32C-4716-A18B-F86FB5DCB60D}
inline constexpr IID IID_IAssetKind =
    {0xbe885fa9, 0xf32c, 0x4716, {0xa1, 0x8b, 0xf8, 0x6f, 0xb5, 0xdc, 0xb6, 0x0d}};
// {671BA279-5C5E-4BCC-91B0-2858611D8EAF}
inline constexpr IID IID_IServerScript =
    {0x671ba279, 0x5c5e, 0x4bcc, {0x91, 0xb0, 0x28, 0x58, 0x61, 0x1d, 0x8e, 0xaf}};
// {6BEAFFE3-DA21-41D9-965C-6506976AC5EB}
inline constexpr IID IID_IServerUser =
    {0x6beaffe3, 0xda21, 0x41d9, {0x96, 0x5c, 0x65, 0x06, 0x97, 0x6a, 0xc5, 0xeb}};

struct IProjectServer : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Login(long mode, BSTR projectFile, BSTR loginText1, BSTR loginText2,
                                            long option) = 0;
    virtual HRESULT STDMETHODCALLTYPE CurrentProject(IServerProject** project) = 0;
};

struct IServerProject : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE AssetKinds(IAssetKindList** kinds) = 0;
    virtual HRESULT STDMETHODCALLTYPE NewScript(IServerScript** script) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScript(BSTR name, IServerScript** script) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteScript(BSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE CurrentUser(IServerUser** user) = 0;
    virtual HRESULT STDMETHODCALLTYPE LocationFile(BSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE ProjectFile(BSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE ProjectPath(BSTR* path) = 0;
};

struct IAssetKindList : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Item(BSTR kind, IAssetKind** assetKind) = 0;
};

struct IAssetKind : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE Path(BSTR* path) = 0;
};

struct IServerScript : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SaveAs(BSTR name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttribute(BSTR name, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAttribute(BSTR name, VARIANT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE ScriptPath(BSTR* path) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompiledPath(BSTR* path) = 0;
};

struct IServerUser : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE UserName(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE HasPermission(BSTR kind, long code, long* granted) = 0;
};

}  // namespace tallow
