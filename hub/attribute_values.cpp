#include "attribute_values.h"

#include "server_calls.h"

#include <cwchar>

namespace tallow {
namespace {

// The Automation conversion with flags 0 (it only reads `value`, though its
// declaration lacks the const).
void changeType(Variant& converted, const VARIANT& value, VARTYPE type)
{
    check(VariantChangeType(converted.put(), const_cast<VARIANT*>(&value), 0, type));
}

}  // namespace

Bstr attributeText(const VARIANT& value)
{
    if (V_VT(&value) == VT_BSTR) {
        const BSTR text = V_BSTR(&value);
        if (!text) return Bstr();
        const UINT length = static_cast<UINT>(wcsnlen(text, SysStringLen(text)));
        Bstr copy = Bstr::attach(SysAllocStringLen(text, length));
        if (!copy.get()) throw ComError(E_OUTOFMEMORY);
        return copy;
    }
    Variant converted;
    changeType(converted, value, VT_BSTR);
    return Bstr::attach(std::exchange(V_BSTR(&converted.get()), nullptr));
}

long attributeNumber(const VARIANT& value)
{
    if (V_VT(&value) == VT_I4) return V_I4(&value);
    Variant converted;
    changeType(converted, value, VT_I4);
    return V_I4(&converted.get());
}

Bstr attributeText(const ComPtr<IServerScript>& script, const wchar_t* name)
{
    Variant value;
    server::getAttribute(script, name, value);
    return attributeText(value.get());
}

long attributeNumber(const ComPtr<IServerScript>& script, const wchar_t* name)
{
    Variant value;
    server::getAttribute(script, name, value);
    return attributeNumber(value.get());
}

}  // namespace tallow
